#include "profile/IniFile.h"

#include <utility>

#include "profile/IniInteger.h"
#include "profile/PrivateProfile.h"

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

TIniFile::~TIniFile()
{
    // Whether the flush went through is not looked at.
    profile::WritePrivateProfileStringA(nullptr, nullptr, nullptr, fileName_.c_str());
}

std::string TIniFile::ReadString(const std::string& section, const std::string& ident, const std::string& def) const
{
    char buffer[2048];
    const uint32_t length = profile::GetPrivateProfileStringA(section.c_str(), ident.c_str(), def.c_str(), buffer,
                                                              sizeof buffer, fileName_.c_str());
    return std::string(buffer, length);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& ident, int def) const
{
    return StrToIntDef(ReadString(section, ident, ""), def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& ident, bool def) const
{
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value)
{
    if (!profile::WritePrivateProfileStringA(section.c_str(), ident.c_str(), value.c_str(), fileName_.c_str()))
        throw EIniFileException("Unable to write to " + fileName_);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& ident, int value)
{
    WriteString(section, ident, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}
