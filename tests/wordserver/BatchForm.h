#pragma once
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <string>

#include "RadioGroup.h"
#include "Unit1.h"

// The program's main window set up with a batch's options. The tests call its
// batch operations on the window thread, where its control reads run at once.
struct BatchOptions {
    std::string picture;          // empty: no header picture
    int picturePosition = 1;
    std::string headerText;       // empty: no header text
    int headerPosition = 1;
    std::string footerText;       // empty: no footer text
    int footerPosition = 1;
};

class BatchForm {
public:
    explicit BatchForm(const BatchOptions& o)
    {
        Form1 = &form_;
        form_.CheckBox1->setChecked(!o.picture.empty());
        form_.Edit1->setText(QString::fromStdString(o.picture));
        form_.RadioGroup1->setItemIndex(o.picturePosition);
        form_.CheckBox2->setChecked(!o.headerText.empty());
        TForm1::setMemoText(form_.Memo1, QString::fromStdString(o.headerText));
        form_.RadioGroup2->setItemIndex(o.headerPosition);
        form_.CheckBox3->setChecked(!o.footerText.empty());
        TForm1::setMemoText(form_.Memo2, QString::fromStdString(o.footerText));
        form_.RadioGroup3->setItemIndex(o.footerPosition);
    }
    ~BatchForm() { Form1 = nullptr; }
    TForm1& operator*() { return form_; }
    TForm1* operator->() { return &form_; }

private:
    TForm1 form_;
};
