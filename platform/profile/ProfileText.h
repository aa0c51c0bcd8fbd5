#pragma once
#include <optional>
#include <string>
#include <string_view>

// The INI text layout as the Windows profile service reads and edits it:
// "[section]" lines, then "key=value" lines. Lines end at CR LF, LF or a lone
// CR; a UTF-8 byte-order mark before the first line is passed over. Section and
// key names compare without regard to ASCII case, blanks around names and
// values do not count, and of two sections or two keys of one name the first
// wins. Lines without "=" and lines before the first section hold no key.
namespace profile {

// Whether a name can be written as a section or key line of its own.
bool IsValidSectionName(std::string_view name);
bool IsValidKeyName(std::string_view name);

// The text after the "=" of the key's line, blanks around it dropped;
// nothing when the section or the key is missing.
std::optional<std::string_view> FindStoredValue(std::string_view text, std::string_view section,
                                                std::string_view key);

// text with the key's line holding "key=stored": the first such line is
// rewritten in place, or a new line goes after the last non-blank line of the
// section, or the section is added at the end. Every other byte stays as it was.
std::string WithStoredValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view stored);

} // namespace profile
