#pragma once
#include <string>
#include <vector>

// Word documents made for the tests through the office's own UNO interface, and
// what a saved document's first page shows, read back the same way.
namespace fixtures {

struct DocRecipe {
    std::string body = "Body text of the document.";
    bool header = true;
    std::string headerText = "Old header";
    std::string footerText = "Old footer";
    bool differentFirstPage = false;
    std::string firstHeaderText = "Old first-page header";
    bool headerTableAndPicture = false;
    bool bodyStartsWithTable = false;
    std::string picture;          // PNG used for the header picture
    std::string password;         // stored encrypted when set
    std::string filter = "MS Word 97";
    bool secondSection = false;   // a second section with a page style of its own
    std::string secondSectionHeader; // its header and footer, when set (implies secondSection)
    bool linkSecondSectionHeader = false; // its header stored as Word's "linked to previous"
};

void MakeDocument(const std::string& path, const DocRecipe& recipe);

struct FirstPage {
    std::string filter;
    std::string headerText;       // paragraphs joined by "\n"
    std::string footerText;
    std::vector<int> headerAdjust; // ParaAdjust of each header paragraph
    std::vector<int> footerAdjust;
    int headerPictures = 0;
    int headerPicturePixelsWide = 0; // of the first one, from the embedded data
    int headerPictureWidth = 0;   // its width on the page, 1/100 mm
    bool headerPictureAsCharacter = false;
    int headerTables = 0;
    int bodyTop = 0;              // vertical position of the body's start, 1/100 mm
    std::string otherPagesHeader; // header of the page style's other pages
    std::vector<std::string> sectionHeaders; // header of each section's page style, in body order
    std::vector<std::string> sectionFooters;
};

FirstPage ReadFirstPage(const std::string& path);

// A small PNG of the given size.
void MakePicture(const std::string& path, int width, int height);

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

} // namespace fixtures
