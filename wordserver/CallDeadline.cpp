#include "CallDeadline.h"

#include <atomic>
#include <condition_variable>
#include <list>
#include <mutex>
#include <thread>

#include "Office.h"

namespace wordengine {

struct CallDeadline::Entry {
    std::chrono::steady_clock::time_point when;
    std::function<void()> expire;
    std::atomic<bool> expired{false};
};

namespace {

// One monitor thread for the whole program, started on first use. It lives
// until the program ends, so its state is never destroyed.
class Monitor {
public:
    static Monitor& instance()
    {
        static Monitor* monitor = new Monitor;
        return *monitor;
    }

    void add(const std::shared_ptr<CallDeadline::Entry>& entry)
    {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable())
            thread_ = std::thread([this] { run(); });
        entries_.push_back(entry);
        wake_.notify_one();
    }

    void remove(const std::shared_ptr<CallDeadline::Entry>& entry)
    {
        std::lock_guard lock(mutex_);
        entries_.remove(entry);
    }

private:
    void run()
    {
        std::unique_lock lock(mutex_);
        while (true) {
            const auto now = std::chrono::steady_clock::now();
            auto next = now + std::chrono::hours(1);
            for (auto it = entries_.begin(); it != entries_.end();) {
                if ((*it)->when <= now) {
                    (*it)->expired = true;
                    (*it)->expire();
                    it = entries_.erase(it);
                } else {
                    next = std::min(next, (*it)->when);
                    ++it;
                }
            }
            wake_.wait_until(lock, next);
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::list<std::shared_ptr<CallDeadline::Entry>> entries_;
    std::thread thread_;
};

} // namespace

CallDeadline::CallDeadline(std::shared_ptr<OfficeSession> session, std::chrono::milliseconds bound)
    : CallDeadline(
          [weak = std::weak_ptr<OfficeSession>(session)] {
              if (auto s = weak.lock())
                  s->kill();
          },
          bound)
{
}

CallDeadline::CallDeadline(std::function<void()> expire, std::chrono::milliseconds bound)
    : entry_(std::make_shared<Entry>()), bound_(bound)
{
    entry_->when = std::chrono::steady_clock::now() + bound;
    entry_->expire = std::move(expire);
    Monitor::instance().add(entry_);
}

CallDeadline::~CallDeadline()
{
    Monitor::instance().remove(entry_);
}

bool CallDeadline::expired() const
{
    return entry_->expired;
}

} // namespace wordengine
