#include "AtomicSave.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

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
    // Word refuses to save over a read-only file; a rename would replace it silently
    // (even for root, who may write anything, a file without write bits counts).
    if (exists && ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(target.c_str(), W_OK) != 0))
        throw std::runtime_error(requested + " is read-only.");
    const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~processUmask());

    std::string temporary = folderOf(target) + "/.quorvel-save-XXXXXX";
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
