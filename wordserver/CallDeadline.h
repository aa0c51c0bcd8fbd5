#pragma once
#include <chrono>
#include <functional>
#include <memory>

namespace wordengine {

class OfficeSession;

// A bound on one call into the office. If the call has not returned when the
// bound passes, the office is killed: the call then fails at once (its bridge
// closes) instead of holding the batch forever, and the next document gets a
// fresh office.
class CallDeadline {
public:
    CallDeadline(std::shared_ptr<OfficeSession> session, std::chrono::milliseconds bound);
    // The same for a call that needs another way to be released: expire is run
    // (on the monitor's thread) once the bound has passed.
    CallDeadline(std::function<void()> expire, std::chrono::milliseconds bound);
    ~CallDeadline();
    CallDeadline(const CallDeadline&) = delete;
    CallDeadline& operator=(const CallDeadline&) = delete;

    bool expired() const;
    std::chrono::milliseconds bound() const { return bound_; }

    struct Entry;

private:
    std::shared_ptr<Entry> entry_;
    std::chrono::milliseconds bound_;
};

} // namespace wordengine
