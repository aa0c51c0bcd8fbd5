#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

namespace wordengine {

// One soffice.bin process, started directly so that its process id is the
// office's. A watchdog process of ours is started beside it: it waits on a pipe
// that only this program holds open and kills the office when that pipe closes,
// which happens when the program ends in any way, SIGKILL included.
class OfficeProcess {
public:
    // Starts the office headless with the given profile, accepting on the pipe.
    OfficeProcess(const std::string& profileFolder, const std::string& pipeName,
                  const std::string& logFile);
    ~OfficeProcess();
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;

    pid_t pid() const { return pid_; }

    // True while the process runs; once it has ended, exitCode() tells how.
    bool running();
    // The exit status (or 128 + signal); meaningful after running() said false.
    int exitCode() const { return exitCode_; }

    // Remembers the sockets the running office has bound besides its listening
    // pipe (its single-instance pipe), to be removed once it has ended, by the
    // program or by the watchdog.
    void noteBoundSockets();

    // Asks the process to end with SIGKILL; it is reaped by running() or stop().
    void kill();
    // Ends the process: waits up to graceMs for it to end by itself, then kills it.
    void stop(int graceMs);

private:
    bool reap(bool block);

    void removeLeftSockets();

    std::string pipeSocket_;
    std::string tempFolder_;
    std::vector<std::string> boundSockets_;
    pid_t pid_ = -1;
    pid_t watchdog_ = -1;
    int watchdogPipe_ = -1;
    bool ended_ = false;
    int exitCode_ = 0;
};

} // namespace wordengine
