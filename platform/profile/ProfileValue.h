#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// How a value stands after the "=" of its line.
//
// A one-line value that the Windows profile service would read back unchanged
// is stored bare, exactly as that service stores it. A one-line value with
// blanks at its ends, or wrapped in a pair of quotes, is stored inside double
// quotes: the service strips one pair on read, so it too reads the value back.
// A value with line breaks is stored escaped, as @"..." with \\, \r and \n
// standing for backslash, CR and LF; a one-line value that itself starts with
// @" is stored quoted, so the two forms never meet.
namespace profile {

bool IsBlank(char c);
std::string_view TrimBlanks(std::string_view text);

// The text written after "key=" for value; it never holds a line break.
std::string StoredForm(std::string_view value);

// The value that the text after "=" (blanks around it already dropped) stands for.
std::string ReadForm(std::string_view stored);

// Cuts text to at most limit bytes, dropping a UTF-8 sequence that the cut
// would leave incomplete at the end.
void CutToLimit(std::string& text, std::size_t limit);

} // namespace profile
