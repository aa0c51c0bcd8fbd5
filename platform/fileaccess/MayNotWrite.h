#pragma once
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Whether the user may not write the file or folder at path (st is its stat).
// No write bit at all counts as read-only even for root, who may write anything:
// the user marked it so, as Windows' read-only attribute does.
inline bool MayNotWrite(const std::string& path, const struct stat& st)
{
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return access(path.c_str(), W_OK) != 0;
}
