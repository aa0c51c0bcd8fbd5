#pragma once
#include <cstdint>

// The private profile service, in the shape of the Windows calls of the same
// names: every call reads or rewrites the file itself, nothing is cached.
namespace profile {

// Copies the value of key in section, else def (trailing blanks dropped), into
// buffer as a NUL-terminated string of at most size - 1 bytes, never cutting a
// UTF-8 character in half. Returns the number of bytes placed before the NUL.
// Listing names (a null section or key) is not offered: def comes back.
uint32_t GetPrivateProfileStringA(const char* appName, const char* keyName, const char* def,
                                  char* returnedString, uint32_t size, const char* fileName);

// Sets key in section to value, creating file, section and key as needed.
// All three null is the flush request, which succeeds since nothing is cached.
// Returns 0 when the write is refused or fails, the file then unchanged.
// Deleting keys or sections (a null key or value) is not offered and is refused.
int WritePrivateProfileStringA(const char* appName, const char* keyName, const char* value,
                               const char* fileName);

} // namespace profile
