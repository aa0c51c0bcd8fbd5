#include "profile/PrivateProfile.h"

#include <cstring>
#include <string>

#include "profile/ProfileFile.h"
#include "profile/ProfileText.h"
#include "profile/ProfileValue.h"

namespace profile {

uint32_t GetPrivateProfileStringA(const char* appName, const char* keyName, const char* def,
                                  char* returnedString, uint32_t size, const char* fileName)
{
    if (!returnedString || size == 0)
        return 0;
    std::string value(def ? def : "");
    while (!value.empty() && IsBlank(value.back()))
        value.pop_back();

    std::string text;
    if (appName && keyName && fileName && ReadProfileFile(ProfilePath(fileName), text) == FileState::Read) {
        if (const auto stored = FindStoredValue(text, appName, keyName))
            value = ReadForm(*stored);
    }
    // The caller gets a C string: a NUL in the file ends the value there.
    value.resize(std::strlen(value.c_str()));
    CutToLimit(value, size - 1);
    std::memcpy(returnedString, value.data(), value.size());
    returnedString[value.size()] = '\0';
    return static_cast<uint32_t>(value.size());
}

int WritePrivateProfileStringA(const char* appName, const char* keyName, const char* value,
                               const char* fileName)
{
    if (!fileName)
        return 0;
    if (!appName && !keyName && !value)
        return 1;
    if (!appName || !keyName || !value || !IsValidSectionName(appName) || !IsValidKeyName(keyName))
        return 0;

    const std::string path = ProfilePath(fileName);
    std::string text;
    if (path.empty() || ReadProfileFile(path, text) == FileState::Unreadable)
        return 0;
    return ReplaceProfileFile(path, WithStoredValue(text, appName, keyName, StoredForm(value))) ? 1 : 0;
}

} // namespace profile
