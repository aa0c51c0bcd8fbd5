#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>

#include "OfficeUrl.h"
#include "UnoText.h"
#include "WordBinary.h"

namespace wordengine {

class OfficeSession;

// Which story the selection is in, as Word's SeekView moves it.
enum class Story { Main, Header, Footer };

// A story's text and a cursor in it.
struct StoryCursor {
    css::uno::Reference<css::text::XText> text;
    css::uno::Reference<css::text::XTextCursor> cursor;
};

// An open document with its one window and that window's selection.
struct DocumentState {
    std::shared_ptr<OfficeSession> session;
    css::uno::Reference<css::frame::XModel> model;
    std::string path;         // full path, as bytes
    std::string saveFilter;   // the filter that writes the format it was opened in
    std::shared_ptr<OfficeUrl> url; // how the office reaches the file while it is open
    bool closed = false;
    bool changed = false;     // edited since opened or last saved

    Story story = Story::Main;
    // The page the selection stands on: its page style, whether it is the first
    // page of that style and whether its number is even (a left page).
    OUString pageStyle;
    bool firstPage = true;
    bool evenPage = false;
    css::uno::Reference<css::text::XText> storyText;
    css::uno::Reference<css::text::XTextCursor> selection;

    // The file's own table of header and footer stories (Word 97-2003 files), the
    // page style of each of its sections, and the copies that the office made of
    // the selection's story for later sections linked to it: every edit of the
    // story is made in them too, as Word shows the linked story there.
    std::optional<HeaderStoryTable> storyTable;
    std::optional<std::vector<OUString>> sectionStyles;
    std::vector<StoryCursor> linkedCopies;
};

// One application object: its documents (the last one is active) and its settings.
struct ApplicationState {
    std::shared_ptr<OfficeSession> session;
    bool quit = false;
    std::string openFolder;   // ChangeFileOpenDirectory, with a trailing "/"
    std::vector<std::shared_ptr<DocumentState>> documents;

    // The active document; raises Word's "no document is open" otherwise.
    std::shared_ptr<DocumentState> active() const;
    void remove(const std::shared_ptr<DocumentState>& document);
};

// Raises when the document was closed behind a reference the client still holds.
void RequireOpen(const DocumentState& document);

} // namespace wordengine
