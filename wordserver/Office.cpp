#include "Office.h"

#include <atomic>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <thread>
#include <unistd.h>

#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/bridge/XBridgeFactory.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/connection/XConnector.hpp>
#include <com/sun/star/lang/XEventListener.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/implbase1.hxx>

#include "CallDeadline.h"
#include "OfficeProcess.h"
#include "OfficeProfile.h"
#include "UnoText.h"

using namespace css;

namespace wordengine {

namespace {

// Exit codes with which soffice.bin asks its launcher to start it again (the
// first start on a new profile ends this way).
constexpr int kRestartAfterCrash = 79;
constexpr int kNormalRestart = 81;
constexpr auto kStartBound = std::chrono::seconds(60);

uno::Reference<uno::XComponentContext> localContext()
{
    static const uno::Reference<uno::XComponentContext> context = [] {
        // Without it the first remote call fails deep inside the type system.
        setenv("URE_BOOTSTRAP", "vnd.sun.star.pathname:/usr/lib/libreoffice/program/fundamentalrc", 1);
        return cppu::defaultBootstrap_InitialComponentContext();
    }();
    return context;
}

class BridgeListener : public cppu::WeakImplHelper1<lang::XEventListener> {
public:
    explicit BridgeListener(std::weak_ptr<OfficeSession> session) : session_(std::move(session)) {}
    void SAL_CALL disposing(const lang::EventObject&) override
    {
        if (auto s = session_.lock())
            s->markBridgeClosed();
    }

private:
    std::weak_ptr<OfficeSession> session_;
};

std::string newPipeName()
{
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    return "quorvel-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + "-"
         + std::to_string(random());
}

std::shared_ptr<OfficeSession> startOffice()
{
    const OfficeProfile& profile = AcquireOfficeProfile();
    const auto deadline = std::chrono::steady_clock::now() + kStartBound;
    for (int start = 0; start < 4; ++start) {
        const std::string pipe = newPipeName();
        auto process = std::make_unique<OfficeProcess>(profile.profileFolder, pipe, profile.logFile);
        while (true) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            // Killed from the deadline's thread if it takes the connection but
            // does not answer; nothing else touches it meanwhile.
            OfficeProcess* office = process.get();
            if (left.count() > 0) {
                if (auto bridge = ConnectOffice(pipe, left, [office] { office->kill(); })) {
                    process->noteBoundSockets();
                    auto session = std::make_shared<OfficeSession>(std::move(process), bridge->bridge,
                                                                   bridge->context);
                    bridge->bridge->addEventListener(new BridgeListener(session));
                    return session;
                }
            }
            if (!process->running()) {
                const int code = process->exitCode();
                if (code == kNormalRestart || code == kRestartAfterCrash)
                    break;
                throw std::runtime_error("LibreOffice ended at start-up with code " + std::to_string(code)
                                         + "; see " + profile.logFile);
            }
            if (std::chrono::steady_clock::now() > deadline) {
                process->stop(0);
                throw std::runtime_error("LibreOffice did not start within "
                                         + std::to_string(kStartBound.count()) + " seconds");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
    }
    throw std::runtime_error("LibreOffice kept asking to be restarted; see " + profile.logFile);
}

} // namespace

std::optional<OfficeBridge> ConnectOffice(const std::string& pipe, std::chrono::milliseconds bound,
                                          std::function<void()> stop)
{
    const auto local = localContext();
    const auto factory = local->getServiceManager();
    const uno::Reference<connection::XConnector> connector(
        factory->createInstanceWithContext("com.sun.star.connection.Connector", local), uno::UNO_QUERY_THROW);
    const uno::Reference<bridge::XBridgeFactory> bridges(
        factory->createInstanceWithContext("com.sun.star.bridge.BridgeFactory", local), uno::UNO_QUERY_THROW);

    // Ending the office closes the connection, and the waiting call then fails.
    CallDeadline deadline(std::move(stop), bound);
    try {
        auto connection = connector->connect(ToOUString("pipe,name=" + pipe));
        auto bridge = bridges->createBridge(OUString(), "urp", connection, nullptr);
        uno::Reference<uno::XComponentContext> context(bridge->getInstance("StarOffice.ComponentContext"),
                                                       uno::UNO_QUERY_THROW);
        if (!deadline.expired())
            return OfficeBridge{uno::Reference<lang::XComponent>(bridge, uno::UNO_QUERY_THROW), context};
    } catch (const connection::NoConnectException&) {
        if (!deadline.expired())
            return std::nullopt;
    } catch (const uno::Exception&) {
        if (!deadline.expired())
            throw;
    }
    throw std::runtime_error("LibreOffice took the connection but did not answer in time, and was stopped");
}

namespace {

struct OfficeHolder {
    std::mutex mutex;
    std::shared_ptr<OfficeSession> session;
};

OfficeHolder& holder()
{
    // Never destroyed: application objects may outlive static destruction order.
    static OfficeHolder* h = new OfficeHolder;
    return *h;
}

} // namespace

OfficeSession::OfficeSession(std::unique_ptr<OfficeProcess> process,
                             uno::Reference<lang::XComponent> bridge,
                             uno::Reference<uno::XComponentContext> context)
    : process_(std::move(process)), bridge_(std::move(bridge)), context_(std::move(context))
{
}

OfficeSession::~OfficeSession()
{
    stop(0);
}

uno::Reference<frame::XDesktop> OfficeSession::desktop() const
{
    return uno::Reference<frame::XDesktop>(
        context_->getServiceManager()->createInstanceWithContext("com.sun.star.frame.Desktop", context_),
        uno::UNO_QUERY_THROW);
}

pid_t OfficeSession::pid() const
{
    return process_->pid();
}

bool OfficeSession::alive()
{
    if (bridgeClosed_)
        return false;
    std::lock_guard lock(mutex_);
    return process_->running();
}

void OfficeSession::markBridgeClosed()
{
    bridgeClosed_ = true;
}

void OfficeSession::kill()
{
    std::lock_guard lock(mutex_);
    process_->kill();
}

void OfficeSession::stop(int graceMs)
{
    uno::Reference<lang::XComponent> bridge;
    {
        std::lock_guard lock(mutex_);
        process_->stop(graceMs);
        bridge = bridge_;
        bridge_.clear();
    }
    bridgeClosed_ = true;
    // Disposing waits for the bridge's reader thread, which reports the closing
    // through markBridgeClosed(): no lock may be held here.
    if (bridge.is()) {
        try {
            bridge->dispose();
        } catch (...) {
        }
    }
}

std::shared_ptr<OfficeSession> CurrentOffice()
{
    OfficeHolder& h = holder();
    std::lock_guard lock(h.mutex);
    if (h.session && !h.session->alive()) {
        h.session->stop(0);
        h.session.reset();
    }
    if (!h.session)
        h.session = startOffice();
    return h.session;
}

std::shared_ptr<OfficeSession> RunningOffice()
{
    OfficeHolder& h = holder();
    std::lock_guard lock(h.mutex);
    return h.session;
}

void ShutdownOffice()
{
    OfficeHolder& h = holder();
    std::shared_ptr<OfficeSession> session;
    {
        std::lock_guard lock(h.mutex);
        session.swap(h.session);
    }
    if (!session)
        return;
    if (session->alive()) {
        CallDeadline deadline(session, std::chrono::seconds(5));
        try {
            session->desktop()->terminate();
        } catch (...) {
        }
    }
    session->stop(5000);
}

} // namespace wordengine
