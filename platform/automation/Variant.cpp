#include "automation/Variant.h"

#include "automation/AutomationError.h"

namespace automation {

namespace {
[[noreturn]] void typeMismatch() { throw AutomationError("Variant", "Type mismatch."); }
}

Variant::Variant(int32_t value) : type_(VariantType::Int), int_(value) {}

Variant::Variant(std::string value) : type_(VariantType::String), string_(std::move(value)) {}

Variant::Variant(const char* value) : Variant(std::string(value)) {}

Variant::Variant(DispatchPtr object)
    : type_(object ? VariantType::Object : VariantType::Empty), object_(std::move(object))
{
}

Variant Variant::boolean(bool value)
{
    Variant v;
    v.type_ = VariantType::Bool;
    v.int_ = value ? -1 : 0;
    return v;
}

Variant Variant::asByRef() const
{
    Variant v = *this;
    v.byRef_ = true;
    return v;
}

int16_t Variant::boolValue() const
{
    if (type_ != VariantType::Bool)
        typeMismatch();
    return static_cast<int16_t>(int_);
}

bool Variant::asBool() const
{
    if (type_ == VariantType::Bool || type_ == VariantType::Int)
        return int_ != 0;
    typeMismatch();
}

int32_t Variant::asInt() const
{
    if (type_ == VariantType::Int || type_ == VariantType::Bool)
        return int_;
    typeMismatch();
}

const std::string& Variant::asString() const
{
    if (type_ != VariantType::String)
        typeMismatch();
    return string_;
}

DispatchPtr Variant::asObject() const
{
    if (type_ != VariantType::Object)
        typeMismatch();
    return object_;
}

bool Variant::operator==(const Variant& other) const
{
    if (type_ != other.type_)
        return false;
    switch (type_) {
    case VariantType::Empty: return true;
    case VariantType::Bool:
    case VariantType::Int: return int_ == other.int_;
    case VariantType::String: return string_ == other.string_;
    case VariantType::Object: return object_ == other.object_;
    }
    return false;
}

std::string Variant::describe() const
{
    switch (type_) {
    case VariantType::Empty: return "empty";
    case VariantType::Bool: return "bool:" + std::to_string(int_);
    case VariantType::Int: return "int:" + std::to_string(int_);
    case VariantType::String: return "str:\"" + string_ + "\"";
    case VariantType::Object: return "object";
    }
    return "?";
}

} // namespace automation
