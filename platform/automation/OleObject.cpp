#include "automation/OleObject.h"

#include "automation/AutomationError.h"
#include "automation/ProgIdTable.h"

namespace automation {

Variant OleObject::invoke(Invocation call) const
{
    if (!object_)
        throw AutomationError(call.member, "Object reference not set.");
    return object_->invoke(call);
}

OleObject OleObject::get(const std::string& member) const
{
    Variant result = invoke({member, InvokeKind::Get, {}, {}});
    if (result.type() != VariantType::Object)
        throw AutomationError(member, "Object required.");
    return OleObject(result.asObject());
}

Variant OleObject::value(const std::string& member) const
{
    return invoke({member, InvokeKind::Get, {}, {}});
}

OleObject OleObject::method(const std::string& member, std::vector<Variant> positional) const
{
    Variant result = invoke({member, InvokeKind::MethodResult, std::move(positional), {}});
    if (result.type() != VariantType::Object)
        throw AutomationError(member, "Object required.");
    return OleObject(result.asObject());
}

void OleObject::call(const std::string& member, std::vector<Variant> positional,
                     std::vector<NamedArg> named) const
{
    invoke({member, InvokeKind::Call, std::move(positional), std::move(named)});
}

void OleObject::put(const std::string& member, Variant value) const
{
    invoke({member, InvokeKind::Put, {std::move(value)}, {}});
}

OleObject CreateOleObject(const std::string& progId)
{
    return OleObject(CoCreateInstance(progId));
}

} // namespace automation
