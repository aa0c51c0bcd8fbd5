#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "AtomicSave.h"
#include "Fixtures.h"
#include "TestFolder.h"
#include "WordFormats.h"

using fixtures::ReadBytes;
using fixtures::WriteBytes;
using wordengine::ReplaceFileAtomically;

namespace {

TEST(AtomicSaveTest, ReplacesTheFileKeepingItsPermissions)
{
    TestFolder folder;
    const std::string target = folder.path("a.doc");
    WriteBytes(target, "old");
    chmod(target.c_str(), 0604);
    ReplaceFileAtomically(target, [](const std::string& temporary) {
        EXPECT_NE(temporary.substr(temporary.size() - 4), ".doc");
        WriteBytes(temporary, "new");
    });
    EXPECT_EQ(ReadBytes(target), "new");
    struct stat st {};
    stat(target.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"a.doc"}));
}

TEST(AtomicSaveTest, ReplacesWhatALinkPointsToAndKeepsTheLink)
{
    TestFolder folder;
    WriteBytes(folder.path("real.doc"), "old");
    ASSERT_EQ(symlink("real.doc", folder.path("link.doc").c_str()), 0);
    ReplaceFileAtomically(folder.path("link.doc"), [](const std::string& t) { WriteBytes(t, "new"); });
    struct stat st {};
    lstat(folder.path("link.doc").c_str(), &st);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadBytes(folder.path("real.doc")), "new");
}

struct FailedStore {
    const char* name;
    void (*store)(const std::string& temporary);
    mode_t mode = 0644;
};

void PrintTo(const FailedStore& c, std::ostream* os) { *os << c.name; }

const FailedStore kFailedStores[] = {
    {"StoreRaises", [](const std::string& t) { WriteBytes(t, "half"); throw std::runtime_error("disk full"); }},
    {"StoreWritesNothing", [](const std::string&) {}},
    {"ReadOnlyFile", [](const std::string& t) { WriteBytes(t, "new"); }, 0444},
};

class FailedStoreTest : public testing::TestWithParam<FailedStore> {};

TEST_P(FailedStoreTest, LeavesTheOriginalByteIdenticalAndNoTemporaryFile)
{
    TestFolder folder;
    const std::string target = folder.path("a.doc");
    WriteBytes(target, "the original");
    chmod(target.c_str(), GetParam().mode);
    EXPECT_ANY_THROW(ReplaceFileAtomically(target, GetParam().store));
    EXPECT_EQ(ReadBytes(target), "the original");
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"a.doc"}));
}

INSTANTIATE_TEST_SUITE_P(Cases, FailedStoreTest, testing::ValuesIn(kFailedStores),
                         [](const testing::TestParamInfo<FailedStore>& info) { return info.param.name; });

struct FormatCase {
    const char* filter;
    const char* saveFilter; // nullptr: not a Word document
};

const FormatCase kFormats[] = {
    {"MS Word 97", "MS Word 97"},
    {"MS WinWord 6.0", "MS Word 97"}, // Word 6/95 cannot be written: kept as Word 97-2003
    {"MS Word 95", "MS Word 97"},
    {"Rich Text Format", "Rich Text Format"},
    {"MS Word 2007 XML", "MS Word 2007 XML"},
    {"Text (encoded)", nullptr},
    {"Text", nullptr},
    {"HTML (StarWriter)", nullptr},
    {"writer8", nullptr},
    {"", nullptr},
};

TEST(WordFormatTest, OnlyWordFiltersAreEditedAndEachIsWrittenBackByOneThatCanWrite)
{
    for (const FormatCase& c : kFormats) {
        const auto format = wordengine::WordFormatForFilter(c.filter);
        if (!c.saveFilter) {
            EXPECT_FALSE(format) << c.filter;
            continue;
        }
        ASSERT_TRUE(format) << c.filter;
        EXPECT_EQ(format->saveFilter, c.saveFilter) << c.filter;
    }
}

} // namespace

namespace {

// A kill during a save leaves its temporary file; the next save in that folder
// removes it once it is clearly abandoned, and nothing else.
TEST(AtomicSaveTest, RemovesTemporariesLongAbandonedOnly)
{
    TestFolder folder;
    const std::string target = folder.path("a.doc");
    WriteBytes(target, "old");
    const auto make = [&](const std::string& name, int hoursOld) {
        WriteBytes(folder.path(name), "left");
        const timespec when[2] = {{time(nullptr) - hoursOld * 3600, 0}, {time(nullptr) - hoursOld * 3600, 0}};
        utimensat(AT_FDCWD, folder.path(name).c_str(), when, 0);
    };
    make(".quorvel-save-aB3xYz", 2);      // abandoned
    make(".quorvel-save-Q1w2E3", 0);      // perhaps another save's, still running
    make(".quorvel-save-notours.doc", 2); // not a name of ours
    make("notes.txt", 2);
    ReplaceFileAtomically(target, [](const std::string& t) { WriteBytes(t, "new"); });
    EXPECT_EQ(folder.entries(),
              (std::set<std::string>{"a.doc", ".quorvel-save-Q1w2E3", ".quorvel-save-notours.doc", "notes.txt"}));
}

} // namespace
