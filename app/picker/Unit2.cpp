#include "Unit2.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "FormStyle.h"
#include "HandlerGuard.h"
#include "ShellTreeView.h"
#include "Unit1.h"

TForm2* Form2 = nullptr;

namespace {

template <class W>
W* place(W* widget, int left, int top, int width, int height)
{
    widget->setGeometry(left, top, width, height);
    return widget;
}

} // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent)
{
    ApplyFormStyle(this, QStringLiteral("选择文件夹"));
    createControls();
    wireHandlers();
    resize(355, 281);
    move(327, 223);
}

TForm2::~TForm2()
{
    if (Form2 == this)
        Form2 = nullptr;
}

void TForm2::createControls()
{
    ShellTreeView1 = place(new TShellTreeView(this), 16, 24, 321, 209);
    Label1 = place(new QLabel(QStringLiteral("请选择要实现批量修改的文件夹：                       "), this),
                   16, 8, 249, 13);
    Button1 = place(new QPushButton(QStringLiteral("确定"), this), 104, 248, 75, 25);
    Button2 = place(new QPushButton(QStringLiteral("取消"), this), 208, 248, 75, 25);

    // Neither button is the default: Enter in the tree does not confirm.
    for (QPushButton* button : {Button1, Button2})
        button->setAutoDefault(false);

    setTabOrder(ShellTreeView1, Button1);
    setTabOrder(Button1, Button2);
}

void TForm2::wireHandlers()
{
    auto guard = [this](void (TForm2::*handler)()) {
        return [this, handler] { Guarded([&] { (this->*handler)(); }); };
    };
    connect(Button2, &QPushButton::clicked, this, guard(&TForm2::Button2Click));
    connect(Button1, &QPushButton::clicked, this, guard(&TForm2::Button1Click));
}

void TForm2::keyPressEvent(QKeyEvent* event)
{
    // Neither button is the cancel button either: Escape does not close the window.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm2::Button1Click()
{
    ChosenDir = ShellTreeView1->Path();
    accept();
}

void TForm2::Button2Click() { reject(); }
