#pragma once
#include <QDialog>

class QLabel;
class QPushButton;
class TShellTreeView;

// The folder picker: a modal window over the shell's folder tree. Its only
// output is ChosenDir, which OK sets; Cancel and the close box leave it alone.
// Created hidden at start-up and kept for the whole run, so the tree keeps
// its expansion and selection from one use to the next.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    // Published components, in declaration order.
    TShellTreeView* ShellTreeView1;
    QLabel* Label1;
    QPushButton* Button1;   // "确定"
    QPushButton* Button2;   // "取消"

    // Published event handlers, in declaration order.
    void Button2Click();
    void Button1Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void wireHandlers();
};

extern TForm2* Form2;
