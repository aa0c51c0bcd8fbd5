#pragma once
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>

#include <com/sun/star/frame/XDesktop.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

namespace wordengine {

class OfficeProcess;

// One running office and the UNO bridge to it. Word objects keep the session
// they were made in; once the office has died they raise instead of reaching
// a later office.
class OfficeSession {
public:
    OfficeSession(std::unique_ptr<OfficeProcess> process,
                  css::uno::Reference<css::lang::XComponent> bridge,
                  css::uno::Reference<css::uno::XComponentContext> context);
    ~OfficeSession();

    const css::uno::Reference<css::uno::XComponentContext>& context() const { return context_; }
    css::uno::Reference<css::frame::XDesktop> desktop() const;
    pid_t pid() const;

    // False once the office process has ended or the bridge to it was closed.
    bool alive();
    void markBridgeClosed();
    // Kills the office now (a call it did not answer in time); it is reaped later.
    void kill();
    // Ends the office: asks it to terminate, then kills it after graceMs.
    void stop(int graceMs);

private:
    std::mutex mutex_;
    std::unique_ptr<OfficeProcess> process_;
    css::uno::Reference<css::lang::XComponent> bridge_;
    css::uno::Reference<css::uno::XComponentContext> context_;
    std::atomic<bool> bridgeClosed_{false};
};

// The bridge to an office and the office's component context through it.
struct OfficeBridge {
    css::uno::Reference<css::lang::XComponent> bridge;
    css::uno::Reference<css::uno::XComponentContext> context;
};

// Connects to the office listening on the pipe: nothing while nobody listens
// there yet. An office that takes the connection but does not answer within the
// bound is ended by stop, which must close the connection, and this raises.
std::optional<OfficeBridge> ConnectOffice(const std::string& pipe, std::chrono::milliseconds bound,
                                          std::function<void()> stop);

// The warm office shared by every application object of the run: started on the
// first demand, restarted on the next demand after it died, ended with the program.
std::shared_ptr<OfficeSession> CurrentOffice();
// The running office, if any, without starting one.
std::shared_ptr<OfficeSession> RunningOffice();
void ShutdownOffice();

} // namespace wordengine
