#include <gtest/gtest.h>
#include <sys/stat.h>

#include "BatchForm.h"
#include "Fixtures.h"
#include "TestFolder.h"

using fixtures::DocRecipe;
using fixtures::FirstPage;

namespace {

// LibreOffice's ParagraphAdjust values as read back.
constexpr int kLeft = 0, kRight = 1, kBlock = 2, kCenter = 3;

struct EditCase {
    const char* name;
    DocRecipe doc;
    BatchOptions options;
    std::string header;           // expected page-1 header text
    std::string footer;
    int headerAdjust;             // of every header paragraph
    int footerAdjust;
    int pictures = 0;
    std::string otherPages = {};  // expected header of the other pages, when checked
    bool bodyStays = true;        // false where the new header is taller than the top margin
};

void PrintTo(const EditCase& c, std::ostream* os) { *os << c.name; }

DocRecipe chinese()
{
    DocRecipe d;
    d.body = "这是正文，不能改动。";
    d.headerText = "旧的页眉";
    d.footerText = "旧的页脚";
    return d;
}

DocRecipe firstPage()
{
    DocRecipe d;
    d.differentFirstPage = true;
    return d;
}

DocRecipe noHeader()
{
    DocRecipe d;
    d.header = false;
    return d;
}

DocRecipe bodyTable()
{
    DocRecipe d;
    d.bodyStartsWithTable = true;
    return d;
}

DocRecipe tableAndPicture()
{
    DocRecipe d;
    d.headerTableAndPicture = true;
    return d;
}

const EditCase kCases[] = {
    {"TextCentredFooterRight", {}, {"", 1, "New header", 1, "New footer", 2},
     "New header", "New footer", kCenter, kRight},
    {"LeftIsJustifiedInHeaderLeftInFooter", {}, {"", 1, "Head", 0, "Foot", 0}, "Head", "Foot", kBlock, kLeft},
    {"LineBreaksMakeParagraphs", {}, {"", 1, "one\r\ntwo\rthree\nfour", 2, "x", 1},
     "one\ntwo\nthree\nfour", "x", kRight, kCenter, 0, {}, false},
    {"ChineseText", chinese(), {"", 1, "公司机密 页眉", 1, "第一页 页脚", 1}, "公司机密 页眉", "第一页 页脚", kCenter, kCenter},
    {"DifferentFirstPage", firstPage(), {"", 1, "First page only", 2, "F", 1},
     "First page only", "F", kRight, kCenter, 0, "Old header", true},
    {"TableAndPictureRemoved", tableAndPicture(), {"", 1, "Clean", 1, "", 1}, "Clean", "", kCenter, kLeft},
    {"NoHeaderSwitchedOn", noHeader(), {"", 1, "Added", 1, "Added too", 1}, "Added", "Added too", kCenter, kCenter},
    {"PictureEmbedded", {}, {"@picture", 2, "", 1, "", 1}, "", "", kRight, kLeft, 1},
    {"BodyStartsWithTable", bodyTable(), {"", 1, "H", 2, "F", 0}, "H", "F", kRight, kLeft},
    {"NothingTicked", {}, {"", 1, "", 1, "", 1}, "", "", -1, -1},
};

class EditTest : public testing::TestWithParam<EditCase> {
protected:
    TestFolder folder;
};

TEST_P(EditTest, RewritesHeaderAndFooterOfFirstPage)
{
    EditCase c = GetParam();
    const std::string picture = folder.path("logo.png");
    fixtures::MakePicture(picture, 40, 20);
    c.doc.picture = picture;
    if (c.options.picture == "@picture")
        c.options.picture = picture;

    const std::string doc = folder.path("document.doc");
    fixtures::MakeDocument(doc, c.doc);
    chmod(doc.c_str(), 0640);
    const FirstPage before = fixtures::ReadFirstPage(doc);

    {
        BatchForm form(c.options);
        form->ModifyDocument(doc);
    }
    // The picture must travel inside the document, not as a link to this file.
    std::remove(picture.c_str());

    const FirstPage after = fixtures::ReadFirstPage(doc);
    EXPECT_EQ(after.filter, "MS Word 97");
    EXPECT_EQ(after.headerText, c.header);
    EXPECT_EQ(after.footerText, c.footer);
    if (c.headerAdjust >= 0) {
        for (int adjust : after.headerAdjust)
            EXPECT_EQ(adjust, c.headerAdjust);
    }
    if (c.footerAdjust >= 0) {
        for (int adjust : after.footerAdjust)
            EXPECT_EQ(adjust, c.footerAdjust);
    }
    EXPECT_EQ(after.headerTables, 0);
    EXPECT_EQ(after.headerPictures, c.pictures);
    if (c.pictures) {
        EXPECT_EQ(after.headerPicturePixelsWide, 40);
        EXPECT_NEAR(after.headerPictureWidth, 40 * 2540 / 96, 5) << "not at its natural size (96 dpi)";
        EXPECT_TRUE(after.headerPictureAsCharacter);
    }
    if (!c.otherPages.empty()) {
        EXPECT_EQ(after.otherPagesHeader, c.otherPages);
    }
    if (c.bodyStays) {
        EXPECT_NEAR(after.bodyTop, before.bodyTop, 30) << "the body moved";
    }

    struct stat st {};
    ASSERT_EQ(stat(doc.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"document.doc"})) << "temporary or lock files left";
}

INSTANTIATE_TEST_SUITE_P(Cases, EditTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<EditCase>& info) { return info.param.name; });

} // namespace

namespace {

struct SectionCase {
    const char* name;
    DocRecipe doc;
    std::vector<std::string> headersBefore, headersAfter, footersAfter;
};

void PrintTo(const SectionCase& c, std::ostream* os) { *os << c.name; }

DocRecipe twoSections(bool linked)
{
    DocRecipe d;
    d.secondSectionHeader = "Second header";
    d.linkSecondSectionHeader = linked;
    return d;
}

DocRecipe twoSectionsWithoutHeaders()
{
    DocRecipe d;
    d.header = false;
    d.secondSection = true;
    return d;
}

// The footers of the first two are never linked: the second section keeps its own.
const SectionCase kSectionCases[] = {
    {"LinkedToPrevious", twoSections(true), {"Old header", "Old header"}, {"New header", "New header"},
     {"New footer", "Other footer"}},
    {"OwnHeader", twoSections(false), {"Old header", "Second header"}, {"New header", "Second header"},
     {"New footer", "Other footer"}},
    {"NoHeaderInAnySection", twoSectionsWithoutHeaders(), {"", ""}, {"New header", "New header"},
     {"New footer", "New footer"}},
};

class SectionTest : public testing::TestWithParam<SectionCase> {
protected:
    TestFolder folder;
};

// Word shows a later section's header that is linked to the previous section
// with the previous one's content, so rewriting page 1's header rewrites it too.
TEST_P(SectionTest, LaterSectionsShowWhatWordWouldShow)
{
    const SectionCase& c = GetParam();
    const std::string doc = folder.path("sections.doc");
    fixtures::MakeDocument(doc, c.doc);
    const FirstPage before = fixtures::ReadFirstPage(doc);
    ASSERT_EQ(before.sectionHeaders, c.headersBefore);

    {
        BatchForm form({"", 1, "New header", 2, "New footer", 1});
        form->ModifyDocument(doc);
    }
    const FirstPage after = fixtures::ReadFirstPage(doc);
    EXPECT_EQ(after.sectionHeaders, c.headersAfter);
    EXPECT_EQ(after.sectionFooters, c.footersAfter);
    EXPECT_NEAR(after.bodyTop, before.bodyTop, 30) << "the body moved";
}

INSTANTIATE_TEST_SUITE_P(Cases, SectionTest, testing::ValuesIn(kSectionCases),
                         [](const testing::TestParamInfo<SectionCase>& info) { return info.param.name; });

} // namespace

namespace {

// Paths travel as bytes: a Chinese folder name and a file name that is not UTF-8.
TEST(PathTest, FoldersAndFileNamesOfAnyBytesAreEdited)
{
    TestFolder folder;
    const std::string sub = folder.path("中文 目录");
    ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
    for (const std::string name : {"报告.doc", "latin1-\xE9t\xE9.doc"}) {
        const std::string doc = sub + "/" + name;
        fixtures::MakeDocument(doc, {});
        {
            BatchForm form({"", 1, "Header", 1, "Footer", 1});
            form->ModifyDocument(doc);
        }
        EXPECT_EQ(fixtures::ReadFirstPage(doc).headerText, "Header") << name;
    }
}

} // namespace
