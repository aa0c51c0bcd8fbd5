#pragma once
#include <string>

#include <vector>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/uno/Any.hxx>
#include <com/sun/star/uno/Sequence.hxx>
#include <cppu/unotype.hxx>
#include <rtl/ustring.hxx>

using rtl::OUString;

namespace wordengine {

// Automation strings are UTF-8; UNO strings are UTF-16.
OUString ToOUString(const std::string& utf8);
std::string ToStdString(const OUString& text);

// A boolean as UNO's boolean type (a plain bool would travel as a number).
inline css::uno::Any AnyBool(bool value)
{
    return css::uno::Any(&value, cppu::UnoType<bool>::get());
}

css::beans::PropertyValue Property(const char* name, const css::uno::Any& value);
css::uno::Sequence<css::beans::PropertyValue> Properties(const std::vector<css::beans::PropertyValue>& values);

// A file URL for a path given as raw bytes: every byte outside the unreserved
// set is percent-encoded, so a name that is not valid UTF-8 still reaches the
// office unchanged.
OUString FileUrl(const std::string& path);

} // namespace wordengine
