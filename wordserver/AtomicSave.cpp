#include "AtomicSave.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "fileaccess/MayNotWrite.h"

namespace wordengine {

namespace {

std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t processUmask()
{
    // umask() cannot be read without being changed; the kernel reports it here.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    return 022;
}

[[noreturn]] void fail(const std::string& what, int error)
{
    throw std::runtime_error(what + ": " + std::strerror(error) + ".");
}

constexpr char kTemporaryPrefix[] = ".quorvel-save-";

// Temporary files that a save killed before its end left behind. A save's own
// lasts as long as one bounded call into the office, so one untouched for an
// hour belongs to no save still running; removing it never loses a document,
// as the original is only ever replaced by a rename.
void removeAbandonedTemporaries(const std::string& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    const time_t hourAgo = time(nullptr) - 3600;
    const size_t prefix = sizeof kTemporaryPrefix - 1;
    while (const dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        struct stat st {};
        if (name.size() == prefix + 6 && name.compare(0, prefix, kTemporaryPrefix) == 0
            && fstatat(dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)
            && st.st_mtime < hourAgo)
            unlinkat(dirfd(dir), e->d_name, 0);
    }
    closedir(dir);
}

void syncPath(const std::string& path, int flags)
{
    const int fd = open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

} // namespace

void ReplaceFileAtomically(const std::string& requested, const std::function<void(const std::string&)>& store)
{
    std::string target = requested;
    struct stat st {};
    if (lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (!realpath(target.c_str(), resolved))
            fail("Cannot follow the link " + requested, errno);
        target = resolved;
    }
    const bool exists = stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode))
        throw std::runtime_error(requested + " is not a file.");
    // Word refuses to save over a read-only file; a rename would replace it silently.
    if (exists && MayNotWrite(target, st))
        throw std::runtime_error(requested + " is read-only.");
    const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~processUmask());

    removeAbandonedTemporaries(folderOf(target));
    std::string temporary = folderOf(target) + "/" + kTemporaryPrefix + "XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        fail("Cannot create a file in the folder of " + requested, errno);
    close(fd);

    try {
        store(temporary);
        struct stat written {};
        if (stat(temporary.c_str(), &written) != 0 || written.st_size == 0)
            throw std::runtime_error("LibreOffice wrote nothing for " + requested + ".");
        syncPath(temporary, O_RDONLY);
        if (exists && geteuid() == 0)
            (void)!chown(temporary.c_str(), st.st_uid, st.st_gid);
        if (chmod(temporary.c_str(), mode) != 0)
            fail("Cannot set the permissions of " + requested, errno);
        if (rename(temporary.c_str(), target.c_str()) != 0)
            fail("Cannot replace " + requested, errno);
    } catch (...) {
        unlink(temporary.c_str());
        throw;
    }
    syncPath(folderOf(target), O_RDONLY | O_DIRECTORY);
}

} // namespace wordengine
