#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "automation/Variant.h"

namespace automation {

// How a member is invoked, as IDispatch::Invoke's flags say it.
enum class InvokeKind {
    Get,          // method-or-property get, result used
    MethodResult, // method whose result is used (a get with arguments, such as Panes(2))
    Call,         // method, no result asked for
    Put,          // property put; the value is the one positional argument
};
const char* kindName(InvokeKind kind);

struct NamedArg {
    std::string name;
    Variant value;
};

// One late-bound call as the client sends it: member and argument names exactly as written.
struct Invocation {
    std::string member;
    InvokeKind kind = InvokeKind::Call;
    std::vector<Variant> positional;
    std::vector<NamedArg> named;
};

// The server side of a late-bound object (IDispatch): resolves the member and the
// named arguments by name at call time and invokes it. Failures raise AutomationError.
class IDispatchObject {
public:
    virtual ~IDispatchObject() = default;
    virtual Variant invoke(const Invocation& call) = 0;
};

// Arguments after name resolution: one slot per declared parameter, in declaration order.
class DispatchArgs {
public:
    DispatchArgs(std::string member, std::vector<std::optional<Variant>> slots);
    bool has(size_t index) const;
    // The argument at index; raises "Argument not optional." when it was not passed.
    const Variant& at(size_t index) const;
    size_t size() const { return slots_.size(); }

private:
    std::string member_;
    std::vector<std::optional<Variant>> slots_;
};

// Base for server objects: a table of members resolved case-insensitively, as Word does.
// Named arguments map to parameter slots by their case-insensitive names; positional
// arguments fill the slots from the first. Unknown names raise "Unknown name.".
class DispatchObject : public IDispatchObject {
public:
    Variant invoke(const Invocation& call) override;

protected:
    using Method = std::function<Variant(const DispatchArgs&)>;
    using Getter = std::function<Variant()>;
    using Setter = std::function<void(const Variant&)>;

    // A method (also callable as a get when it returns a value).
    void addMethod(std::string name, std::vector<std::string> paramNames, Method fn);
    // A property: getter and/or setter; either may be empty (read-only, write-only).
    void addProperty(std::string name, Getter getter, Setter setter = {});

private:
    struct Member {
        std::string name;
        std::vector<std::string> paramNames;
        Method method;
        Getter getter;
        Setter setter;
    };
    const Member* find(const std::string& name) const;
    std::vector<Member> members_;
};

bool equalsIgnoreCase(const std::string& a, const std::string& b);

} // namespace automation
