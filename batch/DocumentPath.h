#pragma once
#include <string>
#include <utility>

// A document's folder part (up to and including the last "/") and its file-name
// part. "/" never occurs inside a UTF-8 multi-byte character, so the split always
// falls on a real separator.
inline std::pair<std::string, std::string> SplitDocumentPath(const std::string& path)
{
    const size_t separator = path.find_last_of('/');
    if (separator == std::string::npos)
        return {std::string(), path};
    return {path.substr(0, separator + 1), path.substr(separator + 1)};
}
