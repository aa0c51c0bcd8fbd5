#include "UnoText.h"

#include <rtl/textenc.h>

namespace wordengine {

OUString ToOUString(const std::string& utf8)
{
    return OUString(utf8.data(), static_cast<sal_Int32>(utf8.size()), RTL_TEXTENCODING_UTF8);
}

std::string ToStdString(const OUString& text)
{
    const rtl::OString utf8 = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
    return std::string(utf8.getStr(), static_cast<size_t>(utf8.getLength()));
}

css::beans::PropertyValue Property(const char* name, const css::uno::Any& value)
{
    css::beans::PropertyValue p;
    p.Name = OUString::createFromAscii(name);
    p.Value = value;
    return p;
}

css::uno::Sequence<css::beans::PropertyValue> Properties(const std::vector<css::beans::PropertyValue>& values)
{
    return css::uno::Sequence<css::beans::PropertyValue>(values.data(), static_cast<sal_Int32>(values.size()));
}

OUString FileUrl(const std::string& path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                        || c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
        if (plain) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return OUString::createFromAscii(url.c_str());
}

} // namespace wordengine
