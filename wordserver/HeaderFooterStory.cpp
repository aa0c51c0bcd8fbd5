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

uno::Reference<beans::XPropertySet> pageStyle(const DocumentState& document)
{
    uno::Reference<style::XStyleFamiliesSupplier> families(document.model, uno::UNO_QUERY_THROW);
    uno::Reference<container::XNameAccess> pageStyles(families->getStyleFamilies()->getByName("PageStyles"),
                                                      uno::UNO_QUERY_THROW);
    return uno::Reference<beans::XPropertySet>(pageStyles->getByName(document.pageStyle), uno::UNO_QUERY_THROW);
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

uno::Reference<text::XText> PageHeaderFooter(DocumentState& document, bool header)
{
    const auto style = pageStyle(document);
    const OUString prefix = OUString::createFromAscii(header ? "Header" : "Footer");
    if (!property<bool>(style, prefix + "IsOn"))
        switchOn(style, header);

    OUString which = prefix + "Text";
    if (document.firstPage && !property<bool>(style, "FirstIsShared"))
        which = prefix + "TextFirst";
    else if (document.evenPage && !property<bool>(style, prefix + "IsShared"))
        which = prefix + "TextLeft";
    return uno::Reference<text::XText>(style->getPropertyValue(which), uno::UNO_QUERY_THROW);
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
