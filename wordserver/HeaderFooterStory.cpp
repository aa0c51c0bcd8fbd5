#include "HeaderFooterStory.h"
#include "UnoText.h"

#include <algorithm>
#include <vector>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/drawing/XDrawPageSupplier.hpp>
#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextRangeCompare.hpp>
#include <com/sun/star/text/XTextTable.hpp>

using namespace css;

namespace wordengine {

namespace {

// Word's default distance of the header from the page edge, 1.27 cm.
constexpr sal_Int32 kWordHeaderDistance = 1270;
constexpr sal_Int32 kSpacingBelowHeader = 250;

uno::Reference<beans::XPropertySet> pageStyle(const DocumentState& document, const OUString& name)
{
    uno::Reference<style::XStyleFamiliesSupplier> families(document.model, uno::UNO_QUERY_THROW);
    uno::Reference<container::XNameAccess> pageStyles(families->getStyleFamilies()->getByName("PageStyles"),
                                                      uno::UNO_QUERY_THROW);
    return uno::Reference<beans::XPropertySet>(pageStyles->getByName(name), uno::UNO_QUERY_THROW);
}

uno::Reference<beans::XPropertySet> pageStyle(const DocumentState& document)
{
    return pageStyle(document, document.pageStyle);
}

template <typename T> T property(const uno::Reference<beans::XPropertySet>& set, const OUString& name)
{
    T value{};
    set->getPropertyValue(name) >>= value;
    return value;
}

// Switches the header (or footer) on while the body stays where it began: the
// margin shrinks to Word's header distance and the header takes the space
// between, growing only when its content needs more, as in Word.
void switchOn(const uno::Reference<beans::XPropertySet>& style, bool header)
{
    const OUString prefix = OUString::createFromAscii(header ? "Header" : "Footer");
    const OUString margin = OUString::createFromAscii(header ? "TopMargin" : "BottomMargin");
    const sal_Int32 bodyEdge = property<sal_Int32>(style, margin);
    const sal_Int32 newMargin = std::min(kWordHeaderDistance, bodyEdge / 2);
    const sal_Int32 height = bodyEdge - newMargin;
    style->setPropertyValue(prefix + "IsOn", AnyBool(true));
    style->setPropertyValue(prefix + "IsDynamicHeight", AnyBool(true));
    style->setPropertyValue(margin, uno::Any(newMargin));
    style->setPropertyValue(prefix + "BodyDistance", uno::Any(std::min(kSpacingBelowHeader, height / 2)));
    style->setPropertyValue(prefix + "Height", uno::Any(height));
}

bool inText(const uno::Reference<text::XText>& text, const uno::Reference<text::XTextRange>& range)
{
    if (!range.is())
        return false;
    uno::Reference<text::XTextRangeCompare> compare(text, uno::UNO_QUERY);
    if (!compare.is())
        return false;
    try {
        compare->compareRegionStarts(range, text->getStart());
        return true;
    } catch (const lang::IllegalArgumentException&) {
        return false; // the range lies in another text
    }
}

// A text document keeps every picture, shape and frame on its one draw page; the
// interface is marked deprecated only in favour of one Writer does not offer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
uno::Reference<drawing::XDrawPage> drawPage(const DocumentState& document)
{
    return uno::Reference<drawing::XDrawPageSupplier>(document.model, uno::UNO_QUERY_THROW)->getDrawPage();
}
#pragma GCC diagnostic pop

} // namespace

void SelectBodyStart(DocumentState& document)
{
    uno::Reference<text::XTextDocument> textDocument(document.model, uno::UNO_QUERY_THROW);
    document.story = Story::Main;
    document.storyText = textDocument->getText();
    document.selection = document.storyText->createTextCursor();
    document.selection->gotoStart(false);

    uno::Reference<beans::XPropertySet> at(document.selection, uno::UNO_QUERY_THROW);
    document.pageStyle = property<OUString>(at, "PageStyleName");
    // The first page's number: an explicit start on the first paragraph, else 1.
    sal_Int16 firstNumber = 1;
    const uno::Any offset = at->getPropertyValue("PageNumberOffset");
    if (offset.hasValue())
        offset >>= firstNumber;
    document.firstPage = true;
    document.evenPage = firstNumber % 2 == 0;
}

enum class Kind { Right, Left, First };

Kind pageKind(const DocumentState& document, const uno::Reference<beans::XPropertySet>& style, const OUString& prefix)
{
    if (document.firstPage && !property<bool>(style, "FirstIsShared"))
        return Kind::First;
    if (document.evenPage && !property<bool>(style, prefix + "IsShared"))
        return Kind::Left;
    return Kind::Right;
}

OUString textProperty(const OUString& prefix, Kind kind)
{
    switch (kind) {
    case Kind::First: return prefix + "TextFirst";
    case Kind::Left: return prefix + "TextLeft";
    case Kind::Right: break;
    }
    return prefix + "Text";
}

// The page style of each section, in the body's order: the one the body starts
// with, then each one a paragraph or table switches to. Read once per document.
const std::vector<OUString>& sectionStyles(DocumentState& document)
{
    if (document.sectionStyles)
        return *document.sectionStyles;
    std::vector<OUString> styles{document.pageStyle};
    uno::Reference<text::XTextDocument> textDocument(document.model, uno::UNO_QUERY_THROW);
    uno::Reference<container::XEnumerationAccess> body(textDocument->getText(), uno::UNO_QUERY_THROW);
    const auto each = body->createEnumeration();
    for (bool first = true; each->hasMoreElements(); first = false) {
        uno::Reference<beans::XPropertySet> element(each->nextElement(), uno::UNO_QUERY);
        OUString name;
        if (element.is() && (element->getPropertyValue("PageDescName") >>= name) && !name.isEmpty()
            && !(first && name == styles.front()))
            styles.push_back(name);
    }
    document.sectionStyles = std::move(styles);
    return *document.sectionStyles;
}

uno::Reference<text::XText> PageHeaderFooter(DocumentState& document, bool header)
{
    const auto style = pageStyle(document);
    const OUString prefix = OUString::createFromAscii(header ? "Header" : "Footer");
    if (!property<bool>(style, prefix + "IsOn"))
        switchOn(style, header);
    return uno::Reference<text::XText>(style->getPropertyValue(textProperty(prefix, pageKind(document, style, prefix))),
                                       uno::UNO_QUERY_THROW);
}

std::vector<StoryCursor> LinkedCopies(DocumentState& document, bool header)
{
    std::vector<StoryCursor> copies;
    if (!document.storyTable || document.storyTable->lengths.size() < 2)
        return copies;
    const auto& lengths = document.storyTable->lengths;
    const OUString prefix = OUString::createFromAscii(header ? "Header" : "Footer");
    const Kind kind = pageKind(document, pageStyle(document), prefix);
    const int story = header ? (kind == Kind::First ? kFirstHeader : kind == Kind::Left ? kEvenHeader : kOddHeader)
                             : (kind == Kind::First ? kFirstFooter : kind == Kind::Left ? kEvenFooter : kOddFooter);
    // The office takes a story shorter than its closing paragraph mark as not
    // there, and copies the previous section's instead.
    auto linked = [&](size_t section) { return lengths[section][static_cast<size_t>(story)] < 2; };
    if (!linked(1))
        return copies;

    const auto& styles = sectionStyles(document);
    if (styles.size() != lengths.size() || styles.front() != document.pageStyle)
        return copies; // sections the office did not keep as page styles of their own
    std::vector<OUString> done{document.pageStyle};
    for (size_t section = 1; section < lengths.size() && linked(section); ++section) {
        if (std::find(done.begin(), done.end(), styles[section]) != done.end())
            continue; // a page style shared with an earlier section: its story is edited once
        done.push_back(styles[section]);
        const auto style = pageStyle(document, styles[section]);
        const bool shown = kind == Kind::Right
                        || (kind == Kind::First && !property<bool>(style, "FirstIsShared"))
                        || (kind == Kind::Left && !property<bool>(style, prefix + "IsShared"));
        if (!shown)
            continue;
        // Word shows the linked story in this section even where the file has none
        // at all; the office then imported the section without one.
        if (!property<bool>(style, prefix + "IsOn"))
            switchOn(style, header);
        StoryCursor copy;
        copy.text.set(style->getPropertyValue(textProperty(prefix, kind)), uno::UNO_QUERY_THROW);
        copy.cursor = copy.text->createTextCursor();
        copy.cursor->gotoStart(false);
        copies.push_back(copy);
    }
    return copies;
}

void ClearStory(DocumentState& document, const uno::Reference<text::XText>& text)
{
    // Anchored objects first: one anchored at a paragraph would otherwise move to
    // the paragraph that survives the text's removal.
    uno::Reference<container::XIndexAccess> shapes(drawPage(document), uno::UNO_QUERY_THROW);
    for (sal_Int32 i = shapes->getCount() - 1; i >= 0; --i) {
        uno::Reference<text::XTextContent> shape(shapes->getByIndex(i), uno::UNO_QUERY);
        if (!shape.is())
            continue;
        uno::Reference<text::XTextRange> anchor;
        try {
            anchor = shape->getAnchor();
        } catch (const uno::RuntimeException&) {
            continue; // anchored to a page: in no story
        }
        if (inText(text, anchor))
            shape->dispose();
    }

    std::vector<uno::Reference<text::XTextContent>> tables;
    uno::Reference<container::XEnumerationAccess> paragraphs(text, uno::UNO_QUERY_THROW);
    const auto each = paragraphs->createEnumeration();
    while (each->hasMoreElements()) {
        uno::Reference<text::XTextTable> table(each->nextElement(), uno::UNO_QUERY);
        if (table.is())
            tables.emplace_back(table, uno::UNO_QUERY_THROW);
    }
    for (const auto& table : tables)
        table->dispose();

    const auto all = text->createTextCursor();
    all->gotoStart(false);
    all->gotoEnd(true);
    all->setString(OUString());
}

} // namespace wordengine
