#include "HeaderFooterStory.h"
#include "WordObjects.h"

using automation::DispatchArgs;
using automation::Variant;

namespace wordengine {

namespace {

// Word's view types and the SeekView targets served here.
constexpr int wdPrintView = 3;
constexpr int wdPaneNone = 0;
constexpr int wdSeekMainDocument = 0;
constexpr int wdSeekCurrentPageHeader = 9;
constexpr int wdSeekCurrentPageFooter = 10;

automation::DispatchPtr paneOf(const std::shared_ptr<DocumentState>& document)
{
    return std::make_shared<WordPane>(document);
}

// A LibreOffice window is never split: it has exactly one pane.
Variant paneAt(const std::shared_ptr<DocumentState>& document, int index)
{
    if (index != 1)
        Fail("The requested member of the collection does not exist.");
    return Variant(paneOf(document));
}

void seek(DocumentState& document, int target)
{
    switch (target) {
    case wdSeekMainDocument:
        SelectBodyStart(document);
        document.linkedCopies.clear();
        return;
    case wdSeekCurrentPageHeader:
    case wdSeekCurrentPageFooter: {
        const bool header = target == wdSeekCurrentPageHeader;
        document.storyText = PageHeaderFooter(document, header);
        document.story = header ? Story::Header : Story::Footer;
        document.selection = document.storyText->createTextCursor();
        document.selection->gotoStart(false);
        document.linkedCopies = LinkedCopies(document, header);
        return;
    }
    default:
        Fail("SeekView " + std::to_string(target) + " is not supported by this server.");
    }
}

class WordPanes : public WordObject {
public:
    explicit WordPanes(std::shared_ptr<DocumentState> document) : WordObject(document->session)
    {
        addProperty("Count", [document] {
            RequireOpen(*document);
            return Variant(1);
        });
        addMethod("Item", {"Index"}, [document](const DispatchArgs& a) {
            RequireOpen(*document);
            return paneAt(document, a.at(0).asInt());
        });
    }
};

} // namespace

WordWindow::WordWindow(std::shared_ptr<DocumentState> document) : WordObject(document->session)
{
    addProperty("View", [document] {
        RequireOpen(*document);
        return Variant(automation::DispatchPtr(std::make_shared<WordView>(document)));
    });
    addProperty("ActivePane", [document] {
        RequireOpen(*document);
        return Variant(paneOf(document));
    });
    addMethod("Panes", {"Index"}, [document](const DispatchArgs& a) {
        RequireOpen(*document);
        if (!a.has(0))
            return Variant(automation::DispatchPtr(std::make_shared<WordPanes>(document)));
        return paneAt(document, a.at(0).asInt());
    });
    addProperty("Split", [document] {
        RequireOpen(*document);
        return Variant::boolean(false);
    });
}

WordPane::WordPane(std::shared_ptr<DocumentState> document) : WordObject(document->session)
{
    addProperty("View", [document] {
        RequireOpen(*document);
        return Variant(automation::DispatchPtr(std::make_shared<WordView>(document)));
    });
    addMethod("Close", {}, [document](const DispatchArgs&) -> Variant {
        RequireOpen(*document);
        Fail("The window is not split; its only pane cannot be closed.");
    });
}

WordView::WordView(std::shared_ptr<DocumentState> document) : WordObject(document->session)
{
    addProperty("SplitSpecial", [document] {
        RequireOpen(*document);
        return Variant(wdPaneNone);
    });
    // LibreOffice lays documents out as pages only: the print layout.
    addProperty("Type", [document] {
        RequireOpen(*document);
        return Variant(wdPrintView);
    }, [document](const Variant& value) {
        RequireOpen(*document);
        if (value.asInt() != wdPrintView)
            Fail("Only the print layout view (3) is supported by this server.");
    });
    addProperty("SeekView", [document] {
        RequireOpen(*document);
        switch (document->story) {
        case Story::Header: return Variant(wdSeekCurrentPageHeader);
        case Story::Footer: return Variant(wdSeekCurrentPageFooter);
        case Story::Main: break;
        }
        return Variant(wdSeekMainDocument);
    }, [document](const Variant& value) {
        RequireOpen(*document);
        seek(*document, value.asInt());
    });
}

} // namespace wordengine
