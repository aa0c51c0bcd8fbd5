// The folder picker and the Browse action, offscreen, on a home folder of the
// test's own that is built afresh for every test function.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <sys/stat.h>

#include <functional>
#include <memory>

#include "BatchLifetime.h"
#include "Dialogs.h"
#include "Unit1.h"
#include "automation/ProgIdTable.h"
#include "picker/ShellFolderModel.h"
#include "picker/ShellNamespace.h"
#include "picker/ShellTreeView.h"
#include "picker/Unit2.h"

namespace {

const QString kComputer = QStringLiteral("计算机");

void makeFolder(const QString& path) { QVERIFY(QDir().mkpath(path)); }

void makeFile(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class PickerTest : public QObject {
    Q_OBJECT

public:
    explicit PickerTest(const QString& sandbox) : sandbox_(sandbox) {}

private slots:
    void init();
    void cleanup();

    void windowAsDesigned_data();
    void windowAsDesigned();
    void keyboard();
    void okStoresSelectedFolder_data();
    void okStoresSelectedFolder();
    void closingWithoutOkChangesNothing_data();
    void closingWithoutOkChangesNothing();
    void rightClickSelects();
    void listsVisibleSubfoldersSorted();
    void folderIsListedOnceOnFirstExpand();
    void busyCursorWhileListing();
    void reopenKeepsExpansionAndSelection();
    void selectionStaysOnAVisibleFolder();
    void displayNameIsNotWalked();
    void undecodableNameKeptAsBytes();
    void desktopFallsBackToHome();
    void userVolumes_data();
    void userVolumes();

private:
    // Shows the picker through the Browse button; whileOpen acts in it. Returns
    // false when the picker was still open afterwards (it is closed then).
    bool browse(const std::function<void()>& whileOpen);
    // The node reached from the top through the given display names, expanding on the way.
    QModelIndex folder(const QStringList& names) const;
    QStringList childNames(const QModelIndex& parent) const;
    void click(const QModelIndex& index, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    TShellTreeView* tree() const { return Form2->ShellTreeView1; }
    ShellFolderModel* model() const { return tree()->shellModel(); }

    QString sandbox_;
    int round_ = 0;
    QString home_;
    QString desktop_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
};

void PickerTest::init()
{
    home_ = sandbox_ + QStringLiteral("/home%1/ann").arg(++round_);
    desktop_ = home_ + "/Desktop";
    qputenv("HOME", QFile::encodeName(home_));
    for (const char* folder : {"alpha/.git", "beta/inner/deep", "beta/.secret", "Gamma/one", "item9", "item10",
                               ".hidden/sub"})
        makeFolder(desktop_ + '/' + folder);
    makeFile(desktop_ + "/alpha/readme.doc");
    makeFile(desktop_ + "/note.doc");
    QVERIFY(QFile::link(desktop_ + "/beta", desktop_ + "/link"));
    makeFolder(home_ + "/Documents");

    ChosenDir.clear();
    form1_ = std::make_unique<TForm1>();
    Form1 = form1_.get();
    form2_ = std::make_unique<TForm2>();
    Form2 = form2_.get();
}

void PickerTest::cleanup()
{
    dialogs::SetPresenter(nullptr);
    form2_.reset();
    form1_.reset();
}

bool PickerTest::browse(const std::function<void()>& whileOpen)
{
    bool leftOpen = false;
    QTimer::singleShot(0, Form2, [&] {
        whileOpen();
        if (Form2->isVisible()) {
            leftOpen = true;
            Form2->reject();
        }
    });
    Form1->Button4->click();
    return !leftOpen;
}

QModelIndex PickerTest::folder(const QStringList& names) const
{
    QModelIndex found;
    for (const QString& name : names) {
        const QModelIndex parent = found;
        if (parent.isValid()) {
            tree()->expand(parent);
            tree()->doItemsLayout();
        }
        found = {};
        for (int row = 0; row < model()->rowCount(parent); ++row) {
            if (model()->index(row, 0, parent).data().toString() == name)
                found = model()->index(row, 0, parent);
        }
        if (!found.isValid())
            return {};
    }
    return found;
}

QStringList PickerTest::childNames(const QModelIndex& parent) const
{
    tree()->expand(parent);
    tree()->doItemsLayout();
    QStringList names;
    for (int row = 0; row < model()->rowCount(parent); ++row)
        names << model()->index(row, 0, parent).data().toString();
    return names;
}

void PickerTest::click(const QModelIndex& index, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) const
{
    tree()->scrollTo(index);
    QTest::mouseClick(tree()->viewport(), button, modifiers, tree()->visualRect(index).center());
}

void PickerTest::windowAsDesigned_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");

    QTest::newRow("tree") << "ShellTreeView1" << QRect(16, 24, 321, 209) << QString();
    QTest::newRow("label") << "Label1" << QRect(16, 8, 249, 13)
                           << QStringLiteral("请选择要实现批量修改的文件夹：") + QString(23, u' ');
    QTest::newRow("OK") << "Button1" << QRect(104, 248, 75, 25) << QStringLiteral("确定");
    QTest::newRow("Cancel") << "Button2" << QRect(208, 248, 75, 25) << QStringLiteral("取消");
}

void PickerTest::windowAsDesigned()
{
    QFETCH(QString, control);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);

    QCOMPARE(Form2->windowTitle(), QStringLiteral("选择文件夹"));
    QVERIFY(!Form2->isVisible());
    QCOMPARE(Form2->size(), QSize(355, 281));
    QCOMPARE(Form2->font().pixelSize(), 11);
    QVERIFY(!Form2->windowIcon().isNull());

    const std::map<QString, QWidget*> controls = {{"ShellTreeView1", Form2->ShellTreeView1},
                                                 {"Label1", Form2->Label1},
                                                 {"Button1", Form2->Button1},
                                                 {"Button2", Form2->Button2}};
    QWidget* widget = controls.at(control);
    QCOMPARE(widget->geometry(), geometry);
    if (auto* label = qobject_cast<QLabel*>(widget))
        QCOMPARE(label->text(), caption);
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QCOMPARE(button->text(), caption);
        QVERIFY(!button->autoDefault() && !button->isDefault());
    }
    if (widget == tree()) {
        QCOMPARE(tree()->indentation(), 19);
        QVERIFY(!tree()->rootIsDecorated());
        QCOMPARE(tree()->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(tree()->editTriggers(), QAbstractItemView::NoEditTriggers);
        // Created with the desktop on top, already listed, expanded and selected.
        QCOMPARE(model()->rowCount(), 1);
        const QModelIndex desktop = model()->index(0, 0);
        QCOMPARE(desktop.data().toString(), QStringLiteral("Desktop"));
        QVERIFY(tree()->isExpanded(desktop));
        QVERIFY(model()->rowCount(desktop) > 0);
        QCOMPARE(tree()->selectedFolder(), desktop);
        QVERIFY(!desktop.data(Qt::DecorationRole).value<QIcon>().isNull());
    }
}

void PickerTest::keyboard()
{
    QList<QWidget*> focusOrder;
    QVERIFY(browse([&] {
        QVERIFY(QTest::qWaitForWindowActive(Form2));
        focusOrder << QApplication::focusWidget();
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            focusOrder << QApplication::focusWidget();
        }
        // No default and no cancel button: Enter and Escape leave the window open.
        QTest::keyClick(tree(), Qt::Key_Return);
        QTest::keyClick(tree(), Qt::Key_Escape);
        QVERIFY(Form2->isVisible());
        Form2->Button1->click();
    }));
    const QList<QWidget*> designed = {tree(), Form2->Button1, Form2->Button2, tree()};
    QCOMPARE(focusOrder, designed);
}

void PickerTest::okStoresSelectedFolder_data()
{
    QTest::addColumn<QStringList>("names");   // clicked node, from the top; none: OK at once
    QTest::addColumn<QString>("stored");      // relative to the home folder unless absolute

    QTest::newRow("first use: the desktop") << QStringList() << "Desktop";
    QTest::newRow("desktop subfolder") << QStringList{"Desktop", "beta"} << "Desktop/beta";
    QTest::newRow("nested folder") << QStringList{"Desktop", "beta", "inner", "deep"} << "Desktop/beta/inner/deep";
    QTest::newRow("folder link, as linked") << QStringList{"Desktop", "link", "inner"} << "Desktop/link/inner";
    QTest::newRow("home folder") << QStringList{"Desktop", "ann"} << "";
    QTest::newRow("in the home folder") << QStringList{"Desktop", "ann", "Documents"} << "Documents";
    QTest::newRow("file system root") << QStringList{"Desktop", kComputer, "/"} << "/";
    QTest::newRow("virtual: its display name") << QStringList{"Desktop", kComputer} << kComputer;
}

void PickerTest::okStoresSelectedFolder()
{
    QFETCH(QStringList, names);
    QFETCH(QString, stored);
    const QString expected = stored.startsWith(u'/') || stored == kComputer
                                 ? stored
                                 : QDir::cleanPath(home_ + '/' + stored);
    Form1->Edit2->setText(QStringLiteral("/a/folder/from/the/settings"));

    QVERIFY(browse([&] {
        if (!names.isEmpty()) {
            const QModelIndex target = folder(names);
            QVERIFY(target.isValid());
            click(target);
            QCOMPARE(tree()->selectedFolder(), target);
        }
        QTest::mouseClick(Form2->Button1, Qt::LeftButton);
    }));
    QCOMPARE(QString::fromStdString(ChosenDir), expected);
    QCOMPARE(Form1->Edit2->text(), expected);
}

void PickerTest::closingWithoutOkChangesNothing_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << false;
    QTest::newRow("close box") << true;
}

void PickerTest::closingWithoutOkChangesNothing()
{
    QFETCH(bool, closeBox);
    ChosenDir = "/confirmed/earlier";
    Form1->Edit2->setText(QStringLiteral("/typed/by/the/user"));

    QVERIFY(browse([&] {
        click(folder({"Desktop", "beta"}));
        if (closeBox)
            Form2->close();
        else
            QTest::mouseClick(Form2->Button2, Qt::LeftButton);
    }));
    QVERIFY(!Form2->isVisible());
    QCOMPARE(ChosenDir, std::string("/confirmed/earlier"));
    QCOMPARE(Form1->Edit2->text(), QStringLiteral("/typed/by/the/user"));
}

void PickerTest::rightClickSelects()
{
    QVERIFY(browse([&] {
        click(folder({"Desktop", "Gamma"}), Qt::RightButton);
        Form2->Button1->click();
    }));
    QCOMPARE(QString::fromStdString(ChosenDir), desktop_ + "/Gamma");
}

void PickerTest::listsVisibleSubfoldersSorted()
{
    const QModelIndex desktop = folder({"Desktop"});
    // The home folder and the computer first, then the desktop's folders in a file
    // manager's order; no files, no hidden folders, the link to a folder included.
    QCOMPARE(childNames(desktop),
             (QStringList{"ann", kComputer, "alpha", "beta", "Gamma", "item9", "item10", "link"}));
    // An expand button only where a folder has subfolders that are listed.
    QVERIFY(!model()->hasChildren(folder({"Desktop", "alpha"})));
    QVERIFY(!model()->hasChildren(folder({"Desktop", "item9"})));
    QVERIFY(model()->hasChildren(folder({"Desktop", "beta"})));
    QCOMPARE(childNames(folder({"Desktop", "beta"})), QStringList{"inner"});
    QCOMPARE(childNames(folder({"Desktop", kComputer})).value(0), QStringLiteral("/"));
}

void PickerTest::folderIsListedOnceOnFirstExpand()
{
    makeFolder(desktop_ + "/Gamma/two");   // before Gamma is first expanded: listed
    const QModelIndex gamma = folder({"Desktop", "Gamma"});
    QCOMPARE(childNames(gamma), (QStringList{"one", "two"}));

    makeFolder(desktop_ + "/Gamma/three");
    QVERIFY(QDir(desktop_ + "/Gamma/one").removeRecursively());
    tree()->collapse(gamma);
    QCOMPARE(childNames(gamma), (QStringList{"one", "two"}));
}

void PickerTest::busyCursorWhileListing()
{
    QList<Qt::CursorShape> whileInserting;
    connect(model(), &QAbstractItemModel::rowsAboutToBeInserted, this, [&] {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        whileInserting << (cursor ? cursor->shape() : Qt::ArrowCursor);
    });
    QCOMPARE(childNames(folder({"Desktop", "beta"})), QStringList{"inner"});
    QCOMPARE(whileInserting, QList<Qt::CursorShape>{Qt::WaitCursor});
    QVERIFY(!QGuiApplication::overrideCursor());
}

void PickerTest::reopenKeepsExpansionAndSelection()
{
    QVERIFY(browse([&] {
        click(folder({"Desktop", "beta", "inner"}));
        Form2->Button1->click();
    }));
    QModelIndex selectedOnReopen;
    bool betaExpanded = false;
    QVERIFY(browse([&] {
        selectedOnReopen = tree()->selectedFolder();
        betaExpanded = tree()->isExpanded(folder({"Desktop", "beta"}));
        Form2->Button1->click();
    }));
    QVERIFY(betaExpanded);
    QCOMPARE(selectedOnReopen, folder({"Desktop", "beta", "inner"}));
    QCOMPARE(QString::fromStdString(ChosenDir), desktop_ + "/beta/inner");
}

void PickerTest::selectionStaysOnAVisibleFolder()
{
    QVERIFY(browse([&] {
        const QModelIndex inner = folder({"Desktop", "beta", "inner"});
        click(inner, Qt::LeftButton, Qt::ControlModifier);
        click(inner, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(tree()->selectedFolder(), inner);

        // Collapsing hides the selected folder: its collapsed ancestor takes over.
        tree()->collapse(folder({"Desktop", "beta"}));
        QCOMPARE(tree()->selectedFolder(), folder({"Desktop", "beta"}));
        Form2->Button1->click();
    }));
    QCOMPARE(QString::fromStdString(ChosenDir), desktop_ + "/beta");
}

void PickerTest::displayNameIsNotWalked()
{
    QStringList messages;
    dialogs::SetPresenter([&](dialogs::BoxKind, const QString& text) { messages << text; });
    QVERIFY(browse([&] {
        click(folder({"Desktop", kComputer}));
        Form2->Button1->click();
    }));
    QCOMPARE(Form1->Edit2->text(), kComputer);

    Form1->Button1->click();
    QCOMPARE(messages, QStringList{QStringLiteral("文件夹不存在：") + kComputer});
    QVERIFY(Form1->Button1->isEnabled());
}

void PickerTest::undecodableNameKeptAsBytes()
{
    // Made before Gamma is first expanded, so its listing sees it.
    const QByteArray path = QFile::encodeName(desktop_) + "/Gamma/caf\xe9";   // Latin-1, not UTF-8
    QCOMPARE(::mkdir(path.constData(), 0700), 0);
    // Qt's own removal cannot name it; the sandbox would stay behind.
    const auto removeIt = qScopeGuard([&] { ::rmdir(path.constData()); });

    const QModelIndex gamma = folder({"Desktop", "Gamma"});
    QCOMPARE(childNames(gamma).size(), 2);
    QModelIndex cafe;
    for (int row = 0; row < model()->rowCount(gamma); ++row) {
        if (model()->pathOf(model()->index(row, 0, gamma)) == path)
            cafe = model()->index(row, 0, gamma);
    }
    QVERIFY(cafe.isValid());
    QVERIFY(browse([&] {
        tree()->setCurrentIndex(cafe);
        Form2->Button1Click();
    }));
    QCOMPARE(QByteArray::fromStdString(ChosenDir), path);
    // The field shows the name as best it can but keeps the bytes for the batch,
    // whose check finds the folder and so refuses nothing.
    QCOMPARE(QByteArray::fromStdString(Form1->folderField()), path);
    QStringList messages;
    dialogs::SetPresenter([&](dialogs::BoxKind, const QString& text) { messages << text; });
    automation::RevokeClassFactory("word.application");
    Form1->Button1Click();
    QTRY_VERIFY_WITH_TIMEOUT(Form1->Button1->isEnabled(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(batchlife::RunningWorkers(), 0, 10000);
    QCOMPARE(messages, QStringList{"修改成功！"});
}

void PickerTest::desktopFallsBackToHome()
{
    QVERIFY(QDir(desktop_).removeRecursively());
    TForm2 picker;
    auto* model = picker.ShellTreeView1->shellModel();
    const QModelIndex top = model->desktopIndex();
    QCOMPARE(top.data().toString(), QStringLiteral("ann"));
    QCOMPARE(model->pathOf(top), QFile::encodeName(home_));
    // The home folder is the desktop itself here, not a second node below it.
    QCOMPARE(model->rowCount(top), 2);
    QCOMPARE(model->index(0, 0, top).data().toString(), kComputer);
    QCOMPARE(model->index(1, 0, top).data().toString(), QStringLiteral("Documents"));
}

void PickerTest::userVolumes_data()
{
    QTest::addColumn<QByteArray>("mountPoint");
    QTest::addColumn<bool>("shown");

    QTest::newRow("removable medium") << QByteArray("/media/ann/USB STICK") << true;
    QTest::newRow("removable, per user") << QByteArray("/run/media/ann/DISK") << true;
    QTest::newRow("manual mount") << QByteArray("/mnt/data") << true;
    QTest::newRow("in the home folder") << QByteArray("/home/ann/remote") << true;
    QTest::newRow("below a hidden folder") << QByteArray("/home/ann/.cache/doc") << false;
    QTest::newRow("hidden under media") << QByteArray("/media/.snapshots") << false;
    QTest::newRow("another home") << QByteArray("/home/annex/remote") << false;
    QTest::newRow("the root") << QByteArray("/") << false;
    QTest::newRow("system") << QByteArray("/boot/efi") << false;
    QTest::newRow("kernel") << QByteArray("/proc") << false;
    QTest::newRow("the media folder itself") << QByteArray("/media") << false;
}

void PickerTest::userVolumes()
{
    QFETCH(QByteArray, mountPoint);
    QFETCH(bool, shown);
    QCOMPARE(shell::IsUserVolume(mountPoint, "/home/ann"), shown);
}

int main(int argc, char* argv[])
{
    // A home, desktop and configuration of the test's own, set before Qt reads them.
    QTemporaryDir sandbox;
    if (!sandbox.isValid())
        return 1;
    const QByteArray root = QFile::encodeName(sandbox.path());
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_CACHE_HOME", root + "/cache");
    QDir().mkpath(sandbox.path() + "/runtime");
    QFile::setPermissions(sandbox.path() + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                          QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", root + "/runtime");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    PickerTest test(sandbox.path());
    return QTest::qExec(&test, argc, argv);
}

#include "PickerTest.moc"
