#include "OfficeSockets.h"

#include <dirent.h>
#include <fstream>
#include <set>
#include <sstream>
#include <unistd.h>

namespace wordengine {

namespace {

std::set<std::string> socketInodes(pid_t pid)
{
    std::set<std::string> inodes;
    const std::string folder = "/proc/" + std::to_string(pid) + "/fd";
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return inodes;
    while (dirent* entry = readdir(dir)) {
        char target[256];
        const ssize_t n = readlink((folder + "/" + entry->d_name).c_str(), target, sizeof target - 1);
        if (n <= 0)
            continue;
        const std::string link(target, static_cast<size_t>(n));
        // "socket:[12345]"
        if (link.rfind("socket:[", 0) == 0 && link.back() == ']')
            inodes.insert(link.substr(8, link.size() - 9));
    }
    closedir(dir);
    return inodes;
}

} // namespace

std::vector<std::string> BoundSocketPaths(pid_t pid, const std::string& prefix)
{
    std::vector<std::string> paths;
    const std::set<std::string> inodes = socketInodes(pid);
    if (inodes.empty())
        return paths;
    // Num RefCount Protocol Flags Type St Inode Path
    std::ifstream table("/proc/net/unix");
    std::string line;
    std::getline(table, line);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string num, refs, protocol, flags, type, state, inode, path;
        if (fields >> num >> refs >> protocol >> flags >> type >> state >> inode >> path
            && inodes.count(inode) && path.rfind(prefix, 0) == 0)
            paths.push_back(path);
    }
    return paths;
}

} // namespace wordengine
