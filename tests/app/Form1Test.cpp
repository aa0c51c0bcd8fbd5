// The main window: its controls as designed, the rules between the option
// controls, the status bar, the radio group adapter, the picture dialog, the
// message boxes and the application title.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSizeGrip>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <climits>
#include <memory>
#include <stdexcept>

#include "AppTitle.h"
#include "BatchLifetime.h"
#include "Dialogs.h"
#include "EngravedLabel.h"
#include "HandlerGuard.h"
#include "RadioGroup.h"
#include "StatusBar.h"
#include "Unit1.h"

namespace {

struct Designed {
    const char* name;
    QRect geometry;
};

// Every control with an area on the window, where the designer put it.
const Designed kDesigned[] = {
    {"Button1", {144, 328, 75, 25}},    {"Edit1", {96, 40, 321, 21}},
    {"Button2", {422, 42, 57, 19}},     {"Label1", {24, 19, 78, 13}},
    {"Memo1", {24, 104, 401, 59}},      {"CheckBox1", {22, 42, 67, 17}},
    {"CheckBox2", {21, 84, 56, 17}},    {"RadioGroup1", {96, 4, 321, 33}},
    {"RadioGroup2", {96, 68, 321, 33}}, {"Memo2", {24, 201, 401, 56}},
    {"RadioGroup3", {104, 167, 321, 33}}, {"Button3", {240, 328, 75, 25}},
    {"Label3", {24, 272, 231, 13}},     {"Edit2", {24, 296, 376, 21}},
    {"CheckBox3", {22, 180, 57, 17}},   {"Button4", {404, 296, 75, 21}},
    {"StatusBar1", {0, 399, 502, 19}},  {"fcLabel1", {104, 376, 300, 13}},
};

const char* const kEditors[] = {"Edit1", "RadioGroup1", "Memo1", "RadioGroup2", "Memo2", "RadioGroup3"};
const char* const kNeverDisabled[] = {"Button1", "Button2", "Button3", "Button4", "Edit2",
                                      "CheckBox1", "CheckBox2", "CheckBox3"};

// Records the enabled changes of the option editors in the order they happen.
class EnabledLog : public QObject {
public:
    explicit EnabledLog(TForm1* form)
    {
        for (const char* name : kEditors)
            form->findChild<QWidget*>(name)->installEventFilter(this);
    }
    QStringList entries;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::EnabledChange) {
            const auto* widget = static_cast<QWidget*>(watched);
            entries << widget->objectName() + (widget->isEnabled() ? " on" : " off");
        }
        return false;
    }
};

// Runs `act` on the modal dialog or box once it is up, from inside its event loop.
template <class Act>
void whenModalShows(Act act)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start(10);
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private:
    QTemporaryDir configHome_;
    std::unique_ptr<TForm1> form_;
    QStringList boxes_;

    template <class W = QWidget>
    W* control(const QString& name) const
    {
        W* widget = form_->findChild<W*>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QCheckBox* box(int number) const { return control<QCheckBox>(QStringLiteral("CheckBox%1").arg(number)); }
    QString checkedBoxes() const
    {
        QString bits;
        for (int i = 1; i <= 3; ++i)
            bits += box(i)->isChecked() ? u'1' : u'0';
        return bits;
    }
    QString enabledEditors() const
    {
        QString bits;
        for (const char* name : kEditors)
            bits += control(name)->isEnabled() ? u'1' : u'0';
        return bits;
    }
    void showForm()
    {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }

private slots:
    void initTestCase()
    {
        // The settings file lands in a folder of this run, never in the user's.
        QVERIFY(configHome_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome_.path()));
        // A closed window must not end the test run itself.
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void init()
    {
        form_ = std::make_unique<TForm1>();
        Form1 = form_.get();
    }

    void cleanup()
    {
        dialogs::SetPresenter({});
        form_.reset();
        QVERIFY(Form1 == nullptr);
    }

    void controlsStartAsDesigned()
    {
        QCOMPARE(form_->windowTitle(), QStringLiteral("Quorvel(Morvast专用)"));
        QCOMPARE(form_->size(), QSize(502, 418));
        QCOMPARE(form_->pos(), QPoint(331, 150));
        QVERIFY(form_->windowIcon().availableSizes().contains(QSize(32, 32)));
        QCOMPARE(form_->font().pixelSize(), 11);

        for (QWidget* widget : form_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            QVERIFY2(widget->isEnabled(), qPrintable(widget->objectName()));
        QCOMPARE(checkedBoxes(), QStringLiteral("000"));
        for (TRadioGroup* group : {form_->RadioGroup1, form_->RadioGroup2, form_->RadioGroup3})
            QCOMPARE(group->itemIndex(), -1);
        for (QLineEdit* edit : {form_->Edit1, form_->Edit2})
            QVERIFY(edit->text().isEmpty());
        for (QPlainTextEdit* memo : {form_->Memo1, form_->Memo2})
            QVERIFY(memo->toPlainText().isEmpty());
        QCOMPARE(form_->StatusBar1->panelText(0), QStringLiteral("文件状态"));
        QCOMPARE(form_->StatusBar1->panelText(1), QString());
        QCOMPARE(form_->StatusBar1->panelText(2), QString());
        for (QPushButton* button : form_->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
            QVERIFY(!button->isDefault() && !button->autoDefault());
    }

    void captions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Button1") << "Button1" << "批量修改";
        QTest::newRow("Button2") << "Button2" << "加载....";
        QTest::newRow("Button3") << "Button3" << "退出";
        QTest::newRow("Button4") << "Button4" << "浏览....";
        QTest::newRow("Label1") << "Label1" << "增加页眉：      ";
        QTest::newRow("Label3") << "Label3" << "文件所在路径（文件夹名称）                         ";
        QTest::newRow("CheckBox1") << "CheckBox1" << "图片：";
        QTest::newRow("CheckBox2") << "CheckBox2" << "文字：   ";
        QTest::newRow("CheckBox3") << "CheckBox3" << "页脚：";
        for (const char* group : {"RadioGroup1", "RadioGroup2", "RadioGroup3"})
            QTest::newRow(group) << group << "位置|居左|居中|居右";
    }

    void captions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QWidget* widget = control(name);
        QString shown;
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            shown = button->text();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            shown = label->text();
        else if (auto* group = qobject_cast<TRadioGroup*>(widget)) {
            QStringList parts{group->title()};
            for (int i = 0; i < group->itemCount(); ++i)
                parts << group->item(i)->text();
            shown = parts.join(u'|');
        }
        QCOMPARE(shown, caption);
    }

    void pictureDialogFilters()
    {
        // Shown as the descriptions alone; the last one lists every file, also those without a dot.
        QCOMPARE(form_->opd1->nameFilters(),
                 (QStringList{"JPG文件(*.jpg) (*.jpg)", "BITMAP文件(*.bmp) (*.bmp)", "gif文件(*.gif) (*.gif)",
                              "ico文件(*.ico) (*.ico)", "所有文件(*.*) (*)"}));
        QVERIFY(form_->opd1->testOption(QFileDialog::HideNameFilterDetails));
        const auto* types = form_->opd1->findChild<QComboBox*>("fileTypeCombo");
        QVERIFY(types);
        QStringList shown;
        for (int i = 0; i < types->count(); ++i)
            shown << types->itemText(i);
        QCOMPARE(shown, (QStringList{"JPG文件(*.jpg)", "BITMAP文件(*.bmp)", "gif文件(*.gif)", "ico文件(*.ico)",
                                     "所有文件(*.*)"}));
        QCOMPARE(form_->opd1->fileMode(), QFileDialog::AnyFile);
        QCOMPARE(form_->opd1->acceptMode(), QFileDialog::AcceptOpen);
    }

    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("designed");
        for (const Designed& d : kDesigned)
            QTest::newRow(d.name) << QString::fromLatin1(d.name) << d.geometry;
    }

    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, designed);
        QCOMPARE(control(name)->geometry(), designed);
        showForm();
        QCOMPARE(control(name)->geometry(), designed);
    }

    void tabOrder()
    {
        showForm();
        QApplication::setActiveWindow(form_.get());
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        // Every editor enabled, so that each takes its place in the cycle.
        for (const char* name : kEditors)
            control(name)->setEnabled(true);
        form_->RadioGroup2->setItemIndex(2);

        form_->Button1->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (int i = 0; i < 15; ++i) {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus);
            // A radio item stands for its group, which is one stop.
            visited << (qobject_cast<QRadioButton*>(focus) ? focus->parentWidget()->objectName() + "/" +
                                                                 static_cast<QRadioButton*>(focus)->text()
                                                           : focus->objectName());
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QCOMPARE(visited, (QStringList{"Button1", "Edit1", "Button2", "Memo1", "CheckBox1", "CheckBox2",
                                       "RadioGroup1/居左", "RadioGroup2/居右", "Memo2", "RadioGroup3/居左",
                                       "Button3", "Edit2", "CheckBox3", "Button4", "Button1"}));
    }

    void shownWithNothingChecked()
    {
        showForm();
        QCOMPARE(checkedBoxes(), QStringLiteral("000"));
        QCOMPARE(enabledEditors(), QStringLiteral("000000"));
        for (const char* name : kNeverDisabled)
            QVERIFY2(control(name)->isEnabled(), name);
    }

    // Each step is "click N" (the user clicks check box N) or "set N on|off" (the
    // program sets it); the log holds the editors' enabled changes made by the steps.
    void checkBoxRules_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<QStringList>("log");

        QTest::newRow("picture on") << QStringList{} << QStringList{"click 1"} << "100" << "110000"
                                    << QStringList{"Edit1 on", "RadioGroup1 on"};
        QTest::newRow("text on") << QStringList{} << QStringList{"click 2"} << "010" << "001100"
                                 << QStringList{"Memo1 on", "RadioGroup2 on"};
        QTest::newRow("footer on") << QStringList{} << QStringList{"click 3"} << "001" << "000011"
                                   << QStringList{"Memo2 on", "RadioGroup3 on"};
        QTest::newRow("picture over text")
            << QStringList{"set 2 on"} << QStringList{"click 1"} << "100" << "110000"
            << QStringList{"Edit1 on", "RadioGroup1 on", "Memo1 off", "RadioGroup2 off"};
        QTest::newRow("text over picture")
            << QStringList{"set 1 on"} << QStringList{"click 2"} << "010" << "001100"
            << QStringList{"Memo1 on", "RadioGroup2 on", "Edit1 off", "RadioGroup1 off"};
        QTest::newRow("picture off leaves text off")
            << QStringList{"set 1 on"} << QStringList{"click 1"} << "000" << "000000"
            << QStringList{"Edit1 off", "RadioGroup1 off"};
        QTest::newRow("text off leaves picture off")
            << QStringList{"set 2 on"} << QStringList{"click 2"} << "000" << "000000"
            << QStringList{"Memo1 off", "RadioGroup2 off"};
        QTest::newRow("footer beside picture")
            << QStringList{"set 1 on"} << QStringList{"click 3", "click 3", "click 3"} << "101" << "110011"
            << QStringList{"Memo2 on", "RadioGroup3 on", "Memo2 off", "RadioGroup3 off", "Memo2 on",
                           "RadioGroup3 on"};
        QTest::newRow("footer beside text")
            << QStringList{"set 2 on", "set 3 on"} << QStringList{"click 3"} << "010" << "001100"
            << QStringList{"Memo2 off", "RadioGroup3 off"};
        QTest::newRow("loaded with picture and text on")
            << QStringList{} << QStringList{"set 1 on", "set 2 on", "set 3 off"} << "010" << "001100"
            << QStringList{"Edit1 on", "RadioGroup1 on", "Memo1 on", "RadioGroup2 on", "Edit1 off",
                           "RadioGroup1 off"};
        QTest::newRow("setting the state it has runs nothing")
            << QStringList{"set 1 on", "set 3 on"} << QStringList{"set 1 on", "set 2 off", "set 3 on"} << "101"
            << "110011" << QStringList{};
    }

    void checkBoxRules()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, steps);
        QFETCH(QString, checked);
        QFETCH(QString, enabled);
        QFETCH(QStringList, log);

        showForm();
        auto run = [this](const QStringList& actions) {
            for (const QString& action : actions) {
                const QStringList words = action.split(u' ');
                QCheckBox* target = box(words[1].toInt());
                if (words[0] == "click")
                    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(6, target->height() / 2));
                else
                    target->setChecked(words[2] == "on");
            }
        };
        run(before);
        EnabledLog recorder(form_.get());
        run(steps);
        QCOMPARE(checkedBoxes(), checked);
        QCOMPARE(enabledEditors(), enabled);
        QCOMPARE(recorder.entries, log);
        for (const char* name : kNeverDisabled)
            QVERIFY2(control(name)->isEnabled(), name);
    }

    void contentsKeptAcrossDisableAndEnable()
    {
        showForm();
        form_->CheckBox1->setChecked(true);
        form_->CheckBox3->setChecked(true);
        form_->Edit1->setText("/home/user/logo.bmp");
        TForm1::setMemoText(form_->Memo1, "页眉第一行\r\n  second line  ");
        TForm1::setMemoText(form_->Memo2, "页脚");
        form_->RadioGroup1->setItemIndex(2);
        form_->RadioGroup2->setItemIndex(1);
        form_->RadioGroup3->setItemIndex(0);

        // Picture off by the text box, text off by the picture box, footer off and on.
        form_->CheckBox2->click();
        QVERIFY(!form_->Edit1->isEnabled());
        form_->CheckBox1->click();
        QVERIFY(!form_->Memo1->isEnabled());
        form_->CheckBox3->click();
        form_->CheckBox3->click();
        form_->CheckBox1->click();
        form_->CheckBox2->click();
        QCOMPARE(enabledEditors(), QStringLiteral("001111"));

        QCOMPARE(form_->Edit1->text(), QStringLiteral("/home/user/logo.bmp"));
        QCOMPARE(TForm1::memoText(form_->Memo1), QStringLiteral("页眉第一行\r\n  second line  "));
        QCOMPARE(TForm1::memoText(form_->Memo2), QStringLiteral("页脚"));
        QCOMPARE(form_->RadioGroup1->itemIndex(), 2);
        QCOMPARE(form_->RadioGroup2->itemIndex(), 1);
        QCOMPARE(form_->RadioGroup3->itemIndex(), 0);
    }

    void statusBarFollowsTheBottomEdge()
    {
        showForm();
        TStatusBar* bar = form_->StatusBar1;
        QCOMPARE(bar->geometry(), QRect(0, 399, 502, 19));
        QVERIFY(bar->sizeGrip()->isVisible());
        QCOMPARE(bar->sizeGrip()->geometry().bottomRight(), bar->rect().bottomRight());
        QCOMPARE(bar->panel(0)->width(), 100);
        QCOMPARE(bar->panel(1)->width(), 100);
        QVERIFY(bar->panel(0)->x() < bar->panel(1)->x() && bar->panel(1)->x() < bar->panel(2)->x());
        const int lastWidth = bar->panel(2)->width();
        QCOMPARE(bar->panel(2)->geometry().right() + 1, bar->sizeGrip()->x());
        for (int i = 0; i < 3; ++i)
            QCOMPARE(bar->panel(i)->geometry().bottom(), bar->height() - 1);

        form_->resize(702, 518);
        QTRY_COMPARE(bar->geometry(), QRect(0, 499, 702, 19));
        QTRY_COMPARE(bar->panel(2)->width(), lastWidth + 200);
        QCOMPARE(bar->panel(0)->width(), 100);
        QCOMPARE(bar->panel(1)->width(), 100);
        QCOMPARE(bar->panelText(0), QStringLiteral("文件状态"));
        for (const Designed& d : kDesigned)
            if (QByteArray(d.name) != "StatusBar1")
                QCOMPARE(control(d.name)->geometry(), d.geometry);
    }

    void radioGroupIndex_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("index");
        QTest::newRow("none") << -1 << -1 << -1;
        QTest::newRow("left") << -1 << 0 << 0;
        QTest::newRow("centre") << 0 << 1 << 1;
        QTest::newRow("right") << 1 << 2 << 2;
        QTest::newRow("again the same") << 2 << 2 << 2;
        QTest::newRow("cleared") << 1 << -1 << -1;
        QTest::newRow("below -1 clears") << 2 << -2 << -1;
        QTest::newRow("lowest clears") << 0 << INT_MIN << -1;
        QTest::newRow("above the last") << 0 << 3 << 2;
        QTest::newRow("highest") << -1 << INT_MAX << 2;
    }

    void radioGroupIndex()
    {
        QFETCH(int, from);
        QFETCH(int, set);
        QFETCH(int, index);
        TRadioGroup* group = form_->RadioGroup1;
        group->setItemIndex(from);
        QCOMPARE(group->itemIndex(), from);
        group->setItemIndex(set);
        QCOMPARE(group->itemIndex(), index);
        int checkedItems = 0;
        for (int i = 0; i < group->itemCount(); ++i)
            checkedItems += group->item(i)->isChecked() ? 1 : 0;
        QCOMPARE(checkedItems, index < 0 ? 0 : 1);
        QCOMPARE(form_->RadioGroup2->itemIndex(), -1);
    }

    void radioGroupByUser()
    {
        showForm();
        TRadioGroup* group = form_->RadioGroup3;
        form_->CheckBox3->setChecked(true);
        const int others[] = {form_->RadioGroup1->itemIndex(), form_->RadioGroup2->itemIndex()};
        QTest::mouseClick(group->item(1), Qt::LeftButton, {}, QPoint(6, group->item(1)->height() / 2));
        QCOMPARE(group->itemIndex(), 1);
        // A click on the selected item keeps it; another item takes the selection over.
        QTest::mouseClick(group->item(1), Qt::LeftButton, {}, QPoint(6, group->item(1)->height() / 2));
        QCOMPARE(group->itemIndex(), 1);
        QTest::mouseClick(group->item(0), Qt::LeftButton, {}, QPoint(6, group->item(0)->height() / 2));
        QCOMPARE(group->itemIndex(), 0);
        QApplication::setActiveWindow(form_.get());
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        group->item(0)->setFocus();
        QTest::keyClick(group->item(0), Qt::Key_Right);
        QCOMPARE(group->itemIndex(), 1);
        QCOMPARE(form_->RadioGroup1->itemIndex(), others[0]);
        QCOMPARE(form_->RadioGroup2->itemIndex(), others[1]);
        group->setItemIndex(-1);
        QCOMPARE(group->itemIndex(), -1);
    }

    void pictureDialog()
    {
        QTemporaryDir pictures;
        const QString picture = pictures.filePath("logo.jpg");
        QFile file(picture);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        showForm();
        QVERIFY(!form_->CheckBox1->isChecked());
        form_->Edit1->setText("/earlier/choice.bmp");

        whenModalShows([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
        form_->Button2->click();
        QCOMPARE(form_->Edit1->text(), QStringLiteral("/earlier/choice.bmp"));

        // Confirmed while the picture option is off: the path lands in the disabled field.
        QString firstFilter;
        whenModalShows([&](QWidget* dialog) {
            auto* opd = static_cast<QFileDialog*>(dialog);
            firstFilter = opd->selectedNameFilter();
            opd->selectNameFilter("BITMAP文件(*.bmp) (*.bmp)");
            // The user types the full path into the file name field and presses Enter.
            auto* name = opd->findChild<QLineEdit*>("fileNameEdit");
            if (!name)
                return opd->reject();
            name->setText(picture);
            QTest::keyClick(name, Qt::Key_Return);
        });
        form_->Button2->click();
        QCOMPARE(firstFilter, QStringLiteral("JPG文件(*.jpg)"));
        QCOMPARE(form_->Edit1->text(), picture);
        QVERIFY(!form_->Edit1->isEnabled());

        // The next use opens with the last confirmed file and filter, whatever a cancel changed.
        whenModalShows([](QWidget* dialog) {
            auto* opd = static_cast<QFileDialog*>(dialog);
            opd->selectNameFilter("所有文件(*.*) (*)");
            opd->reject();
        });
        form_->Button2->click();
        QStringList reopened;
        whenModalShows([&](QWidget* dialog) {
            auto* opd = static_cast<QFileDialog*>(dialog);
            reopened << opd->selectedNameFilter() << opd->selectedFiles().value(0);
            opd->reject();
        });
        form_->Button2->click();
        QCOMPARE(reopened, (QStringList{"BITMAP文件(*.bmp)", picture}));
        QCOMPARE(form_->Edit1->text(), picture);
    }

    void errorBoxText_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "Access denied" << "Access denied.";
        QTest::newRow("full stop") << "Disk full." << "Disk full.";
        QTest::newRow("chinese") << "保存失败" << "保存失败.";
        QTest::newRow("question mark sorts after") << "Retry?" << "Retry?.";
        QTest::newRow("slash sorts after") << "/tmp/" << "/tmp/.";
        QTest::newRow("digit") << "Error 5" << "Error 5.";
        QTest::newRow("exclamation sorts before") << "Stop!" << "Stop!";
        QTest::newRow("hyphen sorts before") << "Range a-" << "Range a-";
        QTest::newRow("blank sorts before") << "Trailing " << "Trailing ";
        QTest::newRow("empty") << "" << "";
    }

    void errorBoxText()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(dialogs::ErrorBoxText(message), shown);
    }

    void handlerGuardShowsTheError()
    {
        QList<QPair<dialogs::BoxKind, QString>> boxes;
        dialogs::SetPresenter([&](dialogs::BoxKind kind, const QString& text) { boxes.append({kind, text}); });
        bool after = false;
        QVERIFY(!Guarded([] { throw std::runtime_error("无法写入设置文件"); }));
        QVERIFY(Guarded([&] { after = true; }));
        QVERIFY(!Guarded([] { throw 42; }));
        QVERIFY(after);
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[0].first, dialogs::BoxKind::Error);
        QCOMPARE(boxes[0].second, QStringLiteral("无法写入设置文件."));
        QCOMPARE(boxes[1].first, dialogs::BoxKind::Error);
        QVERIFY(!boxes[1].second.isEmpty());
    }

    void realBoxes_data()
    {
        QTest::addColumn<bool>("error");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("shown");
        QTest::newRow("message") << false << "修改成功！" << int(QMessageBox::NoIcon) << "修改成功！";
        QTest::newRow("error") << true << "Access denied" << int(QMessageBox::Critical) << "Access denied.";
    }

    void realBoxes()
    {
        QFETCH(bool, error);
        QFETCH(QString, text);
        QFETCH(int, icon);
        QFETCH(QString, shown);
        QString title, boxText;
        int boxIcon = -1;
        QMessageBox::StandardButtons buttons;
        bool modal = false;
        bool plainButton = false;
        whenModalShows([&](QWidget* widget) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box)
                return widget->close(), void();
            title = box->windowTitle();
            boxText = box->text();
            boxIcon = int(box->icon());
            buttons = box->standardButtons();
            modal = box->windowModality() != Qt::NonModal;
            plainButton = box->button(QMessageBox::Ok)->icon().isNull();
            box->button(QMessageBox::Ok)->click();
        });
        if (error)
            dialogs::ShowErrorBox(text);
        else
            dialogs::ShowMessage(text);
        QCOMPARE(title, AppTitle());
        QCOMPARE(boxText, shown);
        QCOMPARE(boxIcon, icon);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(modal);
        QVERIFY(plainButton);
    }

    void exitClosesTheWindow()
    {
        showForm();
        form_->CheckBox3->setChecked(true);
        QTest::mouseClick(form_->Button3, Qt::LeftButton);
        QVERIFY(!form_->isVisible());
        // The close went through the close handler: the choices are in the settings file.
        QVERIFY(QFile::exists(QDir(configHome_.path()).filePath("Trellane.ini")));
        batchlife::ResetStop();
    }

    void appTitle_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("program") << "/usr/local/bin/quorvel" << "quorvel";
        QTest::newRow("first capital kept") << "/opt/Quorvel" << "Quorvel";
        QTest::newRow("rest lowered") << "/opt/QUORVEL" << "Quorvel";
        QTest::newRow("cut at the first dot") << "/opt/Quorvel.Tool.EXE" << "Quorvel";
        QTest::newRow("dotted folder") << "/opt/app.d/TOOL" << "Tool";
        QTest::newRow("bare name") << "QuorVel.bin" << "Quorvel";
        QTest::newRow("starts with a dot") << "/opt/.hidden" << "";
        QTest::newRow("one letter") << "/opt/Q.x" << "Q";
        QTest::newRow("non-ascii") << "/opt/ÄRGER" << "Ärger";
    }

    void appTitle()
    {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QCOMPARE(AppTitleFromPath(path), title);
    }

    void appTitleOfThisProgram()
    {
        QCOMPARE(AppTitle(), AppTitleFromPath(QCoreApplication::applicationFilePath()));
        QCOMPARE(AppTitle(), QStringLiteral("Form1test"));
    }
};

QTEST_MAIN(Form1Test)
#include "Form1Test.moc"
