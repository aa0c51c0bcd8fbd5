// The main window's choices through the settings file: loaded when the window
// is first shown, saved when it is closed.
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "Dialogs.h"
#include "RadioGroup.h"
#include "Unit1.h"
#include "profile/IniFile.h"

class SettingsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstStartLoadsDefaultsAndSavesAllTenKeys();
    void load_data();
    void load();
    void loadThenSave_data();
    void loadThenSave();
    void textsTrimmedOnSaveButNotInTheFields();
    void multiLineTextsRoundTrip_data();
    void multiLineTextsRoundTrip();
    void longTextsComeBackCut_data();
    void longTextsComeBackCut();
    void refusedWriteKeepsTheWindowOpen_data();
    void refusedWriteKeepsTheWindowOpen();
    void fileWrittenOnWindowsReadsAndKeepsItsLayout();

private:
    QString configFolder() const { return home_.path() + "/config"; }
    QString iniPath() const { return configFolder() + "/Trellane.ini"; }
    void writeIni(const QByteArray& bytes);
    QByteArray readIni() const;
    static std::string stored(const char* key);
    std::unique_ptr<TForm1> openWindow();

    QTemporaryDir home_;
    QStringList errors_;
};

namespace {

QString checks(const TForm1& w)
{
    QString out;
    for (const QCheckBox* box : {w.CheckBox1, w.CheckBox2, w.CheckBox3})
        out += box->isChecked() ? u'1' : u'0';
    return out;
}

QString positions(const TForm1& w)
{
    return QStringLiteral("%1 %2 %3")
        .arg(w.RadioGroup1->itemIndex())
        .arg(w.RadioGroup2->itemIndex())
        .arg(w.RadioGroup3->itemIndex());
}

// Each editor is enabled exactly when its check box is checked.
void verifyEnabling(const TForm1& w)
{
    QCOMPARE(w.Edit1->isEnabled(), w.CheckBox1->isChecked());
    QCOMPARE(w.RadioGroup1->isEnabled(), w.CheckBox1->isChecked());
    QCOMPARE(w.Memo1->isEnabled(), w.CheckBox2->isChecked());
    QCOMPARE(w.RadioGroup2->isEnabled(), w.CheckBox2->isChecked());
    QCOMPARE(w.Memo2->isEnabled(), w.CheckBox3->isChecked());
    QCOMPARE(w.RadioGroup3->isEnabled(), w.CheckBox3->isChecked());
}

} // namespace

void SettingsWindowTest::initTestCase()
{
    QVERIFY(home_.isValid());
    // Before anything reads it: the settings file lives in a folder of this test's own.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configFolder()));
    dialogs::SetPresenter([this](dialogs::BoxKind kind, const QString& text) {
        if (kind == dialogs::BoxKind::Error)
            errors_ << text;
    });
}

void SettingsWindowTest::init()
{
    errors_.clear();
    QFile::setPermissions(configFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(iniPath(), QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(configFolder());
    QDir(configFolder()).removeRecursively();
}

void SettingsWindowTest::cleanup()
{
    QVERIFY2(errors_.isEmpty() || QTest::currentTestFailed(), qPrintable(errors_.join('|')));
}

void SettingsWindowTest::writeIni(const QByteArray& bytes)
{
    QVERIFY(QDir().mkpath(configFolder()));
    QFile file(iniPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray SettingsWindowTest::readIni() const
{
    QFile file(iniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string SettingsWindowTest::stored(const char* key)
{
    return TIniFile("Trellane.ini").ReadString("Trellane", key, "<missing>");
}

std::unique_ptr<TForm1> SettingsWindowTest::openWindow()
{
    auto window = std::make_unique<TForm1>();
    window->show();   // the first show loads the settings
    return window;
}

void SettingsWindowTest::firstStartLoadsDefaultsAndSavesAllTenKeys()
{
    auto w = openWindow();
    QCOMPARE(checks(*w), QStringLiteral("000"));
    QCOMPARE(positions(*w), QStringLiteral("0 0 0"));
    for (const QLineEdit* edit : {w->Edit1, w->Edit2})
        QVERIFY(edit->text().isEmpty());
    for (const QPlainTextEdit* memo : {w->Memo1, w->Memo2})
        QVERIFY(memo->toPlainText().isEmpty());
    verifyEnabling(*w);

    QVERIFY(w->close());
    QCOMPARE(readIni(), QByteArray("[Trellane]\r\n"
                                   "ModifyDir=\r\n"
                                   "IsImage=0\r\n"
                                   "ImagePos=0\r\n"
                                   "ImageName=\r\n"
                                   "IsHeaderText=0\r\n"
                                   "HeaderTextPos=0\r\n"
                                   "HeaderText=\r\n"
                                   "IsFooterText=0\r\n"
                                   "FooterTextPos=0\r\n"
                                   "FooterText=\r\n"));
}

void SettingsWindowTest::load_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("checks");
    QTest::addColumn<QString>("positions");

    QTest::newRow("other section only") << QByteArray("[Other]\nIsImage=1\nImagePos=2\n") << "000" << "0 0 0";
    QTest::newRow("picture on") << QByteArray("[Trellane]\nIsImage=1\nImagePos=1\n") << "100" << "1 0 0";
    QTest::newRow("both flags on") << QByteArray("[Trellane]\nIsImage=1\nIsHeaderText=1\n") << "010" << "0 0 0";
    QTest::newRow("ImagePos 5") << QByteArray("[Trellane]\nImagePos=5\n") << "000" << "2 0 0";
    QTest::newRow("ImagePos -3") << QByteArray("[Trellane]\nImagePos=-3\n") << "000" << "-1 0 0";
    QTest::newRow("ImagePos -1") << QByteArray("[Trellane]\nImagePos=-1\n") << "000" << "-1 0 0";
    QTest::newRow("HeaderTextPos 0x2") << QByteArray("[Trellane]\nHeaderTextPos=0x2\n") << "000" << "0 2 0";
    QTest::newRow("HeaderTextPos $2") << QByteArray("[Trellane]\nHeaderTextPos=$2\n") << "000" << "0 2 0";
    QTest::newRow("HeaderTextPos two") << QByteArray("[Trellane]\nHeaderTextPos=two\n") << "000" << "0 0 0";
    QTest::newRow("HeaderTextPos 2a") << QByteArray("[Trellane]\nHeaderTextPos=2a\n") << "000" << "0 0 0";
    QTest::newRow("HeaderTextPos empty") << QByteArray("[Trellane]\nHeaderTextPos=\n") << "000" << "0 0 0";
    QTest::newRow("IsFooterText 2") << QByteArray("[Trellane]\nIsFooterText=2\nFooterTextPos=1") << "001" << "0 0 1";
    QTest::newRow("IsFooterText -1") << QByteArray("[Trellane]\nIsFooterText=-1\n") << "001" << "0 0 0";
    QTest::newRow("IsFooterText yes") << QByteArray("[Trellane]\nIsFooterText=yes\n") << "000" << "0 0 0";
    QTest::newRow("IsFooterText true") << QByteArray("[Trellane]\nIsFooterText=true\n") << "000" << "0 0 0";
    QTest::newRow("all on, header text wins")
        << QByteArray("[Trellane]\r\nIsImage=1\r\nImagePos=2\r\nIsHeaderText=5\r\nHeaderTextPos=1\r\n"
                      "IsFooterText=1\r\nFooterTextPos=-1\r\n")
        << "011" << "2 1 -1";
}

void SettingsWindowTest::load()
{
    QFETCH(QByteArray, ini);
    writeIni(ini);
    auto w = openWindow();
    QTEST(checks(*w), "checks");
    QTEST(positions(*w), "positions");
    verifyEnabling(*w);
    QVERIFY(w->close());
}

void SettingsWindowTest::loadThenSave_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("saved");

    auto row = [](const char* name, const char* lines, const char* key, const char* saved) {
        QTest::newRow(name) << QByteArray("[Trellane]\n") + lines << QByteArray(key) << QByteArray(saved);
    };
    row("ImagePos -3 saved as -1", "ImagePos=-3", "ImagePos", "-1");
    row("ImagePos -1 stays -1", "ImagePos=-1", "ImagePos", "-1");
    row("ImagePos 5 saved as 2", "ImagePos=5", "ImagePos", "2");
    row("both flags: IsImage saved 0", "IsImage=1\nIsHeaderText=1", "IsImage", "0");
    row("both flags: IsHeaderText saved 1", "IsImage=1\nIsHeaderText=1", "IsHeaderText", "1");
    row("HeaderTextPos $2 saved as 2", "HeaderTextPos=$2", "HeaderTextPos", "2");
    row("IsFooterText -1 saved as 1", "IsFooterText=-1", "IsFooterText", "1");
    row("IsFooterText true saved as 0", "IsFooterText=true", "IsFooterText", "0");
}

void SettingsWindowTest::loadThenSave()
{
    QFETCH(QByteArray, ini);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, saved);
    writeIni(ini);
    for (int run = 1; run <= 2; ++run) {   // and the same again from run to run
        auto w = openWindow();
        QVERIFY(w->close());
        QCOMPARE(QByteArray::fromStdString(stored(key.constData())), saved);
    }
}

void SettingsWindowTest::textsTrimmedOnSaveButNotInTheFields()
{
    auto w = openWindow();
    w->Edit2->setText(QStringLiteral("  /data/文档 \t"));
    w->Edit1->setText(QStringLiteral(" /pics/logo.jpg "));
    TForm1::setMemoText(w->Memo1, QStringLiteral("  head line \r\n second\r\n"));
    TForm1::setMemoText(w->Memo2, QStringLiteral("\r\n  foot \r\n\r\n inner  \r\n\r\n"));
    QVERIFY(w->close());
    QCOMPARE(w->Edit2->text(), QStringLiteral("  /data/文档 \t"));
    QCOMPARE(stored("ModifyDir"), std::string("/data/文档"));
    QCOMPARE(stored("ImageName"), std::string("/pics/logo.jpg"));
    QCOMPARE(stored("HeaderText"), std::string("  head line \r\n second\r\n"));
    QCOMPARE(stored("FooterText"), std::string("foot \r\n\r\n inner"));

    auto next = openWindow();
    QCOMPARE(next->Edit2->text(), QStringLiteral("/data/文档"));
    QCOMPARE(TForm1::memoText(next->Memo1), QStringLiteral("  head line \r\n second\r\n"));
    QCOMPARE(TForm1::memoText(next->Memo2), QStringLiteral("foot \r\n\r\n inner"));
    QVERIFY(next->close());
}

void SettingsWindowTest::multiLineTextsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("two lines") << QStringLiteral("页眉第一行\r\n第二行");
    QTest::newRow("ends with a break") << QStringLiteral("header\r\n");
    QTest::newRow("empty lines only") << QStringLiteral("\r\n\r\n");
    QTest::newRow("lines that look like keys")
        << QStringLiteral("x\r\nModifyDir=/evil\r\n[Other]\r\nIsImage=1\r\n[Trellane]\r\nImageName=y");
    QTest::newRow("backslashes and quotes") << QStringLiteral("\"C:\\new\\table\"\r\n'\\r\\n' @\"x\"");
    QTest::newRow("blanks at the ends of lines") << QStringLiteral("  a  \r\n\t b \t");
    QTest::newRow("one line in quotes") << QStringLiteral("\"quoted\"");
}

void SettingsWindowTest::multiLineTextsRoundTrip()
{
    QFETCH(QString, text);
    auto w = openWindow();
    TForm1::setMemoText(w->Memo1, text);
    w->Edit1->setText(QStringLiteral("/pics/keep.jpg"));
    w->CheckBox3->setChecked(true);
    QVERIFY(w->close());

    auto next = openWindow();
    QCOMPARE(TForm1::memoText(next->Memo1), text);
    QCOMPARE(next->Edit1->text(), QStringLiteral("/pics/keep.jpg"));
    QCOMPARE(checks(*next), QStringLiteral("001"));
    QVERIFY(next->close());
}

void SettingsWindowTest::longTextsComeBackCut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("keptCharacters");
    QTest::newRow("3000 ascii bytes") << QString(3000, u'h') << 2047;
    QTest::newRow("3000 bytes of three-byte characters") << QString(1000, QChar(0x9875)) << 682;
    QTest::newRow("two lines, 3000 bytes") << (QString(1400, u'a') + "\r\n" + QString(1598, u'b')) << 2047;
}

void SettingsWindowTest::longTextsComeBackCut()
{
    QFETCH(QString, text);
    QFETCH(int, keptCharacters);
    auto w = openWindow();
    TForm1::setMemoText(w->Memo1, text);
    TForm1::setMemoText(w->Memo2, text);
    QVERIFY(w->close());

    auto next = openWindow();
    QCOMPARE(TForm1::memoText(next->Memo1), text.left(keptCharacters));
    QCOMPARE(TForm1::memoText(next->Memo2), text.left(keptCharacters));
    QVERIFY(next->close());
}

void SettingsWindowTest::refusedWriteKeepsTheWindowOpen_data()
{
    QTest::addColumn<int>("refusal");
    QTest::newRow("read-only file") << 0;
    QTest::newRow("read-only folder without the file") << 1;
    QTest::newRow("file where the folder should be") << 2;
}

void SettingsWindowTest::refusedWriteKeepsTheWindowOpen()
{
    QFETCH(int, refusal);
    const QByteArray before = "[Trellane]\r\nModifyDir=/old\r\n";
    switch (refusal) {
    case 0:
        writeIni(before);
        QFile::setPermissions(iniPath(), QFile::ReadOwner | QFile::ReadGroup);
        break;
    case 1:
        QVERIFY(QDir().mkpath(configFolder()));
        QFile::setPermissions(configFolder(), QFile::ReadOwner | QFile::ExeOwner);
        break;
    case 2: {
        QFile blocker(configFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        break;
    }
    }

    auto w = openWindow();
    w->Edit2->setText(QStringLiteral("/new"));
    for (int attempt = 1; attempt <= 2; ++attempt) {
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QCOMPARE(errors_, QStringList(QStringLiteral("Unable to write to Trellane.ini.")));
        errors_.clear();
    }
    if (refusal == 0)
        QCOMPARE(readIni(), before);
    else
        QVERIFY(!QFileInfo(iniPath()).isFile());

    // Still usable: a choice made now is in the save once the file can be written.
    w->CheckBox3->setChecked(true);
    QVERIFY(w->Memo2->isEnabled());
    QFile::setPermissions(configFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(iniPath(), QFile::ReadOwner | QFile::WriteOwner);
    if (refusal == 2)
        QVERIFY(QFile::remove(configFolder()));
    QVERIFY(w->close());
    QVERIFY(!w->isVisible());
    for (const char* key : {"ModifyDir", "IsImage", "ImagePos", "ImageName", "IsHeaderText", "HeaderTextPos",
                            "HeaderText", "IsFooterText", "FooterTextPos", "FooterText"})
        QVERIFY2(stored(key) != "<missing>", key);
    QCOMPARE(stored("ModifyDir"), std::string("/new"));
    QCOMPARE(stored("IsFooterText"), std::string("1"));
}

void SettingsWindowTest::fileWrittenOnWindowsReadsAndKeepsItsLayout()
{
    const QByteArray head = "; settings written on Windows\r\n"
                            "[Other]\r\nModifyDir=wrong\r\n\r\n"
                            "[trellane]\r\n";
    writeIni(head +
             "  ModifyDir = D:\\文档\\合同 \r\n"
             "IsImage=0\r\n"
             "imagepos=1\r\n"
             "ImageName=\"C:\\pics\\logo.bmp\"\r\n"
             "IsHeaderText=1\r\n"
             "HeaderTextPos=2\r\n"
             "HeaderText=  公司名称  \r\n"
             "IsFooterText=1\r\n"
             "FooterTextPos=$1\r\n"
             "FooterText=第 1 页\r\n");
    auto w = openWindow();
    QCOMPARE(w->Edit2->text(), QStringLiteral("D:\\文档\\合同"));
    QCOMPARE(w->Edit1->text(), QStringLiteral("C:\\pics\\logo.bmp"));
    QCOMPARE(TForm1::memoText(w->Memo1), QStringLiteral("公司名称"));
    QCOMPARE(TForm1::memoText(w->Memo2), QStringLiteral("第 1 页"));
    QCOMPARE(checks(*w), QStringLiteral("011"));
    QCOMPARE(positions(*w), QStringLiteral("1 2 1"));
    verifyEnabling(*w);

    QVERIFY(w->close());
    QCOMPARE(readIni(), head +
                            "ModifyDir=D:\\文档\\合同\r\n"
                            "IsImage=0\r\n"
                            "ImagePos=1\r\n"
                            "ImageName=C:\\pics\\logo.bmp\r\n"
                            "IsHeaderText=1\r\n"
                            "HeaderTextPos=2\r\n"
                            "HeaderText=公司名称\r\n"
                            "IsFooterText=1\r\n"
                            "FooterTextPos=1\r\n"
                            "FooterText=第 1 页\r\n");
}

QTEST_MAIN(SettingsWindowTest)
#include "SettingsWindowTest.moc"
