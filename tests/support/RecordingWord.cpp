#include "RecordingWord.h"

#include "automation/AutomationError.h"
#include "automation/ProgIdTable.h"

using namespace automation;

class RecordingObject : public IDispatchObject {
public:
    RecordingObject(RecordingWord* word, int document, std::string path)
        : word_(word), document_(document), path_(std::move(path)), live_(word->live_)
    {
        ++*live_;
    }
    ~RecordingObject() override { --*live_; }

    Variant invoke(const Invocation& call) override
    {
        RecordingWord::Call record{document_, describe(call), call.member, call.kind, call.positional, call.named};
        word_->record(record);
        if (word_->onCall)
            word_->onCall(record);
        if (word_->failWhen && word_->failWhen(record))
            throw AutomationError(call.member, "The recording server was told to fail here.");
        if (call.kind == InvokeKind::Put || call.kind == InvokeKind::Call)
            return {};
        if (equalsIgnoreCase(call.member, "SplitSpecial"))
            return word_->splitSpecial;
        if (equalsIgnoreCase(call.member, "Type"))
            return word_->viewType;
        if (equalsIgnoreCase(call.member, "IsHeader"))
            return word_->isHeader;
        return Variant(DispatchPtr(std::make_shared<RecordingObject>(word_, document_, path_ + "." + call.member)));
    }

private:
    std::string describe(const Invocation& call) const
    {
        std::string line = std::string(kindName(call.kind)) + " " + path_ + "." + call.member;
        auto value = [](const Variant& v) { return (v.isByRef() ? "&" : "") + v.describe(); };
        for (const Variant& v : call.positional)
            line += " " + value(v);
        for (const NamedArg& arg : call.named)
            line += " " + arg.name + "=" + value(arg.value);
        return line;
    }

    RecordingWord* word_;
    int document_;
    std::string path_;
    std::shared_ptr<std::atomic<int>> live_;
};

RecordingWord::RecordingWord()
{
    RegisterClassFactory("word.application", [this]() -> DispatchPtr {
        if (failOnCreate)
            throw AutomationError("word.application", "Server execution failed.");
        return std::make_shared<RecordingObject>(this, ++created_, "WordApp");
    });
}

RecordingWord::~RecordingWord() { RevokeClassFactory("word.application"); }

void RecordingWord::record(Call call)
{
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
}

std::vector<RecordingWord::Call> RecordingWord::calls() const
{
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<std::string> RecordingWord::lines(int document) const
{
    std::vector<std::string> result;
    for (const Call& c : calls())
        if (document == 0 || c.document == document)
            result.push_back(c.line);
    return result;
}

std::vector<std::string> RecordingWord::savedPaths() const
{
    std::vector<std::string> result;
    for (const Call& c : calls())
        if (c.member == "saveas" && !c.positional.empty())
            result.push_back(c.positional.front().asString());
    return result;
}
