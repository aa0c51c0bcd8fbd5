#pragma once
#include <string>
#include <vector>

#include "automation/DispatchObject.h"

namespace automation {

// The client's late-bound reference to an automation object (an OleVariant holding
// IDispatch). Every call names its member as written; the reference is released
// when the last copy goes away, on every way out.
class OleObject {
public:
    OleObject() = default;
    explicit OleObject(DispatchPtr object) : object_(std::move(object)) {}

    // Get whose result is an object (the next member of a path).
    OleObject get(const std::string& member) const;
    // Get whose result is a value to test.
    Variant value(const std::string& member) const;
    // Method whose result is an object, with positional arguments (Panes(2)).
    OleObject method(const std::string& member, std::vector<Variant> positional) const;
    // Method, no result asked for.
    void call(const std::string& member, std::vector<Variant> positional = {},
              std::vector<NamedArg> named = {}) const;
    void put(const std::string& member, Variant value) const;

    bool isNull() const { return !object_; }
    void clear() { object_.reset(); }
    const DispatchPtr& dispatch() const { return object_; }

private:
    Variant invoke(Invocation call) const;
    DispatchPtr object_;
};

// CreateOleObject: CLSIDFromProgID + CoCreateInstance, asking for IDispatch.
OleObject CreateOleObject(const std::string& progId);

} // namespace automation
