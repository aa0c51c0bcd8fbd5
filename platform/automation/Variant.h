#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace automation {

class IDispatchObject;
using DispatchPtr = std::shared_ptr<IDispatchObject>;

enum class VariantType { Empty, Bool, Int, String, Object };

// An automation argument or result. Strings are UTF-8 (or any bytes: paths
// travel unchanged). Booleans are automation booleans: True is -1.
class Variant {
public:
    Variant() = default;
    Variant(int32_t value);
    Variant(std::string value);
    Variant(const char* value);
    Variant(DispatchPtr object);
    static Variant boolean(bool value);

    VariantType type() const { return type_; }
    bool isByRef() const { return byRef_; }
    Variant asByRef() const;

    // Typed access; a value of another type raises "Type mismatch."
    int16_t boolValue() const;
    bool asBool() const;
    int32_t asInt() const;
    const std::string& asString() const;
    DispatchPtr asObject() const;

    // Comparison by value, as the script tests a get's result against a constant.
    bool operator==(const Variant& other) const;

    // A short readable form for transcripts and messages: empty, bool:-1, int:3, str:"x", object.
    std::string describe() const;

private:
    VariantType type_ = VariantType::Empty;
    bool byRef_ = false;
    int32_t int_ = 0;
    std::string string_;
    DispatchPtr object_;
};

// The argument passed by reference, as the script does for its path and text arguments.
inline Variant byRef(Variant v) { return v.asByRef(); }

} // namespace automation
