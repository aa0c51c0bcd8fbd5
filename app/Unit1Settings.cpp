#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <string>

#include "RadioGroup.h"
#include "Trim.h"
#include "Unit1.h"
#include "profile/IniFile.h"

// The window's ten choices live in section "Trellane" of "Trellane.ini",
// read and written in one fixed key order.
namespace {

const std::string kSettingsFile = "Trellane.ini";
const std::string kSection = "Trellane";

QString fromProfile(const std::string& text) { return QString::fromStdString(text); }
std::string toProfile(const QString& text) { return text.toStdString(); }

} // namespace

void TForm1::FormShow()
{
    TIniFile ini(kSettingsFile);
    // Each value goes into its control before the next is read; a check box
    // that changes runs its handler here, so the picture/text exclusion applies.
    try {
        setFolderField(ini.ReadString(kSection, "ModifyDir", ""));
        CheckBox1->setChecked(ini.ReadBool(kSection, "IsImage", false));
        RadioGroup1->setItemIndex(ini.ReadInteger(kSection, "ImagePos", 0));
        Edit1->setText(fromProfile(ini.ReadString(kSection, "ImageName", "")));
        CheckBox2->setChecked(ini.ReadBool(kSection, "IsHeaderText", false));
        RadioGroup2->setItemIndex(ini.ReadInteger(kSection, "HeaderTextPos", 0));
        setMemoText(Memo1, fromProfile(ini.ReadString(kSection, "HeaderText", "")));
        CheckBox3->setChecked(ini.ReadBool(kSection, "IsFooterText", false));
        RadioGroup3->setItemIndex(ini.ReadInteger(kSection, "FooterTextPos", 0));
        setMemoText(Memo2, fromProfile(ini.ReadString(kSection, "FooterText", "")));
    } catch (...) {
        UpdateControlStates();
        throw;
    }
    UpdateControlStates();
}

void TForm1::FormClose()
{
    TIniFile ini(kSettingsFile);
    // The field keeps its blanks; only the stored value is trimmed.
    ini.WriteString(kSection, "ModifyDir", Trim(folderField()));
    ini.WriteBool(kSection, "IsImage", CheckBox1->isChecked());
    ini.WriteInteger(kSection, "ImagePos", RadioGroup1->itemIndex());
    ini.WriteString(kSection, "ImageName", Trim(toProfile(Edit1->text())));
    ini.WriteBool(kSection, "IsHeaderText", CheckBox2->isChecked());
    ini.WriteInteger(kSection, "HeaderTextPos", RadioGroup2->itemIndex());
    ini.WriteString(kSection, "HeaderText", toProfile(memoText(Memo1)));
    ini.WriteBool(kSection, "IsFooterText", CheckBox3->isChecked());
    ini.WriteInteger(kSection, "FooterTextPos", RadioGroup3->itemIndex());
    ini.WriteString(kSection, "FooterText", Trim(toProfile(memoText(Memo2))));
}
