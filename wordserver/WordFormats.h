#pragma once
#include <optional>
#include <string>

namespace wordengine {

// What a file holds, as the office's type detection says, and how it is kept.
struct WordFormat {
    std::string loadFilter;
    std::string saveFilter;
};

// The Word format for a filter the office would open the file with, or nothing
// when that filter is not a Word one (plain text, HTML, an OpenDocument file...).
// A Word 6/95 (or older) file is written back as Word 97-2003, whose filter can
// write; an RTF file stays RTF, a Word 2007 file stays one.
std::optional<WordFormat> WordFormatForFilter(const std::string& filter);

} // namespace wordengine
