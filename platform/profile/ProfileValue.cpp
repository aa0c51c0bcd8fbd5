#include "profile/ProfileValue.h"

#include <optional>

namespace profile {

namespace {

constexpr std::string_view kEscapedOpen = "@\"";

bool isQuotePair(std::string_view text)
{
    return text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front();
}

std::string escaped(std::string_view value)
{
    std::string out(kEscapedOpen);
    for (char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    out += '"';
    return out;
}

std::optional<std::string> unescaped(std::string_view stored)
{
    if (stored.size() < kEscapedOpen.size() + 1 || !stored.starts_with(kEscapedOpen) || stored.back() != '"')
        return std::nullopt;
    const std::string_view inner = stored.substr(kEscapedOpen.size(), stored.size() - kEscapedOpen.size() - 1);
    std::string out;
    out.reserve(inner.size());
    for (std::size_t i = 0; i < inner.size(); ++i) {
        if (inner[i] != '\\') {
            out += inner[i];
            continue;
        }
        // Anything but our three escapes means the value was not written in this form.
        if (++i == inner.size())
            return std::nullopt;
        switch (inner[i]) {
        case '\\': out += '\\'; break;
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

} // namespace

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string StoredForm(std::string_view value)
{
    if (value.find_first_of("\r\n") != std::string_view::npos)
        return escaped(value);
    if (value.empty())
        return {};
    if (IsBlank(value.front()) || IsBlank(value.back()) || isQuotePair(value) || value.starts_with(kEscapedOpen))
        return '"' + std::string(value) + '"';
    return std::string(value);
}

std::string ReadForm(std::string_view stored)
{
    if (std::optional<std::string> text = unescaped(stored))
        return *text;
    if (isQuotePair(stored))
        return std::string(stored.substr(1, stored.size() - 2));
    return std::string(stored);
}

void CutToLimit(std::string& text, std::size_t limit)
{
    if (text.size() <= limit)
        return;
    text.resize(limit);
    std::size_t start = text.size();
    std::size_t following = 0;
    while (start > 0 && following < 3 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80) {
        --start;
        ++following;
    }
    if (start == 0)
        return;
    const auto lead = static_cast<unsigned char>(text[start - 1]);
    const std::size_t length = lead >= 0xF8 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length > following + 1)
        text.resize(start - 1);
}

} // namespace profile
