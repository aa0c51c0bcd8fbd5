// The edit script's whole call transcripts against the recording Word server.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <functional>

#include "BatchLifetime.h"
#include "Dialogs.h"
#include "RadioGroup.h"
#include "RecordingWord.h"
#include "StatusBar.h"
#include "Unit1.h"
#include "automation/AutomationError.h"
#include "automation/ComInit.h"
#include "automation/ProgIdTable.h"

using Lines = std::vector<std::string>;
using Setup = std::function<void(TForm1&, RecordingWord&)>;
Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(Lines)

namespace {

const std::string kFolder = "/tmp/报告 2026/子目录/";
const std::string kFile = "季度.总结.doc";
const std::string kPath = kFolder + kFile;

std::string quoted(const std::string& s) { return "str:\"" + s + "\""; }

Lines operator+(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The expected lines of each step of the script, as the recording server writes them.
const Lines visibleOff = {"put WordApp.visible bool:0"};
const Lines s1 = {"call WordApp.ChangeFileOpenDirectory &" + quoted(kFolder)};
const Lines s2 = {"get WordApp.Documents",
                  "call WordApp.Documents.Open FileName=&" + quoted(kFile)
                      + " ConfirmConversions=bool:0 ReadOnly=bool:0 AddToRecentFiles=bool:0"
                        " PasswordDocument=str:\"\" PasswordTemplate=str:\"\" Revert=bool:0"
                        " WritePasswordDocument=str:\"\" WritePasswordTemplate=str:\"\" Format=int:0"};
const Lines s3 = {"get WordApp.Activewindow", "get WordApp.Activewindow.View",
                  "get WordApp.Activewindow.View.SplitSpecial"};
const Lines s4 = {"get WordApp.Activewindow", "method WordApp.Activewindow.Panes int:2",
                  "call WordApp.Activewindow.Panes.Close"};
const Lines paneView = {"get WordApp.Activewindow", "get WordApp.Activewindow.ActivePane",
                        "get WordApp.Activewindow.ActivePane.View"};
const Lines s5 = paneView + Lines{"get WordApp.Activewindow.ActivePane.View.Type"};
const Lines s6 = {"get WordApp.ActiveWindow", "get WordApp.ActiveWindow.ActivePane",
                  "get WordApp.ActiveWindow.ActivePane.View", "get WordApp.ActiveWindow.ActivePane.View.Type"};
const Lines s7 = paneView + Lines{"put WordApp.Activewindow.ActivePane.View.Type int:3"};
Lines seek(int view) { return paneView + Lines{"put WordApp.Activewindow.ActivePane.View.SeekView int:" + std::to_string(view)}; }
const Lines wholeStory = {"get WordApp.Selection", "call WordApp.Selection.WholeStory"};
const Lines deleteSelection = {"get WordApp.Selection", "call WordApp.Selection.Delete"};
Lines addPicture(const std::string& file)
{
    return {"get WordApp.Selection", "get WordApp.Selection.InlineShapes",
            "call WordApp.Selection.InlineShapes.AddPicture FileName=&" + quoted(file)
                + " LinkToFile=bool:0 SaveWithDocument=bool:-1"};
}
Lines align(int value)
{
    return {"get WordApp.Selection", "get WordApp.Selection.ParagraphFormat",
            "put WordApp.Selection.ParagraphFormat.Alignment int:" + std::to_string(value)};
}
Lines typeText(const std::string& text) { return {"get WordApp.Selection", "call WordApp.Selection.TypeText Text=&" + quoted(text)}; }
const Lines s17 = {"get WordApp.Selection", "get WordApp.Selection.HeaderFooter",
                   "get WordApp.Selection.HeaderFooter.IsHeader"};
const Lines saveCloseQuit = {"get WordApp.activedocument", "call WordApp.activedocument.saveas &" + quoted(kPath),
                             "get WordApp.activedocument", "call WordApp.activedocument.close", "call WordApp.quit"};
const Lines abandon = {"get WordApp.activedocument", "call WordApp.activedocument.close SaveChanges=int:0",
                       "call WordApp.quit SaveChanges=int:0"};

// Opening and emptying the header, as every run does before the header blocks.
const Lines head = visibleOff + s1 + s2 + s3 + s5 + s6 + seek(9) + wholeStory + deleteSelection;
// Moving to the footer and emptying it.
const Lines toFooter = s17 + seek(10) + wholeStory + deleteSelection;

void tickPicture(TForm1& f, const QString& path, int position)
{
    f.CheckBox1->setChecked(true);
    f.Edit1->setText(path);
    f.RadioGroup1->setItemIndex(position);
}

void tickHeaderText(TForm1& f, const QString& text, int position)
{
    f.CheckBox2->setChecked(true);
    TForm1::setMemoText(f.Memo1, text);
    f.RadioGroup2->setItemIndex(position);
}

void tickFooter(TForm1& f, const QString& text, int position)
{
    f.CheckBox3->setChecked(true);
    TForm1::setMemoText(f.Memo2, text);
    f.RadioGroup3->setItemIndex(position);
}

QString joined(const Lines& lines)
{
    QStringList list;
    for (const std::string& l : lines)
        list << QString::fromStdString(l);
    return list.join(u'\n');
}

struct Boxes {
    Boxes()
    {
        dialogs::SetPresenter([this](dialogs::BoxKind, const QString& text) {
            texts << text;
            buttonWasEnabled << (Form1 && Form1->Button1->isEnabled());
        });
    }
    ~Boxes() { dialogs::SetPresenter({}); }
    QStringList texts;
    QList<bool> buttonWasEnabled;
};

void writeFile(const QString& path)
{
    std::ofstream(path.toStdString()) << "not a real document";
}

} // namespace

class EditScriptTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { automation::CoInitialize(); }
    void cleanupTestCase() { automation::CoUninitialize(); }
    void transcript_data();
    void transcript();
    void startFailureShowsMessageAndSkips_data();
    void startFailureShowsMessageAndSkips();
    void batchEndsAtFailedDocumentWithEarlierOnesSaved();
    void batchWithoutWordRunsToSuccess();
    void controlChangedBetweenDocumentsChangesOnlyTheSecond();
    void fieldEmptiedAfterStartWalksNothing();
};

void EditScriptTest::transcript_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<Lines>("expected");
    QTest::addColumn<bool>("fails");
    const Setup nothing = [](TForm1&, RecordingWord&) {};
    const std::string logo = "/pictures/标志.png";

    QTest::newRow("no option ticked") << nothing << head + toFooter + saveCloseQuit << false;
    const int pictureAlignment[] = {3, 1, 2};
    for (int position : {0, 1, 2})
        QTest::addRow("picture at position %d", position)
            << Setup([position](TForm1& f, RecordingWord&) { tickPicture(f, "  /pictures/标志.png\t", position); })
            << head + addPicture(logo) + wholeStory + align(pictureAlignment[position]) + toFooter + saveCloseQuit
            << false;
    QTest::newRow("picture with no position")
        << Setup([](TForm1& f, RecordingWord&) { tickPicture(f, "/pictures/标志.png", -1); })
        << head + addPicture(logo) + wholeStory + toFooter + saveCloseQuit << false;
    QTest::newRow("picture ticked, blank path")
        << Setup([](TForm1& f, RecordingWord&) { tickPicture(f, " \t ", 1); }) << head + toFooter + saveCloseQuit
        << false;
    QTest::newRow("header text typed as it stands")
        << Setup([](TForm1& f, RecordingWord&) { tickHeaderText(f, "  第一行\u00A0页\r\n第二行\r\n", 0); })
        << head + typeText("  第一行\u00A0页\r\n第二行\r\n") + wholeStory + align(3) + toFooter + saveCloseQuit << false;
    QTest::newRow("picture then header text")
        << Setup([](TForm1& f, RecordingWord& word) {
               tickPicture(f, "/pictures/标志.png", 2);
               TForm1::setMemoText(f.Memo1, "页眉");
               f.RadioGroup2->setItemIndex(1);
               // The text box is ticked once the picture block has been read, as a user might do.
               word.onCall = [&f](const RecordingWord::Call& c) {
                   if (c.member == "AddPicture")
                       f.CheckBox2->setChecked(true);
               };
           })
        << head + addPicture(logo) + wholeStory + align(2) + typeText("页眉") + wholeStory + align(1) + toFooter
               + saveCloseQuit
        << false;
    QTest::newRow("footer only, left is 0")
        << Setup([](TForm1& f, RecordingWord&) { tickFooter(f, "第 1 页\r\n机密", 0); })
        << head + toFooter + typeText("第 1 页\r\n机密") + wholeStory + align(0) + saveCloseQuit << false;
    QTest::newRow("blank texts skip their blocks")
        << Setup([](TForm1& f, RecordingWord&) {
               tickHeaderText(f, "  \r\n\t", 1);
               tickFooter(f, " \r\n ", 1);
           })
        << head + toFooter + saveCloseQuit << false;
    QTest::newRow("split window closes pane 2")
        << Setup([](TForm1&, RecordingWord& w) { w.splitSpecial = 1; })
        << visibleOff + s1 + s2 + s3 + s4 + s5 + s6 + seek(9) + wholeStory + deleteSelection + toFooter + saveCloseQuit
        << false;
    QTest::newRow("normal view: one get, then print view")
        << Setup([](TForm1&, RecordingWord& w) { w.viewType = 1; })
        << visibleOff + s1 + s2 + s3 + s5 + s7 + seek(9) + wholeStory + deleteSelection + toFooter + saveCloseQuit
        << false;
    QTest::newRow("outline view: two gets, then print view")
        << Setup([](TForm1&, RecordingWord& w) { w.viewType = 2; })
        << visibleOff + s1 + s2 + s3 + s5 + s6 + s7 + seek(9) + wholeStory + deleteSelection + toFooter
               + saveCloseQuit
        << false;
    QTest::newRow("selection not in a header seeks the header again")
        << Setup([](TForm1& f, RecordingWord& w) {
               w.isHeader = automation::Variant::boolean(false);
               tickFooter(f, "页脚", 2);
           })
        << head + s17 + seek(9) + wholeStory + deleteSelection + typeText("页脚") + wholeStory + align(2)
               + saveCloseQuit
        << false;
    QTest::newRow("open fails: nothing saved, document abandoned")
        << Setup([](TForm1&, RecordingWord& w) { w.failWhen = [](auto& c) { return c.member == "Open"; }; })
        << visibleOff + s1 + s2 + abandon << true;
    QTest::newRow("picture fails: nothing saved, document abandoned")
        << Setup([](TForm1& f, RecordingWord& w) {
               tickPicture(f, "/pictures/标志.png", 1);
               w.failWhen = [](auto& c) { return c.member == "AddPicture"; };
           })
        << head + addPicture(logo) + abandon << true;
    QTest::newRow("a value that cannot be compared fails")
        << Setup([](TForm1&, RecordingWord& w) { w.splitSpecial = "split"; }) << visibleOff + s1 + s2 + s3 + abandon
        << true;
}

void EditScriptTest::transcript()
{
    QFETCH(Setup, setup);
    QFETCH(Lines, expected);
    QFETCH(bool, fails);
    TForm1 form;
    RecordingWord word;
    Boxes boxes;
    setup(form, word);

    bool raised = false;
    try {
        form.ModifyDocument(kPath);
    } catch (const automation::AutomationError&) {
        raised = true;
    }
    QCOMPARE(joined(word.lines()), joined(expected));
    QCOMPARE(raised, fails);
    QCOMPARE(word.liveObjects(), 0);
    QVERIFY(boxes.texts.isEmpty());
}

void EditScriptTest::startFailureShowsMessageAndSkips_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<Lines>("expected");
    QTest::newRow("creation fails") << Setup([](TForm1&, RecordingWord& w) { w.failOnCreate = true; }) << Lines{};
    QTest::newRow("visible fails: that instance is told to quit")
        << Setup([](TForm1&, RecordingWord& w) { w.failWhen = [](auto& c) { return c.member == "visible"; }; })
        << visibleOff + abandon;
}

void EditScriptTest::startFailureShowsMessageAndSkips()
{
    QFETCH(Setup, setup);
    QFETCH(Lines, expected);
    TForm1 form;
    RecordingWord word;
    Boxes boxes;
    setup(form, word);
    form.ModifyDocument(kPath); // returns normally
    QCOMPARE(boxes.texts, QStringList{"创建对像失败!"});
    QCOMPARE(joined(word.lines()), joined(expected));
    QCOMPARE(word.liveObjects(), 0);
}

namespace {

// Runs one batch through the batch button and waits for its end message to be closed.
void runBatch(TForm1& form, const QString& folder)
{
    form.Edit2->setText(folder);
    form.Button1Click();
    QVERIFY(!form.Button1->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(form.Button1->isEnabled(), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(batchlife::RunningWorkers(), 0, 20000);
}

// A folder of documents and the main window that runs a batch over it.
struct BatchFixture {
    explicit BatchFixture(std::initializer_list<const char*> documents)
    {
        for (const char* name : documents) {
            const QString path = dir.filePath(name);
            QDir().mkpath(QFileInfo(path).path());
            writeFile(path);
        }
        Form1 = &form;
    }
    ~BatchFixture() { Form1 = nullptr; }
    QTemporaryDir dir;
    TForm1 form;
};

} // namespace

void EditScriptTest::batchEndsAtFailedDocumentWithEarlierOnesSaved()
{
    BatchFixture batch{"a.doc", "b.doc", "c.doc"};
    TForm1& form = batch.form;
    RecordingWord word;
    Boxes boxes;
    word.failWhen = [](const RecordingWord::Call& c) { return c.document == 2 && c.member == "Open"; };
    runBatch(form, batch.dir.path());

    QCOMPARE(boxes.texts, QStringList{"修改失败！"});
    QCOMPARE(boxes.buttonWasEnabled, QList<bool>{false});
    QCOMPARE(word.created(), 2);
    QCOMPARE(word.savedPaths().size(), size_t(1));
    QCOMPARE(FileCount, 2);
    QCOMPARE(form.StatusBar1->panelText(1), QStringLiteral("已修改1个"));
    std::string failedName;
    for (const RecordingWord::Call& c : word.calls())
        if (c.document == 2 && c.member == "Open")
            failedName = c.named.front().value.asString();
    QCOMPARE(form.StatusBar1->panelText(2), batch.dir.filePath(QString::fromStdString(failedName)));
    QCOMPARE(word.liveObjects(), 0);
}

void EditScriptTest::batchWithoutWordRunsToSuccess()
{
    BatchFixture batch{"a.doc", "b.doc", "c.doc"};
    Boxes boxes;
    automation::RevokeClassFactory("word.application");
    runBatch(batch.form, batch.dir.path());
    QCOMPARE(boxes.texts, (QStringList{"创建对像失败!", "创建对像失败!", "创建对像失败!", "修改成功！"}));
    QCOMPARE(batch.form.StatusBar1->panelText(1), QStringLiteral("已修改3个"));
}

void EditScriptTest::controlChangedBetweenDocumentsChangesOnlyTheSecond()
{
    BatchFixture batch{"a.doc", "sub/b.doc"};
    TForm1& form = batch.form;
    TForm1::setMemoText(form.Memo2, "页脚");
    form.RadioGroup3->setItemIndex(1);
    RecordingWord word;
    Boxes boxes;
    // The user ticks the footer box while the first document is being saved.
    word.onCall = [&form](const RecordingWord::Call& c) {
        if (c.document == 1 && c.member == "saveas")
            QMetaObject::invokeMethod(&form, [&form] { form.CheckBox3->setChecked(true); },
                                      Qt::BlockingQueuedConnection);
    };
    runBatch(form, batch.dir.path());
    QCOMPARE(boxes.texts, QStringList{"修改成功！"});
    auto typed = [&](int document) {
        const Lines lines = word.lines(document);
        return std::count_if(lines.begin(), lines.end(),
                             [](const std::string& l) { return l.find("TypeText") != std::string::npos; });
    };
    QCOMPARE(typed(1), 0);
    QCOMPARE(typed(2), 1);
}

void EditScriptTest::fieldEmptiedAfterStartWalksNothing()
{
    // The worker reads the field only once the window thread serves it, so a field
    // emptied right after the start is what it sees: never the root of the disk.
    BatchFixture batch{"a.doc"};
    TForm1& form = batch.form;
    RecordingWord word;
    Boxes boxes;
    form.Edit2->setText(batch.dir.path());
    form.Button1Click();
    form.Edit2->setText("  ");
    QTRY_VERIFY_WITH_TIMEOUT(form.Button1->isEnabled(), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(batchlife::RunningWorkers(), 0, 20000);
    QCOMPARE(boxes.texts, QStringList{"修改失败！"});
    QCOMPARE(word.created(), 0);
    QCOMPARE(FileCount, 0);
}

QTEST_MAIN(EditScriptTest)
#include "EditScriptTest.moc"
