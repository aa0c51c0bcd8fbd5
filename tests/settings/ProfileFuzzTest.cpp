// Seeded random file contents and values against the reader and the writer:
// nothing may crash or hang, a written key reads back exactly its own value,
// every other key reads as before, and no other line of the file changes.
#include <gtest/gtest.h>
#include <array>
#include <cctype>
#include <cstring>
#include <iostream>
#include <map>
#include <optional>
#include <random>

#include "TempFolder.h"
#include "profile/PrivateProfile.h"
#include "profile/ProfileText.h"
#include "profile/ProfileValue.h"

using namespace std::string_literals;

namespace {

constexpr unsigned kSeed = 20240611;
constexpr int kInputs = 20000;
constexpr int kThroughFilesEvery = 100;   // the file path costs a disk write, so only a sample takes it

const std::array<std::string, 32> kPieces = {
    "[", "]", "=", "\"", "'", "\r", "\n", "\r\n", "\0"s, " ", "\t", ";", "@\"", "\\", "\\r", "\\n",
    "Trellane", "tRELLANE", "Other", "A", "a", "B", "[Trellane]", "[Other]", "\nA=", "\nB=",
    "\xEF\xBB\xBF", "中", "\xFF", "\xC3", "\xE4\xB8", "x"};
const std::array<const char*, 2> kSections = {"Trellane", "Other"};
const std::array<const char*, 3> kKeys = {"A", "B", "a"};

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    std::string text(bool allowNul)
    {
        std::string out;
        const int pieces = pick(60);
        for (int i = 0; i < pieces; ++i) {
            const int roll = pick(100);
            if (roll < 2)
                out.append(static_cast<std::size_t>(1000 + pick(3000)), static_cast<char>(pick(256)));
            else if (roll < 12)
                out += static_cast<char>(pick(256));
            else
                out += kPieces[static_cast<std::size_t>(pick(static_cast<int>(kPieces.size())))];
        }
        if (!allowNul)
            std::erase(out, '\0');
        return out;
    }

    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }

private:
    std::mt19937 random_;
};

// What a read returns, by the same steps as the service: find, unwrap, C string, cut.
std::optional<std::string> readValue(std::string_view text, const char* section, const char* key)
{
    const auto stored = profile::FindStoredValue(text, section, key);
    if (!stored)
        return std::nullopt;
    std::string value = profile::ReadForm(*stored);
    value.resize(std::strlen(value.c_str()));
    profile::CutToLimit(value, 2047);
    return value;
}

bool sameName(std::string a, std::string b)
{
    for (std::string* name : {&a, &b})
        for (char& c : *name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return a == b;
}

bool endsInsideAUtf8Sequence(const std::string& text)
{
    std::size_t start = text.size(), following = 0;
    while (start > 0 && following < 3 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80)
        --start, ++following;
    if (start == 0)
        return false;
    const auto lead = static_cast<unsigned char>(text[start - 1]);
    const std::size_t length = lead >= 0xF8 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return length > following + 1;
}

// The bytes of before that after lacks must lie within one line.
void expectOneLineChanged(const std::string& before, const std::string& after)
{
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const std::string removed = before.substr(prefix, before.size() - prefix - suffix);
    EXPECT_EQ(removed.find_first_of("\r\n"), std::string::npos) << "removed: " << removed;
}

TEST(ProfileFuzz, RandomFilesAndValues)
{
    Generator generate(kSeed);
    TempFolder dir;
    const std::string file = dir.file("fuzz.ini");
    int throughFiles = 0;
    for (int input = 0; input < kInputs; ++input) {
        SCOPED_TRACE("input " + std::to_string(input));
        const std::string text = generate.text(true);
        const char* section = kSections[static_cast<std::size_t>(generate.pick(2))];
        const char* key = kKeys[static_cast<std::size_t>(generate.pick(3))];
        const std::string value = generate.text(false);

        std::map<std::pair<std::string, std::string>, std::optional<std::string>> before;
        for (const char* s : kSections)
            for (const char* k : kKeys) {
                const auto read = readValue(text, s, k);
                if (read && read->size() == 2047) {
                    EXPECT_FALSE(endsInsideAUtf8Sequence(*read));
                }
                before[{s, k}] = read;
            }

        const std::string after = profile::WithStoredValue(text, section, key, profile::StoredForm(value));
        std::string expected = value;
        profile::CutToLimit(expected, 2047);
        ASSERT_EQ(readValue(after, section, key), expected);
        for (const auto& [name, read] : before) {
            if (name.first != section || !sameName(name.second, key)) {
                EXPECT_EQ(readValue(after, name.first.c_str(), name.second.c_str()), read);
            }
        }
        expectOneLineChanged(text, after);

        if (input % kThroughFilesEvery == 0) {
            ++throughFiles;
            WriteBytes(file, text);
            char buffer[2048];
            for (const auto& [name, read] : before) {
                profile::GetPrivateProfileStringA(name.first.c_str(), name.second.c_str(), "\x01", buffer,
                                                  sizeof buffer, file.c_str());
                EXPECT_EQ(std::string(buffer), read.value_or("\x01"));
            }
            ASSERT_NE(profile::WritePrivateProfileStringA(section, key, value.c_str(), file.c_str()), 0);
            EXPECT_EQ(ReadBytes(file), after);
        }
        if (HasFatalFailure())
            return;
    }
    std::cout << "[ fuzz ] " << kInputs << " random inputs (seed " << kSeed << "), " << throughFiles
              << " of them through files\n";
    testing::Test::RecordProperty("inputs", kInputs);
}

} // namespace
