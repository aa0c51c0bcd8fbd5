#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wordengine {

// The header and footer stories of a Word 97-2003 file, as the file itself lists
// them: for each section six stories, in the file's order (even-page header,
// odd-page header, even-page footer, odd-page footer, first-page header,
// first-page footer). A story of a later section that is empty in the file is
// the one Word shows as "linked to previous": it displays the previous section's.
struct HeaderStoryTable {
    std::vector<int32_t> cps;                  // the story boundaries, as stored
    std::vector<std::array<int32_t, 6>> lengths; // per section
};

enum StoryIndex { kEvenHeader = 0, kOddHeader, kEvenFooter, kOddFooter, kFirstHeader, kFirstFooter };

// Nothing when the file is not a readable, unencrypted Word 97-2003 document.
std::optional<HeaderStoryTable> ReadHeaderStoryTable(const std::string& path);

} // namespace wordengine
