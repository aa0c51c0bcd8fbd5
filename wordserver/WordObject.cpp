#include "WordObject.h"

#include <algorithm>
#include <mutex>
#include <stdexcept>

#include <com/sun/star/uno/Exception.hpp>

#include "CallDeadline.h"
#include "Office.h"
#include "UnoText.h"
#include "automation/AutomationError.h"

namespace wordengine {

namespace {

std::mutex boundsMutex;
CallBounds bounds;

// Raised by Fail(); carries only the server's text, the member is added at the boundary.
class ServerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string seconds(std::chrono::milliseconds bound)
{
    const auto ms = bound.count();
    if (ms % 1000 == 0)
        return std::to_string(ms / 1000) + " seconds";
    return std::to_string(ms) + " milliseconds";
}

} // namespace

CallBounds GetCallBounds()
{
    std::lock_guard lock(boundsMutex);
    return bounds;
}

void SetCallBounds(CallBounds newBounds)
{
    std::lock_guard lock(boundsMutex);
    bounds = newBounds;
}

void Fail(const std::string& serverText)
{
    throw ServerError(serverText);
}

automation::Variant WordObject::invoke(const automation::Invocation& call)
{
    using automation::AutomationError;
    if (!session_->alive())
        throw AutomationError(call.member, "LibreOffice is no longer running.");

    const bool isLong = std::any_of(longCalls_.begin(), longCalls_.end(), [&](const std::string& m) {
        return automation::equalsIgnoreCase(m, call.member);
    });
    const CallBounds b = GetCallBounds();
    CallDeadline deadline(session_, isLong ? b.longCall : b.shortCall);

    auto officeFailure = [&](const std::string& detail) -> AutomationError {
        if (deadline.expired())
            return AutomationError(call.member, "LibreOffice did not answer within " + seconds(deadline.bound())
                                                    + " and was stopped.");
        if (!session_->alive())
            return AutomationError(call.member, "LibreOffice ended during the call.");
        return AutomationError(call.member, detail);
    };

    try {
        return DispatchObject::invoke(call);
    } catch (const AutomationError&) {
        if (deadline.expired() || !session_->alive())
            throw officeFailure({});
        throw;
    } catch (const ServerError& e) {
        throw officeFailure(e.what());
    } catch (const css::uno::Exception& e) {
        const std::string message = ToStdString(e.Message);
        throw officeFailure(message.empty() ? "LibreOffice reported an error." : message);
    } catch (const std::exception& e) {
        throw officeFailure(e.what());
    }
}

} // namespace wordengine
