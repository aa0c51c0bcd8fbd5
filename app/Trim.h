#pragma once
#include <string>
#include <string_view>

// The program's trimming: bytes 0 to 32 (blank and control characters) removed
// from both ends, inner ones kept. Works on UTF-8 bytes, which never cuts a
// character since every byte of a multi-byte sequence is above 127.
inline std::string Trim(std::string_view text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    return std::string(text.substr(begin, end - begin));
}
