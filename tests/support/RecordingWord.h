#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "automation/DispatchObject.h"

// A stand-in for "word.application" that records every late-bound call exactly as
// it was sent and answers the gets the edit script tests. Registered through the
// same ProgID table as the real engine.
class RecordingWord {
public:
    struct Call {
        int document = 0;        // 1 for the first application object created, and so on
        std::string line;        // "<kind> <object path>.<member as sent> <arguments>"
        std::string member;      // member as sent
        automation::InvokeKind kind{};
        std::vector<automation::Variant> positional;
        std::vector<automation::NamedArg> named;
    };

    RecordingWord();
    ~RecordingWord();   // revokes the registration

    // Answers of the value gets.
    automation::Variant splitSpecial = 0;
    automation::Variant viewType = 3;
    automation::Variant isHeader = automation::Variant::boolean(true);

    // Failures: at creation, or at a call for which the predicate holds.
    bool failOnCreate = false;
    std::function<bool(const Call&)> failWhen;
    // Runs at each recorded call before it is answered (tests change controls here).
    std::function<void(const Call&)> onCall;

    std::vector<Call> calls() const;
    std::vector<std::string> lines(int document = 0) const; // 0: every document
    // Full paths passed to saveas, in order: the documents that were saved.
    std::vector<std::string> savedPaths() const;
    int liveObjects() const { return *live_; }
    int created() const { return created_; }

private:
    friend class RecordingObject;
    void record(Call call);
    mutable std::mutex mutex_;
    std::vector<Call> calls_;
    std::shared_ptr<std::atomic<int>> live_ = std::make_shared<std::atomic<int>>(0);
    std::atomic<int> created_{0};
};
