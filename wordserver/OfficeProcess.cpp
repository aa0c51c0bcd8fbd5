#include "OfficeProcess.h"

#include "OfficeSockets.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace wordengine {

namespace {

const char* const kOfficeBinary = "/usr/lib/libreoffice/program/soffice.bin";

// Only async-signal-safe calls between fork and exec: the program has threads.
void closeFrom(int first)
{
#ifdef SYS_close_range
    if (syscall(SYS_close_range, first, ~0U, 0) == 0)
        return;
#endif
    const long limit = sysconf(_SC_OPEN_MAX);
    for (int fd = first; fd < (limit > 0 ? limit : 1024); ++fd)
        close(fd);
}

void sleepMs(long ms)
{
    timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

[[noreturn]] void runWatchdog(int pipeRead, pid_t office, const char* socket)
{
    prctl(PR_SET_NAME, "quorvel-watch", 0, 0, 0);
    // It carries the program's command line, so whatever ends the program by
    // name or by its terminal reaches it too; it must outlive the program.
    for (int sig : {SIGINT, SIGHUP, SIGTERM, SIGQUIT, SIGPIPE, SIGUSR1, SIGUSR2})
        signal(sig, SIG_IGN);
    // The program writes 'q' when it has ended the office itself, and a path
    // ended by NUL for each further socket the office has bound; end of file
    // means the program is gone and the office must follow it.
    static char bound[4][512];
    int boundCount = 0;
    size_t length = 0;
    while (true) {
        char byte = 0;
        const ssize_t n = read(pipeRead, &byte, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n != 1)
            break;
        if (byte == 'q' && length == 0)
            _exit(0);
        if (boundCount >= 4)
            continue;
        if (byte == '\0') {
            bound[boundCount][length] = '\0';
            ++boundCount;
            length = 0;
        } else if (length + 1 < sizeof bound[0]) {
            bound[boundCount][length++] = byte;
        }
    }
    ::kill(office, SIGTERM);
    for (int i = 0; i < 30 && ::kill(office, 0) == 0; ++i)
        sleepMs(100);
    ::kill(office, SIGKILL);
    unlink(socket);
    for (int i = 0; i < boundCount; ++i)
        unlink(bound[i]);
    _exit(0);
}

} // namespace

OfficeProcess::OfficeProcess(const std::string& profileFolder, const std::string& pipeName,
                             const std::string& logFile)
{
    // Everything the child needs is prepared before fork.
    std::vector<std::string> args = {
        kOfficeBinary,
        "--headless",
        "--invisible",
        "--nologo",
        "--norestore",
        "--nodefault",
        "--nolockcheck",
        "--nofirststartwizard",
        "--accept=pipe,name=" + pipeName + ";urp;StarOffice.ComponentContext",
        "-env:UserInstallation=file://" + profileFolder,
    };
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    // The office's temporary files go to a folder of its profile, emptied at each
    // start, so that an office that was killed leaves nothing in the shared /tmp.
    tempFolder_ = profileFolder + "/tmp";
    std::error_code ignored;
    std::filesystem::remove_all(tempFolder_, ignored);
    std::filesystem::create_directories(tempFolder_, ignored);
    std::vector<std::string> variables = {"TMPDIR=" + tempFolder_};
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "TMPDIR=", 7) != 0)
            variables.push_back(*e);
    std::vector<char*> envp;
    for (std::string& v : variables)
        envp.push_back(v.data());
    envp.push_back(nullptr);

    const int devNull = open("/dev/null", O_RDONLY | O_CLOEXEC);
    // One log for the program's offices, restarts included, kept from growing without end.
    struct stat logState {};
    const bool longLog = stat(logFile.c_str(), &logState) == 0 && logState.st_size > (1 << 20);
    const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | (longLog ? O_TRUNC : 0), 0600);
    int watch[2];
    if (devNull < 0 || log < 0 || pipe2(watch, O_CLOEXEC) != 0) {
        const std::string reason = std::strerror(errno);
        if (devNull >= 0)
            close(devNull);
        if (log >= 0)
            close(log);
        throw std::runtime_error("Cannot prepare the office process: " + reason);
    }

    pipeSocket_ = "/tmp/OSL_PIPE_" + std::to_string(getuid()) + "_" + pipeName;

    pid_ = fork();
    if (pid_ == 0) {
        dup2(devNull, 0);
        dup2(log, 1);
        dup2(log, 2);
        closeFrom(3);
        // Signals blocked or ignored by the spawning thread must not reach the office.
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        signal(SIGPIPE, SIG_DFL);
        execve(kOfficeBinary, argv.data(), envp.data());
        _exit(127);
    }
    const int forkErrno = errno;
    close(devNull);
    close(log);
    if (pid_ < 0) {
        close(watch[0]);
        close(watch[1]);
        throw std::runtime_error(std::string("Cannot start LibreOffice: ") + std::strerror(forkErrno));
    }

    watchdog_ = fork();
    if (watchdog_ == 0) {
        if (watch[0] != 3)
            dup2(watch[0], 3);
        closeFrom(4);
        const int quiet = open("/dev/null", O_RDWR);
        for (int fd = 0; fd < 3 && quiet >= 0; ++fd)
            if (fd != quiet)
                dup2(quiet, fd);
        runWatchdog(3, pid_, pipeSocket_.c_str());
    }
    close(watch[0]);
    if (watchdog_ < 0) {
        close(watch[1]);
        ::kill(pid_, SIGKILL);
        reap(true);
        throw std::runtime_error(std::string("Cannot start the office watchdog: ") + std::strerror(errno));
    }
    watchdogPipe_ = watch[1];
}

OfficeProcess::~OfficeProcess()
{
    stop(0);
}

bool OfficeProcess::reap(bool block)
{
    if (ended_)
        return true;
    // Looked at without reaping: the watchdog is released before the office's id
    // becomes free for reuse, so it can never kill a stranger.
    siginfo_t info{};
    int r;
    while ((r = waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOWAIT | (block ? 0 : WNOHANG))) < 0
           && errno == EINTR) {
    }
    if (r == 0 && info.si_pid == 0)
        return false;
    ended_ = true;
    if (r == 0)
        exitCode_ = info.si_code == CLD_EXITED ? info.si_status : 128 + info.si_status;
    else
        exitCode_ = -1;
    if (watchdogPipe_ >= 0) {
        (void)!write(watchdogPipe_, "q", 1);
        close(watchdogPipe_);
        watchdogPipe_ = -1;
    }
    if (watchdog_ > 0) {
        while (waitpid(watchdog_, nullptr, 0) < 0 && errno == EINTR) {
        }
        watchdog_ = -1;
    }
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    removeLeftSockets();
    std::error_code ignored;
    std::filesystem::remove_all(tempFolder_, ignored);
    return true;
}

void OfficeProcess::noteBoundSockets()
{
    for (const std::string& path : BoundSocketPaths(pid_, "/tmp/OSL_PIPE_")) {
        if (path == pipeSocket_ || boundSockets_.size() >= 4 || path.size() >= 512)
            continue;
        boundSockets_.push_back(path);
        if (watchdogPipe_ >= 0)
            (void)!write(watchdogPipe_, path.c_str(), path.size() + 1);
    }
}

void OfficeProcess::removeLeftSockets()
{
    // An office that was killed leaves its listening socket behind, and even one
    // that ended by itself leaves its single-instance pipe.
    std::vector<std::string> paths = boundSockets_;
    paths.push_back(pipeSocket_);
    for (const std::string& path : paths) {
        struct stat st {};
        if (!path.empty() && lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode))
            unlink(path.c_str());
    }
}

bool OfficeProcess::running()
{
    return !reap(false);
}

void OfficeProcess::kill()
{
    if (!ended_)
        ::kill(pid_, SIGKILL);
}

void OfficeProcess::stop(int graceMs)
{
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(graceMs);
    while (!reap(false)) {
        if (clock::now() >= deadline) {
            ::kill(pid_, SIGKILL);
            reap(true);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace wordengine
