#include "findfile/FindFile.h"

#include "fileaccess/MayNotWrite.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace findfile {

struct FindState {
    DIR* dir = nullptr;
    std::string folder; // with trailing "/"
};

namespace {

uint32_t attributesFromStat(const std::string& path, const std::string& name, const struct stat& st)
{
    const uint32_t hidden = (!name.empty() && name[0] == '.') ? FILE_ATTRIBUTE_HIDDEN : 0;
    if (S_ISDIR(st.st_mode))
        return FILE_ATTRIBUTE_DIRECTORY | hidden;
    if (S_ISREG(st.st_mode))
        return FILE_ATTRIBUTE_ARCHIVE | hidden | (MayNotWrite(path, st) ? FILE_ATTRIBUTE_READONLY : 0);
    return FILE_ATTRIBUTE_DEVICE;
}

bool fill(FindState* state, FindData& data)
{
    while (dirent* entry = readdir(state->dir)) {
        data = {};
        data.cFileName = entry->d_name;
        const std::string path = state->folder + data.cFileName;
        data.dwFileAttributes = AttributesOf(path, data.cFileName);
        struct stat st {};
        if (stat(path.c_str(), &st) == 0) {
            data.volumeSerialNumber = st.st_dev;
            data.fileIndex = st.st_ino;
        }
        return true;
    }
    return false;
}

} // namespace

uint32_t AttributesOf(const std::string& path, const std::string& name)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0)
        return FILE_ATTRIBUTE_DEVICE;
    if (!S_ISLNK(st.st_mode))
        return attributesFromStat(path, name, st);
    struct stat target {};
    if (stat(path.c_str(), &target) != 0)
        return FILE_ATTRIBUTE_REPARSE_POINT;
    return attributesFromStat(path, name, target) | FILE_ATTRIBUTE_REPARSE_POINT;
}

FindHandle FindFirstFile(const std::string& pattern, FindData& data)
{
    std::string folder = pattern;
    for (const char* wildcard : {"*.*", "*"}) {
        const std::string w(wildcard);
        if (folder.size() >= w.size() && folder.compare(folder.size() - w.size(), w.size(), w) == 0) {
            folder.resize(folder.size() - w.size());
            break;
        }
    }
    if (folder.empty() || folder.back() != '/')
        return INVALID_HANDLE_VALUE;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return INVALID_HANDLE_VALUE;
    auto* state = new FindState{dir, folder};
    if (!fill(state, data)) {
        FindClose(state);
        return INVALID_HANDLE_VALUE;
    }
    return state;
}

bool FindNextFile(FindHandle handle, FindData& data)
{
    return handle && fill(handle, data);
}

void FindClose(FindHandle handle)
{
    if (!handle)
        return;
    closedir(handle->dir);
    delete handle;
}

} // namespace findfile
