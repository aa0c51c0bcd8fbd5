#pragma once
#include <QString>
#include <QWidget>
#include <string>

class QCheckBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TRadioGroup;
class TStatusBar;
class TfcLabel;

// The main window: every option of a batch lives in its controls and nowhere else.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Published components, in declaration order.
    QPushButton* Button1;   // "批量修改"
    QLineEdit* Edit1;       // header picture path
    QPushButton* Button2;   // "加载...."
    QLabel* Label1;
    QPlainTextEdit* Memo1;  // header text
    QCheckBox* CheckBox1;   // header picture on/off
    QCheckBox* CheckBox2;   // header text on/off
    TRadioGroup* RadioGroup1;
    TRadioGroup* RadioGroup2;
    QPlainTextEdit* Memo2;  // footer text
    TRadioGroup* RadioGroup3;
    QPushButton* Button3;   // "退出"
    QLabel* Label3;
    QLineEdit* Edit2;       // folder to process
    QCheckBox* CheckBox3;   // footer text on/off
    QPushButton* Button4;   // "浏览...."
    QFileDialog* opd1;
    TStatusBar* StatusBar1;
    TfcLabel* fcLabel1;

    // Published event handlers, in declaration order.
    void Button3Click();
    void Button1Click();
    void Button2Click();
    void Button4Click();
    void FormClose();
    void FormShow();
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();

    // The batch operations; they run on the batch worker thread.
    void ModifyFolder(const std::string& folder);
    void ModifyDocument(const std::string& path);

    // The folder field as bytes. A folder name need not be valid UTF-8: the bytes
    // that were put into the field are kept and given back as long as the field
    // still shows them; typed text is taken as UTF-8.
    std::string folderField() const;
    void setFolderField(const std::string& bytes);

    // A memo's whole text: its lines joined by CR LF, no break after the last.
    static QString memoText(const QPlainTextEdit* memo);
    static void setMemoText(QPlainTextEdit* memo, const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void createStatusBar();
    void wireHandlers();
    void UpdateControlStates();

    bool shown_ = false;
    std::string folderBytes_;
    QString lastPictureFile_;   // the picture dialog opens with the last confirmed file and filter
    QString lastPictureFilter_;
};

// Process-wide state declared with the main window.
extern TForm1* Form1;
extern std::string ChosenDir;
extern int FileCount;
