#include "Unit1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <sys/stat.h>

#include "FormStyle.h"
#include "Dialogs.h"
#include "EngravedLabel.h"
#include "HandlerGuard.h"
#include "RadioGroup.h"
#include "StatusBar.h"
#include "Trim.h"
#include "BatchLifetime.h"
#include "thdModify.h"

TForm1* Form1 = nullptr;
std::string ChosenDir;
int FileCount = 0;

namespace {

const QString kPictureFilter = QStringLiteral(
    "JPG文件(*.jpg)|*.jpg|BITMAP文件(*.bmp)|*.bmp|gif文件(*.gif)|*.gif|ico文件(*.ico)|*.ico|所有文件(*.*)|*.*");

// "Description|pattern|Description|pattern" to Qt's "Description (pattern)" list. Qt reads
// the patterns from the last parentheses and, with their details hidden, shows the
// description alone. "*.*" matches every name on Windows; Qt needs "*" for that.
QStringList qtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString pattern = parts[i + 1] == QStringLiteral("*.*") ? QStringLiteral("*") : parts[i + 1];
        result << parts[i] + " (" + pattern + ")";
    }
    return result;
}

QStringList positionItems() { return {QStringLiteral("居左"), QStringLiteral("居中"), QStringLiteral("居右")}; }

// Controls carry their designer names, so that they can be found by name as on the form.
template <class W>
W* place(W* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QPlainTextEdit* makeMemo(QWidget* parent)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setTabChangesFocus(true);
    return memo;
}

} // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent)
{
    ApplyFormStyle(this, QStringLiteral("Quorvel(Morvast专用)"));
    createControls();
    createStatusBar();
    wireHandlers();
    resize(502, 418);
    move(331, 150);
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::createControls()
{
    Button1 = place(new QPushButton(QStringLiteral("批量修改"), this), "Button1", 144, 328, 75, 25);
    Edit1 = place(new QLineEdit(this), "Edit1", 96, 40, 321, 21);
    Button2 = place(new QPushButton(QStringLiteral("加载...."), this), "Button2", 422, 42, 57, 19);
    Label1 = place(new QLabel(QStringLiteral("增加页眉：      "), this), "Label1", 24, 19, 78, 13);
    Memo1 = place(makeMemo(this), "Memo1", 24, 104, 401, 59);
    CheckBox1 = place(new QCheckBox(QStringLiteral("图片："), this), "CheckBox1", 22, 42, 67, 17);
    CheckBox2 = place(new QCheckBox(QStringLiteral("文字：   "), this), "CheckBox2", 21, 84, 56, 17);
    RadioGroup1 = place(new TRadioGroup(QStringLiteral("位置"), positionItems(), 3, this), "RadioGroup1",
                        96, 4, 321, 33);
    RadioGroup2 = place(new TRadioGroup(QStringLiteral("位置"), positionItems(), 3, this), "RadioGroup2",
                        96, 68, 321, 33);
    Memo2 = place(makeMemo(this), "Memo2", 24, 201, 401, 56);
    RadioGroup3 = place(new TRadioGroup(QStringLiteral("位置"), positionItems(), 3, this), "RadioGroup3",
                        104, 167, 321, 33);
    Button3 = place(new QPushButton(QStringLiteral("退出"), this), "Button3", 240, 328, 75, 25);
    Label3 = place(new QLabel(QStringLiteral("文件所在路径（文件夹名称）                         "), this),
                   "Label3", 24, 272, 231, 13);
    Edit2 = place(new QLineEdit(this), "Edit2", 24, 296, 376, 21);
    CheckBox3 = place(new QCheckBox(QStringLiteral("页脚："), this), "CheckBox3", 22, 180, 57, 17);
    Button4 = place(new QPushButton(QStringLiteral("浏览...."), this), "Button4", 404, 296, 75, 21);
    fcLabel1 = place(new TfcLabel(QStringLiteral("注意：文档将直接覆盖保存，请先备份原文件！"), this),
                     "fcLabel1", 104, 376, 300, 13);

    for (QPushButton* button : {Button1, Button2, Button3, Button4})
        button->setAutoDefault(false);

    // Tab order as designed: Button1, Edit1, Button2, Memo1, CheckBox1, CheckBox2,
    // RadioGroup1, RadioGroup2, Memo2, RadioGroup3, Button3, Edit2, CheckBox3, Button4.
    const QList<QWidget*> tabOrder = {Button1, Edit1, Button2, Memo1, CheckBox1, CheckBox2, RadioGroup1,
                                      RadioGroup2, Memo2, RadioGroup3, Button3, Edit2, CheckBox3, Button4};
    for (qsizetype i = 0; i + 1 < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i], tabOrder[i + 1]);

    opd1 = new QFileDialog(this);
    opd1->setObjectName(QStringLiteral("opd1"));
    opd1->setOption(QFileDialog::DontUseNativeDialog);
    opd1->setAcceptMode(QFileDialog::AcceptOpen);
    opd1->setFileMode(QFileDialog::AnyFile);
    opd1->setOption(QFileDialog::HideNameFilterDetails);
    opd1->setNameFilters(qtNameFilters(kPictureFilter));
}

void TForm1::createStatusBar()
{
    StatusBar1 = new TStatusBar({100, 100, 50}, this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setPanelText(0, QStringLiteral("文件状态"));
    StatusBar1->setGeometry(0, 399, 502, 19);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Controls keep their designed places; only the status bar follows the bottom edge.
    const int barHeight = 19;
    StatusBar1->setGeometry(0, height() - barHeight, width(), barHeight);
}

void TForm1::wireHandlers()
{
    auto guard = [this](void (TForm1::*handler)()) {
        return [this, handler] { Guarded([&] { (this->*handler)(); }); };
    };
    connect(Button3, &QPushButton::clicked, this, guard(&TForm1::Button3Click));
    connect(Button1, &QPushButton::clicked, this, guard(&TForm1::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guard(&TForm1::Button2Click));
    connect(Button4, &QPushButton::clicked, this, guard(&TForm1::Button4Click));
    // toggled fires for the program's own changes too, and only when the state changes.
    connect(CheckBox1, &QCheckBox::toggled, this, guard(&TForm1::CheckBox1Click));
    connect(CheckBox2, &QCheckBox::toggled, this, guard(&TForm1::CheckBox2Click));
    connect(CheckBox3, &QCheckBox::toggled, this, guard(&TForm1::CheckBox3Click));
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    Guarded([this] { FormShow(); });
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // A save that fails abandons the close: the window stays open and usable.
    if (!Guarded([this] { FormClose(); })) {
        event->ignore();
        return;
    }
    // Closing ends the program: a running batch stops before its next document.
    batchlife::RequestStop();
    event->accept();
}

QString TForm1::memoText(const QPlainTextEdit* memo)
{
    // The raw text keeps no-break spaces, which the plain text turns into blanks;
    // its paragraph and line separators are the memo's line breaks.
    const QString raw = memo->document()->toRawText();
    QString text;
    text.reserve(raw.size());
    for (const QChar c : raw) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            text += QStringLiteral("\r\n");
        else
            text += c;
    }
    return text;
}

void TForm1::setMemoText(QPlainTextEdit* memo, const QString& text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(u'\r', u'\n');
    memo->setPlainText(plain);
}

std::string TForm1::folderField() const
{
    const QString text = Edit2->text();
    if (!folderBytes_.empty() && text == QString::fromUtf8(folderBytes_))
        return folderBytes_;
    return text.toStdString();
}

void TForm1::setFolderField(const std::string& bytes)
{
    folderBytes_ = bytes;
    Edit2->setText(QString::fromUtf8(bytes));
}

void TForm1::UpdateControlStates()
{
    Memo2->setEnabled(CheckBox3->isChecked());
    RadioGroup3->setEnabled(CheckBox3->isChecked());
    Memo1->setEnabled(CheckBox2->isChecked());
    RadioGroup2->setEnabled(CheckBox2->isChecked());
    Edit1->setEnabled(CheckBox1->isChecked());
    RadioGroup1->setEnabled(CheckBox1->isChecked());
}

void TForm1::CheckBox1Click()
{
    UpdateControlStates();
    if (CheckBox1->isChecked())
        CheckBox2->setChecked(false);
}

void TForm1::CheckBox2Click()
{
    UpdateControlStates();
    if (CheckBox2->isChecked())
        CheckBox1->setChecked(false);
}

void TForm1::CheckBox3Click() { UpdateControlStates(); }

void TForm1::Button3Click() { close(); }

void TForm1::Button2Click()
{
    // A cancelled use leaves nothing behind: the dialog opens as the last confirmed use left it.
    opd1->selectNameFilter(lastPictureFilter_.isEmpty() ? opd1->nameFilters().value(0) : lastPictureFilter_);
    opd1->selectFile(lastPictureFile_);
    if (opd1->exec() != QDialog::Accepted)
        return;
    const QStringList files = opd1->selectedFiles();
    if (files.isEmpty())
        return;
    lastPictureFile_ = files.first();
    // With the details hidden the dialog names its filter by the description alone;
    // selecting it again takes the whole filter.
    const QString shown = opd1->selectedNameFilter();
    for (const QString& filter : opd1->nameFilters())
        if (filter == shown || filter.startsWith(shown + " ("))
            lastPictureFilter_ = filter;
    Edit1->setText(lastPictureFile_);
}

void TForm1::Button1Click()
{
    // Refused before anything starts: an empty field would walk the root of the
    // file system, and a missing or relative folder would report success for nothing.
    const std::string folder = Trim(folderField());
    if (folder.empty()) {
        dialogs::ShowMessage(QStringLiteral("请选择要修改的文件夹！"));
        return;
    }
    struct stat st {};
    if (folder.front() != '/' || stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        dialogs::ShowMessage(QStringLiteral("文件夹不存在：") + QString::fromUtf8(folder));
        return;
    }
    Button1->setEnabled(false);
    FileCount = 0;
    THDMOD::Start(this);
}
