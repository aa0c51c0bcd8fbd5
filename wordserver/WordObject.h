#pragma once
#include <chrono>
#include <memory>
#include <string>

#include "automation/DispatchObject.h"

namespace wordengine {

class OfficeSession;

// How long a call may wait for the office before the office is killed: loading
// and storing a document get the long bound, everything else the short one.
struct CallBounds {
    std::chrono::milliseconds shortCall{std::chrono::seconds(30)};
    std::chrono::milliseconds longCall{std::chrono::seconds(120)};
};
CallBounds GetCallBounds();
void SetCallBounds(CallBounds bounds);

// Base of every object of the Word model. It is the one place where calls into
// the office are bounded in time and where office failures become automation
// errors carrying the member's name; nothing UNO-specific leaves it.
class WordObject : public automation::DispatchObject {
public:
    explicit WordObject(std::shared_ptr<OfficeSession> session) : session_(std::move(session)) {}
    automation::Variant invoke(const automation::Invocation& call) override;

protected:
    // Members that load or store a whole document.
    void markLongCall(std::string member) { longCalls_.push_back(std::move(member)); }
    const std::shared_ptr<OfficeSession>& session() const { return session_; }

private:
    std::shared_ptr<OfficeSession> session_;
    std::vector<std::string> longCalls_;
};

// Errors our own code raises inside a member: the text is the server's message.
[[noreturn]] void Fail(const std::string& serverText);

} // namespace wordengine
