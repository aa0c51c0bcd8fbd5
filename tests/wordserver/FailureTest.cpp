#include <gtest/gtest.h>
#include <random>

#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/XDesktop.hpp>

#include "BatchForm.h"
#include "Fixtures.h"
#include "Office.h"
#include "TestFolder.h"
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

enum class Damage { Encrypted, Truncated, RandomBytes, MissingPicture, NotAPicture };

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
