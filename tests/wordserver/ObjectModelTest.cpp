#include <gtest/gtest.h>

#include <functional>

#include "Fixtures.h"
#include "TestFolder.h"
#include "automation/AutomationError.h"
#include "automation/OleObject.h"

using automation::OleObject;
using automation::Variant;

namespace {

// A Word application with one document open, driven by late-bound calls as the
// edit script drives it; the document is closed unsaved and Word told to quit.
class OpenDocument {
public:
    explicit OpenDocument(const TestFolder& folder) : doc_(folder.path("model.doc"))
    {
        fixtures::MakeDocument(doc_, {});
        word = automation::CreateOleObject("word.application");
        word.put("visible", Variant::boolean(false));
        word.call("ChangeFileOpenDirectory", {folder.path() + "/"});
        word.get("Documents").call("Open", {}, {{"FileName", "model.doc"}, {"Format", 0}});
    }
    ~OpenDocument()
    {
        try {
            word.get("activedocument").call("close", {}, {{"SaveChanges", 0}});
        } catch (...) {
        }
        word.call("quit");
    }
    const std::string& path() const { return doc_; }
    OleObject view() const { return word.get("ActiveWindow").get("ActivePane").get("View"); }
    OleObject selection() const { return word.get("Selection"); }

    OleObject word;

private:
    std::string doc_;
};

TEST(ObjectModelTest, WindowViewAndHeaderFooterAnswerAsWordDoes)
{
    TestFolder folder;
    OpenDocument d(folder);
    EXPECT_EQ(d.word.get("Activewindow").get("View").value("SplitSpecial"), Variant(0));
    EXPECT_EQ(d.view().value("Type"), Variant(3));
    EXPECT_NO_THROW(d.view().put("Type", 3));
    EXPECT_NO_THROW(d.word.get("ActiveWindow").method("Panes", {1}));
    EXPECT_EQ(d.view().value("SeekView"), Variant(0));
    d.view().put("SeekView", 9);
    EXPECT_EQ(d.view().value("SeekView"), Variant(9));
    EXPECT_EQ(d.selection().get("HeaderFooter").value("IsHeader"), Variant::boolean(true));
    d.view().put("SeekView", 10);
    EXPECT_EQ(d.selection().get("HeaderFooter").value("IsHeader"), Variant::boolean(false));
}

struct Misuse {
    const char* name;
    std::function<void(OpenDocument&)> call;
};

void PrintTo(const Misuse& c, std::ostream* os) { *os << c.name; }

const Misuse kMisuses[] = {
    {"SecondPaneOfUnsplitWindow", [](OpenDocument& d) { d.word.get("Activewindow").method("Panes", {2}); }},
    {"ClosingTheOnlyPane", [](OpenDocument& d) { d.word.get("ActiveWindow").get("ActivePane").call("Close"); }},
    {"NormalView", [](OpenDocument& d) { d.view().put("Type", 1); }},
    {"SeekViewNotServed", [](OpenDocument& d) { d.view().put("SeekView", 1); }},
    {"HeaderFooterOutsideHeaders", [](OpenDocument& d) { d.selection().get("HeaderFooter"); }},
    {"DistributedAlignment", [](OpenDocument& d) { d.selection().get("ParagraphFormat").put("Alignment", 4); }},
    {"LinkedPicture",
     [](OpenDocument& d) {
         d.selection().get("InlineShapes").call("AddPicture", {}, {{"FileName", "x.png"},
                                                                   {"LinkToFile", Variant::boolean(true)}});
     }},
    {"VisibleWord", [](OpenDocument& d) { d.word.put("visible", Variant::boolean(true)); }},
    {"OpenWithWritePassword",
     [](OpenDocument& d) {
         d.word.get("Documents").call("Open", {}, {{"FileName", "model.doc"}, {"WritePasswordDocument", "x"}});
     }},
    {"OpenInAnotherFormat",
     [](OpenDocument& d) { d.word.get("Documents").call("Open", {}, {{"FileName", "model.doc"}, {"Format", 4}}); }},
    {"OpenMissingFile", [](OpenDocument& d) { d.word.get("Documents").call("Open", {}, {{"FileName", "none.doc"}}); }},
    {"UnknownMember", [](OpenDocument& d) { d.word.call("PrintOut"); }},
};

class MisuseTest : public testing::TestWithParam<Misuse> {};

TEST_P(MisuseTest, RaisesAndChangesNothing)
{
    TestFolder folder;
    std::string before;
    {
        OpenDocument d(folder);
        before = fixtures::ReadBytes(d.path());
        EXPECT_THROW(GetParam().call(d), automation::AutomationError);
    }
    EXPECT_EQ(fixtures::ReadBytes(folder.path("model.doc")), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, MisuseTest, testing::ValuesIn(kMisuses),
                         [](const testing::TestParamInfo<Misuse>& info) { return info.param.name; });

// An open document leaves no lock file beside it, and closing it unsaved after
// an edit leaves the file as it was.
TEST(ObjectModelTest, ClosingUnsavedKeepsTheFileAndNoLockFileIsMade)
{
    TestFolder folder;
    std::string before;
    {
        OpenDocument d(folder);
        before = fixtures::ReadBytes(d.path());
        d.view().put("SeekView", 9);
        d.selection().call("WholeStory");
        d.selection().call("TypeText", {}, {{"Text", "unsaved"}});
        EXPECT_EQ(folder.entries(), (std::set<std::string>{"model.doc"}));
    }
    EXPECT_EQ(fixtures::ReadBytes(folder.path("model.doc")), before);
}

// Calls on a document after it was closed, or on Word after it quit, raise.
TEST(ObjectModelTest, ClosedDocumentAndQuitWordRaise)
{
    TestFolder folder;
    const std::string doc = folder.path("model.doc");
    fixtures::MakeDocument(doc, {});
    OleObject word = automation::CreateOleObject("word.application");
    word.call("ChangeFileOpenDirectory", {folder.path()});
    word.get("Documents").call("Open", {}, {{"FileName", "model.doc"}});
    const OleObject document = word.get("activedocument");
    document.call("close");
    EXPECT_THROW(document.call("saveas", {doc}), automation::AutomationError);
    EXPECT_THROW(word.get("Selection"), automation::AutomationError);
    word.call("quit");
    EXPECT_THROW(word.get("Documents"), automation::AutomationError);
}

} // namespace

namespace {

// Typing over a selection replaces it, as Word does with its default options:
// a picture selected with the whole header is replaced by the typed text.
TEST(ObjectModelTest, TypingReplacesTheSelection)
{
    TestFolder folder;
    const std::string picture = folder.path("logo.png");
    fixtures::MakePicture(picture, 16, 16);
    {
        OpenDocument d(folder);
        d.view().put("SeekView", 9);
        d.selection().call("WholeStory");
        d.selection().call("Delete");
        d.selection().get("InlineShapes").call("AddPicture", {}, {{"FileName", picture},
                                                                  {"LinkToFile", Variant::boolean(false)},
                                                                  {"SaveWithDocument", Variant::boolean(true)}});
        d.selection().call("WholeStory");
        d.selection().call("TypeText", {}, {{"Text", "typed"}});
        d.word.get("activedocument").call("saveas", {d.path()});
    }
    const auto page = fixtures::ReadFirstPage(folder.path("model.doc"));
    EXPECT_EQ(page.headerText, "typed");
    EXPECT_EQ(page.headerPictures, 0);
}

} // namespace
