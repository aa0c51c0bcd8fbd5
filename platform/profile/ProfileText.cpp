#include "profile/ProfileText.h"

#include "profile/ProfileValue.h"

namespace profile {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kNewLine = "\r\n";

struct Line {
    std::size_t begin = 0;      // first byte of the content
    std::size_t contentEnd = 0; // where the line end starts
    std::size_t end = 0;        // past the line end
    std::string_view content;
};

class Lines {
public:
    explicit Lines(std::string_view text) : text_(text)
    {
        if (text_.starts_with(kByteOrderMark))
            pos_ = kByteOrderMark.size();
    }

    bool next(Line& line)
    {
        if (pos_ >= text_.size())
            return false;
        line.begin = pos_;
        std::size_t stop = text_.find_first_of("\r\n", pos_);
        if (stop == std::string_view::npos)
            stop = text_.size();
        line.contentEnd = stop;
        line.content = text_.substr(line.begin, stop - line.begin);
        if (stop < text_.size())
            stop += (text_[stop] == '\r' && stop + 1 < text_.size() && text_[stop + 1] == '\n') ? 2 : 1;
        line.end = pos_ = stop;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool equalNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

std::optional<std::string_view> sectionName(std::string_view content)
{
    content = TrimBlanks(content);
    if (!content.starts_with('['))
        return std::nullopt;
    const std::size_t close = content.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return TrimBlanks(content.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> keyLine(std::string_view content)
{
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = TrimBlanks(content.substr(0, equals));
    if (key.empty())
        return std::nullopt;
    return KeyLine{key, TrimBlanks(content.substr(equals + 1))};
}

// Where the key sits in the first section of the name, or where it would go.
struct Place {
    bool sectionFound = false;
    std::optional<Line> keyLine;
    Line lastFilled;    // the last non-blank line of the section, its header included
};

Place locate(std::string_view text, std::string_view section, std::string_view key)
{
    Place place;
    bool inSection = false;
    Lines lines(text);
    Line line;
    while (lines.next(line)) {
        if (std::optional<std::string_view> name = sectionName(line.content)) {
            if (inSection)
                break;
            inSection = equalNoCase(*name, section);
            if (inSection) {
                place.sectionFound = true;
                place.lastFilled = line;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!TrimBlanks(line.content).empty())
            place.lastFilled = line;
        if (std::optional<KeyLine> entry = keyLine(line.content); entry && equalNoCase(entry->key, key)) {
            place.keyLine = line;
            break;
        }
    }
    return place;
}

bool endsWithLineEnd(std::string_view text) { return text.ends_with('\r') || text.ends_with('\n'); }

} // namespace

bool IsValidSectionName(std::string_view name)
{
    return !name.empty() && TrimBlanks(name) == name && name.find_first_of("\r\n]") == std::string_view::npos;
}

bool IsValidKeyName(std::string_view name)
{
    return !name.empty() && TrimBlanks(name) == name && !name.starts_with('[') &&
           name.find_first_of("\r\n=") == std::string_view::npos;
}

std::optional<std::string_view> FindStoredValue(std::string_view text, std::string_view section,
                                                std::string_view key)
{
    const Place place = locate(text, section, key);
    if (!place.keyLine)
        return std::nullopt;
    return keyLine(place.keyLine->content)->value;
}

std::string WithStoredValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view stored)
{
    std::string entry(key);
    entry += '=';
    entry += stored;

    const Place place = locate(text, section, key);
    std::string out;
    out.reserve(text.size() + entry.size() + section.size() + 8);
    if (place.keyLine) {
        out.append(text.substr(0, place.keyLine->begin));
        out.append(entry);
        out.append(text.substr(place.keyLine->contentEnd));
    } else if (place.sectionFound) {
        const std::size_t at = place.lastFilled.end;
        out.append(text.substr(0, at));
        if (!endsWithLineEnd(out))
            out.append(kNewLine);
        out.append(entry).append(kNewLine);
        out.append(text.substr(at));
    } else {
        out.append(text);
        if (!out.empty() && !endsWithLineEnd(out))
            out.append(kNewLine);
        out.append("[").append(section).append("]").append(kNewLine);
        out.append(entry).append(kNewLine);
    }
    return out;
}

} // namespace profile
