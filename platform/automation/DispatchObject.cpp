#include "automation/DispatchObject.h"

#include <algorithm>
#include <cctype>

#include "automation/AutomationError.h"

namespace automation {

const char* kindName(InvokeKind kind)
{
    switch (kind) {
    case InvokeKind::Get: return "get";
    case InvokeKind::MethodResult: return "method";
    case InvokeKind::Call: return "call";
    case InvokeKind::Put: return "put";
    }
    return "?";
}

bool equalsIgnoreCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

DispatchArgs::DispatchArgs(std::string member, std::vector<std::optional<Variant>> slots)
    : member_(std::move(member)), slots_(std::move(slots))
{
}

bool DispatchArgs::has(size_t index) const
{
    return index < slots_.size() && slots_[index].has_value();
}

const Variant& DispatchArgs::at(size_t index) const
{
    if (!has(index))
        throw AutomationError(member_, "Argument not optional.");
    return *slots_[index];
}

void DispatchObject::addMethod(std::string name, std::vector<std::string> paramNames, Method fn)
{
    members_.push_back({std::move(name), std::move(paramNames), std::move(fn), {}, {}});
}

void DispatchObject::addProperty(std::string name, Getter getter, Setter setter)
{
    members_.push_back({std::move(name), {}, {}, std::move(getter), std::move(setter)});
}

const DispatchObject::Member* DispatchObject::find(const std::string& name) const
{
    for (const Member& m : members_)
        if (equalsIgnoreCase(m.name, name))
            return &m;
    return nullptr;
}

Variant DispatchObject::invoke(const Invocation& call)
{
    const Member* m = find(call.member);
    if (!m)
        throw AutomationError(call.member, "Unknown name.");

    if (m->getter || m->setter) {
        if (call.kind == InvokeKind::Put) {
            if (!m->setter)
                throw AutomationError(call.member, "Property is read-only.");
            if (call.positional.size() != 1 || !call.named.empty())
                throw AutomationError(call.member, "Invalid number of parameters.");
            m->setter(call.positional.front());
            return {};
        }
        if (!m->getter)
            throw AutomationError(call.member, "Property is write-only.");
        if (!call.positional.empty() || !call.named.empty())
            throw AutomationError(call.member, "Invalid number of parameters.");
        return m->getter();
    }

    if (call.kind == InvokeKind::Put)
        throw AutomationError(call.member, "Member not found.");
    std::vector<std::optional<Variant>> slots(m->paramNames.size());
    if (call.positional.size() > slots.size())
        throw AutomationError(call.member, "Invalid number of parameters.");
    for (size_t i = 0; i < call.positional.size(); ++i)
        slots[i] = call.positional[i];
    for (const NamedArg& arg : call.named) {
        auto it = std::find_if(m->paramNames.begin(), m->paramNames.end(),
                               [&](const std::string& p) { return equalsIgnoreCase(p, arg.name); });
        if (it == m->paramNames.end())
            throw AutomationError(call.member, "Unknown name: " + arg.name + ".");
        slots[static_cast<size_t>(it - m->paramNames.begin())] = arg.value;
    }
    return m->method(DispatchArgs(call.member, std::move(slots)));
}

} // namespace automation
