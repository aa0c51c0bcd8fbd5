#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/XDesktop.hpp>

#include "BatchForm.h"
#include "Fixtures.h"
#include "Office.h"
#include "TestFolder.h"
#include "WordBinary.h"
#include "WordObjects.h"
#include "automation/OleObject.h"
#include "automation/AutomationError.h"

using fixtures::DocRecipe;

namespace {

int openDocumentsInOffice()
{
    const auto components = wordengine::CurrentOffice()->desktop()->getComponents();
    const auto each = components->createEnumeration();
    int count = 0;
    while (each->hasMoreElements()) {
        each->nextElement();
        ++count;
    }
    return count;
}

// Opens the writing end of a named pipe again and again once a few seconds have
// passed, so that whoever waits to read it is released: a test that would hang
// fails instead.
class PipeReleaser {
public:
    explicit PipeReleaser(std::string path)
        : thread_([this, path] {
              for (int i = 0; i < 250 && !done_; ++i)
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              while (!done_) {
                  const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                  if (fd >= 0) {
                      used_ = true;
                      close(fd);
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          })
    {
    }
    ~PipeReleaser()
    {
        done_ = true;
        thread_.join();
    }
    bool used() const { return used_; }

private:
    std::atomic<bool> done_{false}, used_{false};
    std::thread thread_;
};

enum class Damage { Encrypted, Truncated, RandomBytes, MissingPicture, NotAPicture, PictureIsANamedPipe };

struct FailureCase {
    const char* name;
    Damage damage;
    const char* reason; // part of the server's message
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

const FailureCase kFailures[] = {
    {"Encrypted", Damage::Encrypted, "password"},
    {"Truncated", Damage::Truncated, "damaged"},
    {"RandomBytesNamedDoc", Damage::RandomBytes, "not a Word document"},
    {"MissingPicture", Damage::MissingPicture, "cannot be opened"},
    {"FileThatIsNoPicture", Damage::NotAPicture, "not in a format"},
    {"PictureIsANamedPipe", Damage::PictureIsANamedPipe, "it is not a file"},
};

class FailureTest : public testing::TestWithParam<FailureCase> {
protected:
    TestFolder folder;
};

TEST_P(FailureTest, RaisesAndLeavesTheFileAsItWas)
{
    const FailureCase& c = GetParam();
    const std::string doc = folder.path("damaged.doc");
    BatchOptions options{"", 1, "New header", 1, "New footer", 1};
    std::optional<PipeReleaser> releaser;
    switch (c.damage) {
    case Damage::Encrypted: {
        DocRecipe recipe;
        recipe.password = "secret";
        fixtures::MakeDocument(doc, recipe);
        break;
    }
    case Damage::Truncated: {
        fixtures::MakeDocument(doc, {});
        const std::string whole = fixtures::ReadBytes(doc);
        fixtures::WriteBytes(doc, whole.substr(0, whole.size() * 6 / 10));
        break;
    }
    case Damage::RandomBytes: {
        std::mt19937 random(7);
        std::string bytes(8192, '\0');
        for (char& b : bytes)
            b = static_cast<char>(random());
        fixtures::WriteBytes(doc, bytes);
        break;
    }
    case Damage::MissingPicture:
        fixtures::MakeDocument(doc, {});
        options = {folder.path("gone.png"), 1, "", 1, "Footer", 1};
        break;
    case Damage::NotAPicture:
        fixtures::MakeDocument(doc, {});
        fixtures::WriteBytes(folder.path("fake.png"), "this is text, not a picture");
        options = {folder.path("fake.png"), 1, "", 1, "Footer", 1};
        break;
    case Damage::PictureIsANamedPipe:
        fixtures::MakeDocument(doc, {});
        ASSERT_EQ(mkfifo(folder.path("pipe.png").c_str(), 0600), 0);
        options = {folder.path("pipe.png"), 1, "", 1, "Footer", 1};
        releaser.emplace(folder.path("pipe.png"));
        break;
    }
    const std::set<std::string> entriesBefore = folder.entries();
    const std::string bytesBefore = fixtures::ReadBytes(doc);

    BatchForm form(options);
    try {
        form->ModifyDocument(doc);
        ADD_FAILURE() << "no failure raised";
    } catch (const automation::AutomationError& e) {
        EXPECT_NE(e.serverText().find(c.reason), std::string::npos) << e.what();
    }
    if (releaser) {
        EXPECT_FALSE(releaser->used()) << "the picture's named pipe was opened to be read";
        releaser.reset();
    }

    EXPECT_EQ(fixtures::ReadBytes(doc), bytesBefore);
    EXPECT_EQ(folder.entries(), entriesBefore);
    EXPECT_EQ(openDocumentsInOffice(), 0) << "the failed document was left open";
}

INSTANTIATE_TEST_SUITE_P(Cases, FailureTest, testing::ValuesIn(kFailures),
                         [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST(FormatTest, RtfNamedDocStaysRtf)
{
    TestFolder folder;
    const std::string doc = folder.path("rich.doc");
    DocRecipe recipe;
    recipe.filter = "Rich Text Format";
    fixtures::MakeDocument(doc, recipe);
    {
        BatchForm form({"", 1, "Rich header", 1, "Rich footer", 1});
        form->ModifyDocument(doc);
    }
    EXPECT_EQ(fixtures::ReadBytes(doc).rfind("{\\rtf", 0), 0u);
    const auto page = fixtures::ReadFirstPage(doc);
    EXPECT_EQ(page.filter, "Rich Text Format");
    EXPECT_EQ(page.headerText, "Rich header");
    EXPECT_EQ(page.footerText, "Rich footer");
}

TEST(FormatTest, WordDocumentStaysWord97)
{
    TestFolder folder;
    const std::string doc = folder.path("plain.doc");
    fixtures::MakeDocument(doc, {});
    {
        BatchForm form({"", 1, "H", 1, "F", 1});
        form->ModifyDocument(doc);
    }
    // The OLE compound file signature of a Word 97-2003 document.
    EXPECT_EQ(fixtures::ReadBytes(doc).substr(0, 4), std::string("\xD0\xCF\x11\xE0", 4));
}

} // namespace

namespace {

uint32_t read32(const std::string& bytes, size_t at)
{
    uint32_t v = 0;
    bytes.copy(reinterpret_cast<char*>(&v), 4, at);
    return v;
}

void write32(std::string& bytes, size_t at, uint32_t v)
{
    bytes.replace(at, 4, reinterpret_cast<const char*>(&v), 4);
}

// Damage done to the compound file of a small Word 97 document (512-byte sectors).
struct StoryTableDamage {
    const char* name;
    void (*damage)(std::string& file);
};

void PrintTo(const StoryTableDamage& c, std::ostream* os) { *os << c.name; }

const StoryTableDamage kStoryTableDamages[] = {
    {"DifatSectorPointingToItselfWithHugeCount",
     [](std::string& file) {
         const auto self = static_cast<uint32_t>(file.size() / 512 - 1);
         std::string sector(512, '\xFF');
         write32(sector, 508, self);
         file += sector;
         write32(file, 0x44, self);
         write32(file, 0x48, 0x7FFFFFFF);
     }},
    {"DirectoryChainPointingToItself",
     [](std::string& file) {
         const uint32_t directory = read32(file, 0x30);
         write32(file, (read32(file, 0x4C) + 1) * 512 + 4 * directory, directory);
     }},
    {"SectionTableBeyondItsStream",
     [](std::string& file) {
         // The WordDocument stream starts a sector with Word's identifier.
         size_t fib = 512;
         while (fib + 512 <= file.size() && file.compare(fib, 2, "\xEC\xA5") != 0)
             fib += 512;
         ASSERT_LT(fib + 512, file.size());
         size_t at = fib + 32;
         at += 2 + 2 * (read32(file, at) & 0xFFFF);
         at += 2 + 4 * (read32(file, at) & 0xFFFF);
         write32(file, at + 2 + 8 * 6 + 4, 0xFFFFFFF0); // the length of the section table
     }},
};

class StoryTableDamageTest : public testing::TestWithParam<StoryTableDamage> {};

// The office may still open such a file; our own reading of it gives up at once
// instead of following the damage through memory.
TEST_P(StoryTableDamageTest, DamagedFileHasNoStoryTable)
{
    TestFolder folder;
    const std::string doc = folder.path("damaged.doc");
    DocRecipe recipe;
    recipe.secondSectionHeader = "Second header";
    fixtures::MakeDocument(doc, recipe);
    ASSERT_TRUE(wordengine::ReadHeaderStoryTable(doc).has_value());
    std::string file = fixtures::ReadBytes(doc);
    GetParam().damage(file);
    fixtures::WriteBytes(doc, file);
    EXPECT_FALSE(wordengine::ReadHeaderStoryTable(doc).has_value());
}

INSTANTIATE_TEST_SUITE_P(Cases, StoryTableDamageTest, testing::ValuesIn(kStoryTableDamages),
                         [](const testing::TestParamInfo<StoryTableDamage>& info) { return info.param.name; });

} // namespace

namespace {

// A failure after the office has loaded the document, while it is being set up,
// closes it again.
TEST(OpenFailureTest, FailureAfterTheLoadLeavesNothingOpen)
{
    TestFolder folder;
    const std::string doc = folder.path("loaded.doc");
    fixtures::MakeDocument(doc, {});
    struct Hook {
        Hook() { wordengine::SetAfterLoadHook([] { throw std::runtime_error("set-up failed"); }); }
        ~Hook() { wordengine::SetAfterLoadHook({}); }
    } hook;
    const automation::OleObject word = automation::CreateOleObject("word.application");
    try {
        word.get("Documents").call("Open", {}, {{"FileName", doc}});
        ADD_FAILURE() << "no failure raised";
    } catch (const automation::AutomationError& e) {
        EXPECT_NE(e.serverText().find("set-up failed"), std::string::npos) << e.what();
    }
    EXPECT_EQ(openDocumentsInOffice(), 0) << "the document was left open in the office";
}

} // namespace
