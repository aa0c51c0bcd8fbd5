#include <gtest/gtest.h>
#include <climits>
#include <filesystem>
#include <stdlib.h>

#include "TempFolder.h"
#include "profile/IniFile.h"
#include "profile/IniInteger.h"

namespace fs = std::filesystem;

namespace {

struct IntegerCase {
    const char* text;
    int expected;   // with default 7
};

class IntegerRule : public testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerRule, ReadsDecimalAndHexadecimalElseTheDefault)
{
    EXPECT_EQ(StrToIntDef(GetParam().text, 7), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    IniFile, IntegerRule,
    testing::Values(IntegerCase{"2", 2}, IntegerCase{"-1", -1}, IntegerCase{"+5", 5}, IntegerCase{"  \t 3", 3},
                    IntegerCase{"007", 7}, IntegerCase{"0x2", 2}, IntegerCase{"0X1f", 31}, IntegerCase{"$2", 2},
                    IntegerCase{"$aB", 171}, IntegerCase{"x10", 16}, IntegerCase{"X10", 16},
                    IntegerCase{"-0x2", -2}, IntegerCase{"-$10", -16},
                    IntegerCase{"2147483647", INT_MAX}, IntegerCase{"-2147483648", INT_MIN},
                    IntegerCase{"$FFFFFFFF", -1}, IntegerCase{"$80000000", INT_MIN},
                    IntegerCase{"$000000001", 1},
                    // everything below gives the default
                    IntegerCase{"", 7}, IntegerCase{"two", 7}, IntegerCase{"2a", 7}, IntegerCase{"yes", 7},
                    IntegerCase{"true", 7}, IntegerCase{"2 ", 7}, IntegerCase{"- 2", 7}, IntegerCase{"+-2", 7},
                    IntegerCase{"0x", 7}, IntegerCase{"$", 7}, IntegerCase{"-", 7}, IntegerCase{"$-1", 7},
                    IntegerCase{"0x0x1", 7}, IntegerCase{"1.0", 7}, IntegerCase{"2147483648", 7},
                    IntegerCase{"-2147483649", 7}, IntegerCase{"$100000000", 7},
                    IntegerCase{"99999999999999999999999", 7}),
    [](const testing::TestParamInfo<IntegerCase>& info) { return "Case" + std::to_string(info.index); });

class IniFileTest : public testing::Test {
protected:
    TempFolder dir;
    std::string file = dir.file("Settings.ini");
};

TEST_F(IniFileTest, WritesTheServicesTextsAndReadsThemBack)
{
    {
        TIniFile ini(file);
        ini.WriteString("Trellane", "Text", "页眉\r\n");
        ini.WriteBool("Trellane", "On", true);
        ini.WriteBool("Trellane", "Off", false);
        ini.WriteInteger("Trellane", "Pos", -1);
        ini.WriteInteger("Trellane", "Low", INT_MIN);
    }
    EXPECT_EQ(ReadBytes(file),
              "[Trellane]\r\nText=@\"页眉\\r\\n\"\r\nOn=1\r\nOff=0\r\nPos=-1\r\nLow=-2147483648\r\n");
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("Trellane", "Text", ""), "页眉\r\n");
    EXPECT_EQ(ini.ReadInteger("Trellane", "Low", 0), INT_MIN);
    EXPECT_EQ(ini.ReadInteger("Trellane", "Text", 4), 4);
    EXPECT_EQ(ini.ReadString("Trellane", "Missing", "def"), "def");
}

TEST_F(IniFileTest, ReadBoolIsAnyNonZeroIntegerElseTheDefault)
{
    WriteBytes(file, "[Trellane]\nTwo=2\nMinus=-1\nZero=0\nYes=yes\nTrue=true\nEmpty=\n");
    TIniFile ini(file);
    EXPECT_TRUE(ini.ReadBool("Trellane", "Two", false));
    EXPECT_TRUE(ini.ReadBool("Trellane", "Minus", false));
    EXPECT_FALSE(ini.ReadBool("Trellane", "Zero", true));
    for (const char* key : {"Yes", "True", "Empty", "Missing"}) {
        EXPECT_FALSE(ini.ReadBool("Trellane", key, false)) << key;
        EXPECT_TRUE(ini.ReadBool("Trellane", key, true)) << key;
    }
}

TEST_F(IniFileTest, ReadStringStopsAt2047Bytes)
{
    TIniFile ini(file);
    ini.WriteString("Trellane", "Long", std::string(3000, 'L'));
    EXPECT_EQ(ini.ReadString("Trellane", "Long", ""), std::string(2047, 'L'));
}

TEST(IniFileRefusal, NamesTheFileAsPassed)
{
    TempFolder dir;
    WriteBytes(dir.file("xdg"), "");   // a file where the configuration folder should be
    const char* saved = getenv("XDG_CONFIG_HOME");
    const std::string restore = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", dir.file("xdg").c_str(), 1);
    {
        TIniFile ini("Trellane.ini");
        try {
            ini.WriteBool("Trellane", "IsImage", true);
            ADD_FAILURE() << "the write went through";
        } catch (const EIniFileException& e) {
            EXPECT_STREQ(e.what(), "Unable to write to Trellane.ini");
        }
        EXPECT_THROW(ini.WriteInteger("Trellane", "ImagePos", 1), EIniFileException);
    }   // releasing it flushes without raising
    if (saved)
        setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

} // namespace
