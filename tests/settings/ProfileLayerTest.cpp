#include <gtest/gtest.h>
#include <filesystem>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TempFolder.h"
#include "profile/PrivateProfile.h"

using namespace std::string_literals;
using profile::GetPrivateProfileStringA;
using profile::WritePrivateProfileStringA;
namespace fs = std::filesystem;

namespace {

std::string Read(const std::string& file, const char* section, const char* key, const char* def = "<default>")
{
    char buffer[2048];
    const uint32_t length = GetPrivateProfileStringA(section, key, def, buffer, sizeof buffer, file.c_str());
    EXPECT_EQ(length, std::string(buffer).size());
    return std::string(buffer, length);
}

bool Write(const std::string& file, const char* section, const char* key, const char* value)
{
    return WritePrivateProfileStringA(section, key, value, file.c_str()) != 0;
}

// ---- reading a file as the Windows service reads it

struct ReadCase {
    const char* name;
    std::string file;
    const char* key;
    std::string expected;
};

class ReadRules : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadRules, ReadsTheValueTheServiceWouldReturn)
{
    TempFolder dir;
    WriteBytes(dir.file("t.ini"), GetParam().file);
    EXPECT_EQ(Read(dir.file("t.ini"), "Trellane", GetParam().key), GetParam().expected);
}

const std::string kWindowsFile =
    "; written on Windows\r\n"
    "[Other]\r\n"
    "ModifyDir=not this one\r\n"
    "\r\n"
    "[TRELLANE]\r\n"
    "  modifydir =  C:\\docs\\new folder  \r\n"
    "ImageName=\"  spaced.jpg \"\r\n"
    "HeaderText='quoted'\r\n"
    "FooterText=\"unmatched'\r\n"
    "Empty=\r\n"
    "NoEquals\r\n";

INSTANTIATE_TEST_SUITE_P(
    Profile, ReadRules,
    testing::Values(
        ReadCase{"NamesIgnoreCaseAndBlanksAroundValueDrop", kWindowsFile, "ModifyDir", "C:\\docs\\new folder"},
        ReadCase{"DoubleQuotesStrippedInnerBlanksKept", kWindowsFile, "ImageName", "  spaced.jpg "},
        ReadCase{"SingleQuotesStripped", kWindowsFile, "HeaderText", "quoted"},
        ReadCase{"UnmatchedQuotesKept", kWindowsFile, "FooterText", "\"unmatched'"},
        ReadCase{"EmptyValueIsNotTheDefault", kWindowsFile, "Empty", ""},
        ReadCase{"LineWithoutEqualsHoldsNoKey", kWindowsFile, "NoEquals", "<default>"},
        ReadCase{"MissingKey", kWindowsFile, "IsImage", "<default>"},
        ReadCase{"MissingSection", "[Other]\nModifyDir=x\n", "ModifyDir", "<default>"},
        ReadCase{"KeyBeforeAnySection", "ModifyDir=x\n[Trellane]\n", "ModifyDir", "<default>"},
        ReadCase{"FirstOfTwoKeys", "[Trellane]\nA=first\nA=second\n", "A", "first"},
        ReadCase{"FirstOfTwoSections", "[Trellane]\nA=first\n[Trellane]\nA=second\nB=b\n", "B", "<default>"},
        ReadCase{"ByteOrderMark", "\xEF\xBB\xBF[Trellane]\r\nA=1\r\n", "A", "1"},
        ReadCase{"LfLineEnds", "[Trellane]\nA=1\nB=2\n", "B", "2"},
        ReadCase{"CrLineEnds", "[Trellane]\rA=1\rB=2\r", "B", "2"},
        ReadCase{"NoLineEndAtTheEnd", "[Trellane]\r\nA=last", "A", "last"},
        ReadCase{"NulEndsTheValue", "[Trellane]\nA=ab\0cd\n"s, "A", "ab"},
        ReadCase{"EqualsInsideValueKept", "[Trellane]\nA = b = c\n", "A", "b = c"},
        ReadCase{"SectionLineWithTrailingText", "[ Trellane ] ; comment\nA=1\n", "A", "1"},
        ReadCase{"OtherSectionEndsIt", "[Trellane]\n[Next]\nA=1\n", "A", "<default>"},
        ReadCase{"EscapedFormNeedsValidEscapes", "[Trellane]\nA=@\"C:\\dir\"\n", "A", "@\"C:\\dir\""}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(Profile, MissingFileGivesTheDefaultWithoutItsTrailingBlanks)
{
    TempFolder dir;
    EXPECT_EQ(Read(dir.file("none.ini"), "Trellane", "A", " keep leading, drop trailing \t "),
              " keep leading, drop trailing");
    EXPECT_FALSE(fs::exists(dir.file("none.ini")));
}

TEST(Profile, SomethingOtherThanAFileReadsAsMissing)
{
    TempFolder dir;
    fs::create_directory(dir.file("folder.ini"));
    mkfifo(dir.file("fifo.ini").c_str(), 0644);   // opening it must not wait for a writer
    EXPECT_EQ(Read(dir.file("folder.ini"), "Trellane", "A"), "<default>");
    EXPECT_EQ(Read(dir.file("fifo.ini"), "Trellane", "A"), "<default>");
}

// ---- the read buffer

struct CutCase {
    const char* name;
    std::string value;
    std::size_t expectedLength;
};

class ReadBuffer : public testing::TestWithParam<CutCase> {};

TEST_P(ReadBuffer, CutsToTheBufferOnACharacterBoundary)
{
    TempFolder dir;
    const std::string file = dir.file("t.ini");
    WriteBytes(file, "[Trellane]\nA=" + GetParam().value + "\n");
    const std::string read = Read(file, "Trellane", "A");
    EXPECT_EQ(read.size(), GetParam().expectedLength);
    EXPECT_EQ(read, GetParam().value.substr(0, GetParam().expectedLength));
}

std::string repeat(const std::string& unit, std::size_t times)
{
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += unit;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Profile, ReadBuffer,
    testing::Values(CutCase{"FitsExactly", std::string(2047, 'a'), 2047},
                    CutCase{"Ascii3000", std::string(3000, 'a'), 2047},
                    CutCase{"ThreeByteCharacterAcrossTheCut", std::string(2046, 'a') + repeat("中", 10), 2046},
                    CutCase{"ThreeByteCharactersOnly", repeat("中", 1000), 2046},
                    CutCase{"TwoByteCharacterEndsAtTheCut", std::string(2045, 'a') + repeat("é", 5), 2047},
                    CutCase{"FourByteCharacterAcrossTheCut", std::string(2045, 'a') + repeat("😀", 3), 2045},
                    CutCase{"NotUtf8KeptAsBytes", std::string(3000, '\x80'), 2047}),
    [](const testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

TEST(Profile, SmallBuffersAndTheDefaultFollowTheSameCut)
{
    TempFolder dir;
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(GetPrivateProfileStringA("S", "K", "ab中", buffer, 4, dir.file("none.ini").c_str()), 2u);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(GetPrivateProfileStringA("S", "K", "ab", buffer, 1, dir.file("none.ini").c_str()), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(GetPrivateProfileStringA("S", "K", "ab", buffer, 0, dir.file("none.ini").c_str()), 0u);
}

TEST(Profile, TenMegabyteLinesAreReadWholeAndCut)
{
    TempFolder dir;
    const std::string file = dir.file("t.ini");
    const std::string huge(10 * 1024 * 1024, 'z');
    WriteBytes(file, "[Trellane]\nJunk" + huge + "\nA=" + huge + "\nB=after");
    EXPECT_EQ(Read(file, "Trellane", "A"), std::string(2047, 'z'));
    EXPECT_EQ(Read(file, "Trellane", "B"), "after");
    ASSERT_TRUE(Write(file, "Trellane", "B", "again"));
    EXPECT_EQ(Read(file, "Trellane", "B"), "again");
    EXPECT_EQ(fs::file_size(file), 2 * huge.size() + std::string("[Trellane]\nJunk\nA=\nB=again").size());
}

// ---- how values are stored

struct StoreCase {
    const char* name;
    std::string value;
    std::string line;   // the key's line as it stands in the file
};

class StoredValues : public testing::TestWithParam<StoreCase> {};

TEST_P(StoredValues, ReadBackExactlyAndPlainOnesStandAsTheServiceWritesThem)
{
    TempFolder dir;
    const std::string file = dir.file("t.ini");
    ASSERT_TRUE(Write(file, "Trellane", "A", GetParam().value.c_str()));
    ASSERT_TRUE(Write(file, "Trellane", "B", "next"));
    EXPECT_EQ(ReadBytes(file), "[Trellane]\r\n" + GetParam().line + "\r\nB=next\r\n");
    EXPECT_EQ(Read(file, "Trellane", "A"), GetParam().value);
    EXPECT_EQ(Read(file, "Trellane", "B"), "next");
}

INSTANTIATE_TEST_SUITE_P(
    Profile, StoredValues,
    testing::Values(StoreCase{"Empty", "", "A="},
                    StoreCase{"Plain", "C:\\docs\\new", "A=C:\\docs\\new"},
                    StoreCase{"InnerBlanksAndQuotes", "say \"hi\" 'there'", "A=say \"hi\" 'there'"},
                    StoreCase{"Utf8", "页眉 文字", "A=页眉 文字"},
                    StoreCase{"BlanksAtTheEnds", "  both ends\t", "A=\"  both ends\t\""},
                    StoreCase{"WrappedInQuotes", "\"quoted\"", "A=\"\"quoted\"\""},
                    StoreCase{"WrappedInSingleQuotes", "'x'", "A=\"'x'\""},
                    StoreCase{"LoneQuote", "\"", "A=\""},
                    StoreCase{"StartsLikeTheEscapedForm", "@\"x\"", "A=\"@\"x\"\""},
                    StoreCase{"Lines", "one\r\ntwo", "A=@\"one\\r\\ntwo\""},
                    StoreCase{"EndsWithALineBreak", "  head\r\n", "A=@\"  head\\r\\n\""},
                    StoreCase{"LoneCrAndLf", "a\rb\nc", "A=@\"a\\rb\\nc\""},
                    StoreCase{"BackslashesInALineValue", "C:\\n\\r\r\n\\", "A=@\"C:\\\\n\\\\r\\r\\n\\\\\""},
                    StoreCase{"LineBreakThatLooksLikeAKey", "x\r\nB=stolen\r\n[Other]",
                              "A=@\"x\\r\\nB=stolen\\r\\n[Other]\""}),
    [](const testing::TestParamInfo<StoreCase>& info) { return std::string(info.param.name); });

// ---- writing keeps the rest of the file

struct EditCase {
    const char* name;
    std::string before;
    std::string after;
};

class Edits : public testing::TestWithParam<EditCase> {};

TEST_P(Edits, ChangeOnlyTheKeysLine)
{
    TempFolder dir;
    const std::string file = dir.file("t.ini");
    WriteBytes(file, GetParam().before);
    ASSERT_TRUE(Write(file, "Trellane", "ModifyDir", "/new"));
    EXPECT_EQ(ReadBytes(file), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Profile, Edits,
    testing::Values(
        EditCase{"ReplacesTheFirstKeyKeepingItsLineEnd",
                 "; c\n[x]\nModifyDir=other\n[TRELLANE]\r\nmodifydir = old \r\nModifyDir=dup\n",
                 "; c\n[x]\nModifyDir=other\n[TRELLANE]\r\nModifyDir=/new\r\nModifyDir=dup\n"},
        EditCase{"AddsAfterTheLastLineOfTheSection",
                 "[Trellane]\nA=1\n; note\n\n\n[Next]\nB=2",
                 "[Trellane]\nA=1\n; note\nModifyDir=/new\r\n\n\n[Next]\nB=2"},
        EditCase{"AddsToTheFirstOfTwoSections",
                 "[Trellane]\rA=1\r[Trellane]\rModifyDir=second\r",
                 "[Trellane]\rA=1\rModifyDir=/new\r\n[Trellane]\rModifyDir=second\r"},
        EditCase{"AddsToASectionAtTheEndWithoutLineEnd",
                 "[Trellane]", "[Trellane]\r\nModifyDir=/new\r\n"},
        EditCase{"AddsTheSectionAtTheEnd",
                 "\xEF\xBB\xBF[Other]\nX=1", "\xEF\xBB\xBF[Other]\nX=1\r\n[Trellane]\r\nModifyDir=/new\r\n"},
        EditCase{"KeepsBinaryBytesElsewhere",
                 "\0\xFF\n[Trellane]\nModifyDir=\n\x01\0"s, "\0\xFF\n[Trellane]\nModifyDir=/new\n\x01\0"s}),
    [](const testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

TEST(Profile, WriteCreatesMissingFoldersAndLeavesNoTemporaryFile)
{
    TempFolder dir;
    const std::string file = dir.file("a/b/t.ini");
    ASSERT_TRUE(Write(file, "Trellane", "ModifyDir", "/x"));
    EXPECT_EQ(ReadBytes(file), "[Trellane]\r\nModifyDir=/x\r\n");
    EXPECT_EQ(fs::status(dir.path() / "a").permissions() & fs::perms::all, fs::perms::owner_all);
    ASSERT_TRUE(Write(file, "Trellane", "ModifyDir", "/y"));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path() / "a/b"))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"t.ini"});
}

TEST(Profile, ReplacementKeepsPermissionsAndFollowsALink)
{
    TempFolder dir;
    const std::string real = dir.file("real.ini");
    WriteBytes(real, "[Trellane]\nA=1\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, dir.file("link.ini"));
    ASSERT_TRUE(Write(dir.file("link.ini"), "Trellane", "A", "2"));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.ini")));
    EXPECT_EQ(ReadBytes(real), "[Trellane]\nA=2\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

struct RefusalCase {
    const char* name;
    void (*arrange)(const TempFolder& dir);   // makes dir/t.ini unwritable
};

class RefusedWrites : public testing::TestWithParam<RefusalCase> {};

TEST_P(RefusedWrites, ReturnZeroAndChangeNothing)
{
    TempFolder dir;
    GetParam().arrange(dir);
    const std::string file = dir.file("t.ini");
    const bool existed = fs::exists(file) && fs::is_regular_file(file);
    const std::string before = existed ? ReadBytes(file) : "";
    EXPECT_EQ(WritePrivateProfileStringA("Trellane", "A", "new", file.c_str()), 0);
    if (existed) {
        EXPECT_EQ(ReadBytes(file), before);
    }
    std::error_code ignored;
    fs::permissions(dir.path(), fs::perms::owner_all, ignored);
    fs::permissions(file, fs::perms::owner_all, ignored);
}

INSTANTIATE_TEST_SUITE_P(
    Profile, RefusedWrites,
    testing::Values(
        RefusalCase{"ReadOnlyFile",
                    [](const TempFolder& d) {
                        WriteBytes(d.file("t.ini"), "[Trellane]\nA=old\n");
                        fs::permissions(d.file("t.ini"), fs::perms::owner_read | fs::perms::group_read);
                    }},
        RefusalCase{"ReadOnlyFolderWithoutTheFile",
                    [](const TempFolder& d) {
                        fs::permissions(d.path(), fs::perms::owner_read | fs::perms::owner_exec);
                    }},
        RefusalCase{"FolderInTheFilesPlace", [](const TempFolder& d) { fs::create_directory(d.file("t.ini")); }},
        RefusalCase{"UnreadableFile",
                    [](const TempFolder& d) {
                        WriteBytes(d.file("t.ini"), "[Trellane]\nA=old\n");
                        fs::permissions(d.file("t.ini"), fs::perms::owner_write);
                        if (geteuid() == 0) {   // the superuser reads it anyway; then a FIFO stands in
                            fs::remove(d.file("t.ini"));
                            mkfifo(d.file("t.ini").c_str(), 0644);
                        }
                    }}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST(Profile, WritableFileInAReadOnlyFolderIsRewrittenInPlace)
{
    TempFolder dir;
    const std::string file = dir.file("t.ini");
    WriteBytes(file, "; kept\n[Trellane]\nA=old\n");
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_NE(WritePrivateProfileStringA("Trellane", "A", "new", file.c_str()), 0);
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(ReadBytes(file), "; kept\n[Trellane]\nA=new\n");
}

TEST(Profile, NamesThatCannotStandOnALineOfTheirOwnAreRefused)
{
    TempFolder dir;
    const std::string file = dir.file("t.ini");
    for (const char* key : {"", " A", "A=B", "A\nB", "[A"})
        EXPECT_FALSE(Write(file, "Trellane", key, "x")) << key;
    for (const char* section : {"", "S]", "S\r"})
        EXPECT_FALSE(Write(file, section, "A", "x")) << section;
    EXPECT_FALSE(Write(file, "S", "A", nullptr));
    EXPECT_FALSE(Write(file, nullptr, "A", "x"));
    EXPECT_FALSE(fs::exists(file));
}

TEST(Profile, FlushWithAllNullArgumentsSucceedsAndWritesNothing)
{
    TempFolder dir;
    EXPECT_NE(WritePrivateProfileStringA(nullptr, nullptr, nullptr, dir.file("t.ini").c_str()), 0);
    EXPECT_FALSE(fs::exists(dir.file("t.ini")));
}

// ---- where a bare name lives

class BareName : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"XDG_CONFIG_HOME", "HOME"})
            if (const char* value = getenv(name))
                saved_.emplace_back(name, value);
    }
    void TearDown() override
    {
        unsetenv("XDG_CONFIG_HOME");
        for (const auto& [name, value] : saved_)
            setenv(name.c_str(), value.c_str(), 1);
    }
    std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(BareName, LivesInTheConfigurationFolder)
{
    TempFolder dir;
    setenv("HOME", dir.file("home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.file("xdg").c_str(), 1);
    ASSERT_TRUE(Write("Trellane.ini", "Trellane", "A", "xdg"));
    EXPECT_EQ(ReadBytes(dir.file("xdg/Trellane.ini")), "[Trellane]\r\nA=xdg\r\n");
    EXPECT_EQ(Read("Trellane.ini", "Trellane", "A"), "xdg");

    for (const char* ignored : {"", "relative/path"}) {
        setenv("XDG_CONFIG_HOME", ignored, 1);
        ASSERT_TRUE(Write("Trellane.ini", "Trellane", "A", "home"));
    }
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(Read("Trellane.ini", "Trellane", "A"), "home");
    EXPECT_EQ(ReadBytes(dir.file("home/.config/Trellane.ini")), "[Trellane]\r\nA=home\r\n");
    EXPECT_FALSE(fs::exists("relative"));
}

TEST_F(BareName, ConfigurationFolderThatIsAFileRefusesTheWrite)
{
    TempFolder dir;
    WriteBytes(dir.file("xdg"), "");
    setenv("XDG_CONFIG_HOME", dir.file("xdg").c_str(), 1);
    EXPECT_EQ(WritePrivateProfileStringA("Trellane", "A", "x", "Trellane.ini"), 0);
    EXPECT_EQ(Read("Trellane.ini", "Trellane", "A"), "<default>");
}

} // namespace
