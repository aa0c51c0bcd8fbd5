// The folder walk over a real temporary tree, with the recording Word server
// standing in for the engine: the documents it saved are the documents visited.
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <dirent.h>
#include <fstream>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "Dialogs.h"
#include "RecordingWord.h"
#include "StatusBar.h"
#include "Unit1.h"

namespace {

void writeFile(const std::string& path) { std::ofstream(path) << "x"; }

std::vector<std::string> rootListingOrder(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    while (dirent* e = readdir(dir))
        names.push_back(e->d_name);
    closedir(dir);
    return names;
}

} // namespace

class FolderWalkTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void documentKinds_data();
    void documentKinds();
    void eachDocumentOnceThroughLinksAndCycles();
    void subfolderWalkedWhereTheListingMeetsIt();
    void trailingSlashGivesTheSamePaths();
    void countPanelAfterTwelveDocuments();
    void failureAtThirdDocumentEndsTheWalk();
    void unlistableFolderTouchesNothing();

private:
    std::vector<std::string> walk(const std::string& folder, RecordingWord& word);
    QTemporaryDir tmp_;
    std::string root_;
    std::vector<std::string> visited_;
};

std::vector<std::string> FolderWalkTest::walk(const std::string& folder, RecordingWord& word)
{
    TForm1 form;
    FileCount = 0;
    form.ModifyFolder(folder);
    return word.savedPaths();
}

void FolderWalkTest::initTestCase()
{
    root_ = tmp_.path().toStdString();
    for (const char* name : {"a.doc", "B.DOC", "c.Doc", "d.docx", "e.doc.bak", "f.b.doc", ".hidden.doc", "ro.doc",
                             "doc", "plain.txt"})
        writeFile(root_ + "/" + name);
    chmod((root_ + "/ro.doc").c_str(), 0444);
    mkfifo((root_ + "/pipe.doc").c_str(), 0644);
    symlink((root_ + "/a.doc").c_str(), (root_ + "/link.doc").c_str());
    mkdir((root_ + "/x.doc").c_str(), 0755);
    writeFile(root_ + "/x.doc/inner.doc");
    mkdir((root_ + "/.hiddendir").c_str(), 0755);
    writeFile(root_ + "/.hiddendir/h.doc");
    mkdir((root_ + "/sub").c_str(), 0755);
    writeFile(root_ + "/sub/s1.doc");
    writeFile(root_ + "/sub/s2.doc");
    mkdir((root_ + "/sub/deep").c_str(), 0755);
    writeFile(root_ + "/sub/deep/d1.doc");
    symlink(root_.c_str(), (root_ + "/sub/deep/up").c_str()); // a cycle back to the top
    symlink((root_ + "/sub").c_str(), (root_ + "/linkdir").c_str());

    RecordingWord word;
    visited_ = walk(root_, word);
}

void FolderWalkTest::documentKinds_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("edited");
    const std::pair<const char*, bool> rows[] = {
        {"a.doc", true},          {"B.DOC", false},       {"c.Doc", false},         {"d.docx", false},
        {"e.doc.bak", false},     {"f.b.doc", true},      {".hidden.doc", true},    {"ro.doc", true},
        {"doc", false},           {"pipe.doc", false},    {"link.doc", false},      {"x.doc", false},
        {"x.doc/inner.doc", true}, {".hiddendir/h.doc", true},
    };
    for (const auto& [name, edited] : rows)
        QTest::newRow(name) << QString(name) << edited;
}

void FolderWalkTest::documentKinds()
{
    QFETCH(QString, name);
    QFETCH(bool, edited);
    const std::string path = root_ + "/" + name.toStdString();
    QCOMPARE(std::count(visited_.begin(), visited_.end(), path), edited ? 1 : 0);
}

void FolderWalkTest::eachDocumentOnceThroughLinksAndCycles()
{
    // sub is reached twice (itself and linkdir) and the top again through sub/deep/up:
    // each real document is still edited exactly once.
    std::set<std::pair<dev_t, ino_t>> files;
    for (const std::string& path : visited_) {
        struct stat st {};
        QVERIFY(stat(path.c_str(), &st) == 0);
        QVERIFY2(files.insert({st.st_dev, st.st_ino}).second, path.c_str());
    }
    QCOMPARE(visited_.size(), size_t(9));
}

void FolderWalkTest::subfolderWalkedWhereTheListingMeetsIt()
{
    // The subfolder's documents come as one run, placed among the top-level
    // documents exactly where the listing returned the subfolder.
    const std::vector<std::string> listing = rootListingOrder(root_);
    auto listedAt = [&](const std::string& name) {
        return std::find(listing.begin(), listing.end(), name) - listing.begin();
    };
    const std::string viaSub = listedAt("sub") < listedAt("linkdir") ? "sub" : "linkdir";
    const std::string subPrefix = root_ + "/" + viaSub + "/";
    std::vector<long> topLevelPositions;
    long subStart = -1, subCount = 0;
    for (size_t i = 0; i < visited_.size(); ++i) {
        const std::string& path = visited_[i];
        if (path.rfind(subPrefix, 0) == 0) {
            if (subStart < 0)
                subStart = static_cast<long>(i);
            ++subCount;
        } else if (path.find('/', root_.size() + 1) == std::string::npos) {
            const bool listedBefore = listedAt(path.substr(root_.size() + 1)) < listedAt(viaSub);
            QVERIFY2(listedBefore == (subStart < 0), path.c_str());
        }
    }
    QCOMPARE(subCount, 3L);
    for (long i = subStart; i < subStart + subCount; ++i)
        QVERIFY(visited_[static_cast<size_t>(i)].rfind(subPrefix, 0) == 0);
}

void FolderWalkTest::trailingSlashGivesTheSamePaths()
{
    RecordingWord word;
    QCOMPARE(walk(root_ + "/", word), visited_);
}

void FolderWalkTest::countPanelAfterTwelveDocuments()
{
    QTemporaryDir dir;
    for (int i = 1; i <= 12; ++i)
        writeFile(dir.filePath(QString("d%1.doc").arg(i)).toStdString());
    RecordingWord word;
    TForm1 form;
    FileCount = 0;
    form.ModifyFolder(dir.path().toStdString());
    QCOMPARE(FileCount, 12);
    QCOMPARE(form.StatusBar1->panelText(1), QStringLiteral("已修改12个"));
    QCOMPARE(form.StatusBar1->panelText(2), QString::fromStdString(word.savedPaths().back()));
    QCOMPARE(form.StatusBar1->panelText(0), QStringLiteral("文件状态"));
}

void FolderWalkTest::failureAtThirdDocumentEndsTheWalk()
{
    RecordingWord word;
    word.failWhen = [](const RecordingWord::Call& c) { return c.document == 3 && c.member == "saveas"; };
    TForm1 form;
    FileCount = 0;
    bool raised = false;
    try {
        form.ModifyFolder(root_);
    } catch (const std::exception&) {
        raised = true;
    }
    QVERIFY(raised);
    QCOMPARE(FileCount, 3);
    QCOMPARE(word.created(), 3);
    const std::vector<std::string> attempted = word.savedPaths();
    QCOMPARE(attempted, std::vector<std::string>(visited_.begin(), visited_.begin() + 3));
    QCOMPARE(form.StatusBar1->panelText(2), QString::fromStdString(attempted[2]));
    QCOMPARE(form.StatusBar1->panelText(1), QStringLiteral("已修改2个"));
}

void FolderWalkTest::unlistableFolderTouchesNothing()
{
    RecordingWord word;
    TForm1 form;
    form.StatusBar1->setPanelText(1, "earlier");
    FileCount = 0;
    for (const std::string& folder : {root_ + "/missing", root_ + "/a.doc"})
        form.ModifyFolder(folder);
    QCOMPARE(FileCount, 0);
    QCOMPARE(word.created(), 0);
    QCOMPARE(form.StatusBar1->panelText(1), QStringLiteral("earlier"));
    QCOMPARE(form.StatusBar1->panelText(2), QString());
}

QTEST_MAIN(FolderWalkTest)
#include "FolderWalkTest.moc"
