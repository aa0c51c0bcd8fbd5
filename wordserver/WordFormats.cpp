#include "WordFormats.h"

#include <array>

namespace wordengine {

std::optional<WordFormat> WordFormatForFilter(const std::string& filter)
{
    static const std::array<WordFormat, 12> formats = {{
        {"MS Word 97", "MS Word 97"},
        {"MS Word 97 Vorlage", "MS Word 97 Vorlage"},
        {"MS Word 95", "MS Word 97"},
        {"MS Word 95 Vorlage", "MS Word 97"},
        {"MS WinWord 6.0", "MS Word 97"},
        {"MS WinWord 5", "MS Word 97"},
        {"Rich Text Format", "Rich Text Format"},
        {"MS Word 2007 XML", "MS Word 2007 XML"},
        {"MS Word 2007 XML Template", "MS Word 2007 XML Template"},
        {"Office Open XML Text", "Office Open XML Text"},
        {"Office Open XML Text Template", "Office Open XML Text Template"},
        {"MS Word 2003 XML", "MS Word 2003 XML"},
    }};
    for (const WordFormat& f : formats)
        if (f.loadFilter == filter)
            return f;
    return std::nullopt;
}

} // namespace wordengine
