#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "BatchLifetime.h"
#include "Dialogs.h"
#include "DocumentPath.h"
#include "RadioGroup.h"
#include "Trim.h"
#include "Unit1.h"
#include "WindowThread.h"
#include "automation/OleObject.h"

using automation::byRef;
using automation::CreateOleObject;
using automation::OleObject;
using automation::Variant;

namespace {

const Variant False = Variant::boolean(false);
const Variant True = Variant::boolean(true);

// The script tests a get's value against a constant; a value that is no number
// (a text, an object, nothing) cannot be compared and fails the call.
bool valueEquals(const Variant& value, int32_t constant) { return value.asInt() == constant; }

// After a failed step the document is closed unsaved and that Word told to quit,
// so that no open document or engine instance is left behind; then the failure goes on.
void abandonWord(const OleObject& WordApp)
{
    const Variant wdDoNotSaveChanges = 0;
    try {
        WordApp.get("activedocument").call("close", {}, {{"SaveChanges", wdDoNotSaveChanges}});
    } catch (...) {
    }
    try {
        WordApp.call("quit", {}, {{"SaveChanges", wdDoNotSaveChanges}});
    } catch (...) {
    }
}

} // namespace

void TForm1::ModifyDocument(const std::string& path)
{
    auto onWindow = [this](auto read) { return ReadOnWindowThread(this, read); };
    auto ticked = [&](QCheckBox* box) { return onWindow([box] { return box->isChecked(); }); };
    auto position = [&](TRadioGroup* group) { return onWindow([group] { return group->itemIndex(); }); };

    const std::string headerText = onWindow([this] { return memoText(Memo1).toStdString(); });
    const std::string footerText = onWindow([this] { return memoText(Memo2).toStdString(); });
    const std::string picturePath = Trim(onWindow([this] { return Edit1->text().toStdString(); }));

    OleObject WordApp;
    try {
        WordApp = CreateOleObject("word.application");
        WordApp.put("visible", False);
    } catch (...) {
        if (!WordApp.isNull())
            abandonWord(WordApp);
        onWindow([] {
            if (!batchlife::StopRequested())
                dialogs::ShowMessage(QStringLiteral("创建对像失败!"));
        });
        return;
    }

    const auto [folderPart, fileName] = SplitDocumentPath(path);

    // Word's paragraph alignment for the block's position: "居左" is 3 (justified) in
    // the header blocks and 0 in the footer block; each test reads the group afresh.
    auto align = [&](TRadioGroup* group, int32_t leftValue) {
        if (position(group) == 0)
            WordApp.get("Selection").get("ParagraphFormat").put("Alignment", leftValue);
        if (position(group) == 1)
            WordApp.get("Selection").get("ParagraphFormat").put("Alignment", 1);
        if (position(group) == 2)
            WordApp.get("Selection").get("ParagraphFormat").put("Alignment", 2);
    };

    try {
        WordApp.call("ChangeFileOpenDirectory", {byRef(folderPart)});                                   // 1
        WordApp.get("Documents").call("Open", {}, {{"FileName", byRef(fileName)},                       // 2
                                                   {"ConfirmConversions", False},
                                                   {"ReadOnly", False},
                                                   {"AddToRecentFiles", False},
                                                   {"PasswordDocument", ""},
                                                   {"PasswordTemplate", ""},
                                                   {"Revert", False},
                                                   {"WritePasswordDocument", ""},
                                                   {"WritePasswordTemplate", ""},
                                                   {"Format", 0}});
        if (!valueEquals(WordApp.get("Activewindow").get("View").value("SplitSpecial"), 0))             // 3
            WordApp.get("Activewindow").method("Panes", {2}).call("Close");                             // 4
        bool toPrintView = valueEquals(WordApp.get("Activewindow").get("ActivePane").get("View").value("Type"), 1); // 5
        if (!toPrintView)
            toPrintView = valueEquals(WordApp.get("ActiveWindow").get("ActivePane").get("View").value("Type"), 2);  // 6
        if (toPrintView)
            WordApp.get("Activewindow").get("ActivePane").get("View").put("Type", 3);                   // 7
        WordApp.get("Activewindow").get("ActivePane").get("View").put("SeekView", 9);                   // 8
        WordApp.get("Selection").call("WholeStory");                                                    // 9
        WordApp.get("Selection").call("Delete");                                                        // 10

        if (ticked(CheckBox1) && !picturePath.empty()) {
            WordApp.get("Selection").get("InlineShapes").call("AddPicture", {},                         // 11
                                                              {{"FileName", byRef(picturePath)},
                                                               {"LinkToFile", False},
                                                               {"SaveWithDocument", True}});
            WordApp.get("Selection").call("WholeStory");                                                // 12
            align(RadioGroup1, 3);                                                                      // 13
        }
        if (ticked(CheckBox2) && !Trim(headerText).empty()) {
            WordApp.get("Selection").call("TypeText", {}, {{"Text", byRef(headerText)}});               // 14
            WordApp.get("Selection").call("WholeStory");                                                // 15
            align(RadioGroup2, 3);                                                                      // 16
        }

        const bool inHeader = valueEquals(WordApp.get("Selection").get("HeaderFooter").value("IsHeader"), -1); // 17
        WordApp.get("Activewindow").get("ActivePane").get("View").put("SeekView", inHeader ? 10 : 9);   // 18
        WordApp.get("Selection").call("WholeStory");                                                    // 19
        WordApp.get("Selection").call("Delete");                                                        // 20

        if (ticked(CheckBox3) && !Trim(footerText).empty()) {
            WordApp.get("Selection").call("TypeText", {}, {{"Text", byRef(footerText)}});               // 21
            WordApp.get("Selection").call("WholeStory");                                                // 22
            align(RadioGroup3, 0);                                                                      // 23
        }

        WordApp.get("activedocument").call("saveas", {byRef(path)});                                    // 24
        WordApp.get("activedocument").call("close");                                                    // 25
        WordApp.call("quit");                                                                           // 26
    } catch (...) {
        abandonWord(WordApp);
        throw;
    }
}
