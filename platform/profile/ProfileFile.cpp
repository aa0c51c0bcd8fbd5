#include "profile/ProfileFile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fileaccess/MayNotWrite.h"

namespace profile {

namespace {

bool isAbsolute(const char* path) { return path && path[0] == '/'; }

std::string configFolder()
{
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); isAbsolute(config))
        return config;
    if (const char* home = std::getenv("HOME"); isAbsolute(home))
        return std::string(home) + "/.config";
    if (const passwd* user = getpwuid(getuid()); user && isAbsolute(user->pw_dir))
        return std::string(user->pw_dir) + "/.config";
    return {};
}


std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool makeFolders(const std::string& folder)
{
    // Every missing folder on the way, private to the user as configuration folders are.
    std::size_t slash = 0;
    do {
        slash = folder.find('/', slash + 1);
        const std::string part = folder.substr(0, slash);
        struct stat st {};
        if (stat(part.c_str(), &st) == 0) {
            if (!S_ISDIR(st.st_mode))
                return false;
            continue;
        }
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    } while (slash != std::string::npos);
    return true;
}

bool writeAll(int fd, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t written = write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool rewriteInPlace(const std::string& target, std::string_view content)
{
    const int fd = open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, content) && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    return ok;
}

// The file that a write really replaces: a link's target rather than the link.
bool writeTarget(const std::string& path, std::string& target)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        target = path;
        return true;
    }
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved))
        return false;
    target = resolved;
    return true;
}

std::string temporaryName(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = target.rfind('/');
    return target.substr(0, slash + 1) + "." + target.substr(slash + 1) + "." + std::to_string(getpid()) + "." +
           std::to_string(counter++) + ".tmp";
}

} // namespace

std::string ProfilePath(std::string_view fileName)
{
    if (fileName.starts_with('/'))
        return std::string(fileName);
    const std::string folder = configFolder();
    if (folder.empty() || fileName.empty())
        return {};
    return folder + "/" + std::string(fileName);
}

FileState ReadProfileFile(const std::string& path, std::string& content)
{
    content.clear();
    // Non-blocking, so that a FIFO in the file's place cannot stall the window.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return (errno == ENOENT || errno == ENOTDIR) ? FileState::Missing : FileState::Unreadable;
    FileState state = FileState::Read;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        state = FileState::Unreadable;
    } else {
        content.reserve(static_cast<std::size_t>(st.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t got = read(fd, buffer, sizeof buffer);
            if (got == 0)
                break;
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                state = FileState::Unreadable;
                content.clear();
                break;
            }
            content.append(buffer, static_cast<std::size_t>(got));
        }
    }
    close(fd);
    return state;
}

bool ReplaceProfileFile(const std::string& path, std::string_view content)
{
    std::string target;
    if (path.empty() || !writeTarget(path, target))
        return false;
    const std::string folder = folderOf(target);
    if (!makeFolders(folder))
        return false;

    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && (!S_ISREG(old.st_mode) || MayNotWrite(target, old)))
        return false;
    struct stat folderStat {};
    if (stat(folder.c_str(), &folderStat) != 0)
        return false;
    if (MayNotWrite(folder, folderStat))
        // Nothing can be made beside the file, yet a writable file in such a folder
        // is still written, as the profile service writes it: in place.
        return exists && rewriteInPlace(target, content);

    const std::string temporary = temporaryName(target);
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = true;
    if (exists)
        ok = fchmod(fd, old.st_mode & 07777) == 0; // the replacement keeps the file's permissions
    ok = ok && writeAll(fd, content) && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    ok = ok && rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok)
        unlink(temporary.c_str());
    return ok;
}

} // namespace profile
