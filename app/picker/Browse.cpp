#include <QLineEdit>

#include "Unit1.h"
#include "picker/Unit2.h"

// Browse: only a folder confirmed with OK replaces the field; Cancel and the
// picker's close box leave the field as it was.
void TForm1::Button4Click()
{
    if (Form2->exec() == QDialog::Accepted)
        setFolderField(ChosenDir);
}
