#pragma once
#include <cstdint>
#include <string>

// The directory listing the folder walk speaks to, in the shape of
// FindFirstFile/FindNextFile/FindClose, over opendir/readdir/lstat.
namespace findfile {

constexpr uint32_t FILE_ATTRIBUTE_READONLY = 0x01;
constexpr uint32_t FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr uint32_t FILE_ATTRIBUTE_DEVICE = 0x40;
constexpr uint32_t FILE_ATTRIBUTE_REPARSE_POINT = 0x400;

struct FindData {
    std::string cFileName;       // the entry's name, bytes as the file system gives them
    uint32_t dwFileAttributes = 0;
    // Identity of what the entry leads to (device, inode), so that a walk can
    // tell a folder it has already visited through another link.
    uint64_t volumeSerialNumber = 0;
    uint64_t fileIndex = 0;
};

struct FindState;
using FindHandle = FindState*;
constexpr FindHandle INVALID_HANDLE_VALUE = nullptr;

// pattern: a folder followed by "/*.*" (or "/*"); lists every entry of the folder,
// "." and ".." included. Returns INVALID_HANDLE_VALUE when there is no first entry.
FindHandle FindFirstFile(const std::string& pattern, FindData& data);
bool FindNextFile(FindHandle handle, FindData& data);
void FindClose(FindHandle handle);

// The attribute word for the entry at path (synthesised from lstat/stat).
uint32_t AttributesOf(const std::string& path, const std::string& name);

} // namespace findfile
