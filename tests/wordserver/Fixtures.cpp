#include "Fixtures.h"

#include <QColor>
#include <QImage>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/graphic/XGraphic.hpp>
#include <com/sun/star/graphic/XGraphicProvider.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/style/BreakType.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/TextContentAnchorType.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextGraphicObjectsSupplier.hpp>
#include <com/sun/star/text/XTextRangeCompare.hpp>
#include <com/sun/star/text/XTextTable.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <com/sun/star/container/XNameContainer.hpp>
#include <com/sun/star/style/XStyle.hpp>

#include "Office.h"
#include "UnoText.h"
#include "WordBinary.h"

using namespace css;
using wordengine::AnyBool;
using wordengine::FileUrl;
using wordengine::Properties;
using wordengine::Property;
using wordengine::ToOUString;
using wordengine::ToStdString;

namespace fixtures {

namespace {

uno::Reference<frame::XComponentLoader> loader()
{
    return uno::Reference<frame::XComponentLoader>(wordengine::CurrentOffice()->desktop(), uno::UNO_QUERY_THROW);
}

uno::Reference<beans::XPropertySet> pageStyle(const uno::Reference<lang::XComponent>& doc, const OUString& name)
{
    uno::Reference<style::XStyleFamiliesSupplier> families(doc, uno::UNO_QUERY_THROW);
    uno::Reference<container::XNameAccess> styles(families->getStyleFamilies()->getByName("PageStyles"),
                                                  uno::UNO_QUERY_THROW);
    return uno::Reference<beans::XPropertySet>(styles->getByName(name), uno::UNO_QUERY_THROW);
}

uno::Reference<text::XText> textProperty(const uno::Reference<beans::XPropertySet>& style, const char* name)
{
    return uno::Reference<text::XText>(style->getPropertyValue(OUString::createFromAscii(name)), uno::UNO_QUERY_THROW);
}

void close(const uno::Reference<lang::XComponent>& doc)
{
    uno::Reference<util::XCloseable>(doc, uno::UNO_QUERY_THROW)->close(true);
}

std::string paragraphsOf(const uno::Reference<text::XText>& text, std::vector<int>* adjust, int* tables)
{
    std::string joined;
    uno::Reference<container::XEnumerationAccess> access(text, uno::UNO_QUERY_THROW);
    const auto each = access->createEnumeration();
    bool first = true;
    while (each->hasMoreElements()) {
        const uno::Any element = each->nextElement();
        uno::Reference<text::XTextTable> table(element, uno::UNO_QUERY);
        if (table.is()) {
            if (tables)
                ++*tables;
            continue;
        }
        uno::Reference<text::XTextRange> paragraph(element, uno::UNO_QUERY_THROW);
        if (!first)
            joined += "\n";
        first = false;
        joined += ToStdString(paragraph->getString());
        if (adjust) {
            sal_Int16 value = -1;
            uno::Reference<beans::XPropertySet>(paragraph, uno::UNO_QUERY_THROW)->getPropertyValue("ParaAdjust") >>= value;
            adjust->push_back(value);
        }
    }
    return joined;
}

// Word keeps a later section's header that is linked to the previous one as an
// empty story. The office writes every section's header in full, so the link is
// made afterwards: the second section's odd-page header story is given no length
// (its text then belongs to the story before it, the unused even-page header).
void linkSecondSectionHeader(const std::string& path)
{
    const auto table = wordengine::ReadHeaderStoryTable(path);
    if (!table || table->lengths.size() != 2)
        throw std::runtime_error("no two-section story table in " + path);
    auto cps = table->cps;
    const size_t oddHeaderOfSecond = 6 + 6 + wordengine::kOddHeader;
    cps[oddHeaderOfSecond] = cps[oddHeaderOfSecond + 1];
    auto bytesOf = [](const std::vector<int32_t>& v) {
        return std::string(reinterpret_cast<const char*>(v.data()), v.size() * sizeof(int32_t));
    };
    std::string file = ReadBytes(path);
    const std::string before = bytesOf(table->cps);
    const size_t at = file.find(before);
    if (at == std::string::npos || file.find(before, at + 1) != std::string::npos)
        throw std::runtime_error("the story table of " + path + " is not in one piece");
    file.replace(at, before.size(), bytesOf(cps));
    WriteBytes(path, file);
}

std::vector<std::string> sectionTexts(const uno::Reference<lang::XComponent>& doc, const char* which)
{
    std::vector<std::string> texts;
    uno::Reference<text::XTextDocument> textDoc(doc, uno::UNO_QUERY_THROW);
    uno::Reference<container::XEnumerationAccess> body(textDoc->getText(), uno::UNO_QUERY_THROW);
    const auto each = body->createEnumeration();
    while (each->hasMoreElements()) {
        uno::Reference<beans::XPropertySet> element(each->nextElement(), uno::UNO_QUERY_THROW);
        OUString name;
        if (texts.empty())
            element->getPropertyValue("PageStyleName") >>= name;
        else
            element->getPropertyValue("PageDescName") >>= name;
        if (name.isEmpty())
            continue;
        const auto style = pageStyle(doc, name);
        bool on = false;
        style->getPropertyValue(OUString::createFromAscii(which) + "IsOn") >>= on;
        texts.push_back(on ? ToStdString(textProperty(style, (std::string(which) + "Text").c_str())->getString()) : "");
    }
    return texts;
}

bool inText(const uno::Reference<text::XText>& text, const uno::Reference<text::XTextRange>& range)
{
    try {
        uno::Reference<text::XTextRangeCompare>(text, uno::UNO_QUERY_THROW)->compareRegionStarts(range, text->getStart());
        return true;
    } catch (const uno::Exception&) {
        return false;
    }
}

} // namespace

void MakePicture(const std::string& path, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    if (!image.save(QString::fromStdString(path), "PNG"))
        throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

void MakeDocument(const std::string& path, const DocRecipe& recipe)
{
    auto doc = loader()->loadComponentFromURL("private:factory/swriter", "_blank", 0,
                                              Properties({Property("Hidden", AnyBool(true))}));
    uno::Reference<text::XTextDocument> textDoc(doc, uno::UNO_QUERY_THROW);
    const auto body = textDoc->getText();
    const auto bodyCursor = body->createTextCursor();
    body->insertString(bodyCursor.get(), ToOUString(recipe.body), false);
    if (recipe.bodyStartsWithTable) {
        uno::Reference<lang::XMultiServiceFactory> factory(doc, uno::UNO_QUERY_THROW);
        uno::Reference<text::XTextTable> table(factory->createInstance("com.sun.star.text.TextTable"),
                                               uno::UNO_QUERY_THROW);
        table->initialize(2, 2);
        body->insertTextContent(body->getStart(), uno::Reference<text::XTextContent>(table.get()), false);
    }
    if (recipe.differentFirstPage) {
        body->insertControlCharacter(bodyCursor.get(), text::ControlCharacter::PARAGRAPH_BREAK, false);
        uno::Reference<beans::XPropertySet>(bodyCursor, uno::UNO_QUERY_THROW)
            ->setPropertyValue("BreakType", uno::Any(style::BreakType_PAGE_BEFORE));
        body->insertString(bodyCursor.get(), "Second page.", false);
    }

    const auto style = pageStyle(doc, "Standard");
    style->setPropertyValue("HeaderIsOn", AnyBool(recipe.header));
    style->setPropertyValue("FooterIsOn", AnyBool(recipe.header));
    if (recipe.header) {
        if (recipe.differentFirstPage) {
            style->setPropertyValue("FirstIsShared", AnyBool(false));
            textProperty(style, "HeaderTextFirst")->setString(ToOUString(recipe.firstHeaderText));
            textProperty(style, "FooterTextFirst")->setString("Old first-page footer");
        }
        const auto header = textProperty(style, "HeaderText");
        header->setString(ToOUString(recipe.headerText));
        textProperty(style, "FooterText")->setString(ToOUString(recipe.footerText));
        if (recipe.headerTableAndPicture) {
            uno::Reference<lang::XMultiServiceFactory> factory(doc, uno::UNO_QUERY_THROW);
            uno::Reference<text::XTextTable> table(factory->createInstance("com.sun.star.text.TextTable"),
                                                   uno::UNO_QUERY_THROW);
            table->initialize(1, 2);
            header->insertTextContent(header->getEnd(), uno::Reference<text::XTextContent>(table.get()), false);
            const auto context = wordengine::CurrentOffice()->context();
            uno::Reference<graphic::XGraphicProvider> provider(
                context->getServiceManager()->createInstanceWithContext("com.sun.star.graphic.GraphicProvider", context),
                uno::UNO_QUERY_THROW);
            const auto graphic = provider->queryGraphic(Properties({Property("URL", uno::Any(FileUrl(recipe.picture)))}));
            uno::Reference<text::XTextContent> picture(factory->createInstance("com.sun.star.text.TextGraphicObject"),
                                                       uno::UNO_QUERY_THROW);
            uno::Reference<beans::XPropertySet> props(picture, uno::UNO_QUERY_THROW);
            props->setPropertyValue("AnchorType", uno::Any(text::TextContentAnchorType_AT_PARAGRAPH));
            props->setPropertyValue("Graphic", uno::Any(graphic));
            props->setPropertyValue("Width", uno::Any(sal_Int32(800)));
            props->setPropertyValue("Height", uno::Any(sal_Int32(400)));
            header->insertTextContent(header->getStart(), picture, false);
        }
    }

    if (recipe.secondSection || !recipe.secondSectionHeader.empty()) {
        body->insertControlCharacter(bodyCursor.get(), text::ControlCharacter::PARAGRAPH_BREAK, false);
        uno::Reference<lang::XMultiServiceFactory> factory(doc, uno::UNO_QUERY_THROW);
        uno::Reference<style::XStyle> other(factory->createInstance("com.sun.star.style.PageStyle"), uno::UNO_QUERY_THROW);
        uno::Reference<style::XStyleFamiliesSupplier> families(doc, uno::UNO_QUERY_THROW);
        uno::Reference<container::XNameContainer>(families->getStyleFamilies()->getByName("PageStyles"),
                                                  uno::UNO_QUERY_THROW)->insertByName("Other", uno::Any(other));
        uno::Reference<beans::XPropertySet> props(other, uno::UNO_QUERY_THROW);
        const bool own = !recipe.secondSectionHeader.empty();
        props->setPropertyValue("HeaderIsOn", AnyBool(own));
        props->setPropertyValue("FooterIsOn", AnyBool(own));
        if (own) {
            textProperty(props, "HeaderText")->setString(ToOUString(recipe.secondSectionHeader));
            textProperty(props, "FooterText")->setString("Other footer");
        }
        uno::Reference<beans::XPropertySet>(bodyCursor, uno::UNO_QUERY_THROW)->setPropertyValue("PageDescName", uno::Any(OUString("Other")));
        body->insertString(bodyCursor.get(), "Second section.", false);
    }

    std::vector<beans::PropertyValue> args = {Property("FilterName", uno::Any(ToOUString(recipe.filter))),
                                              Property("Overwrite", AnyBool(true))};
    if (!recipe.password.empty())
        args.push_back(Property("Password", uno::Any(ToOUString(recipe.password))));
    uno::Reference<frame::XStorable>(doc, uno::UNO_QUERY_THROW)->storeToURL(FileUrl(path), Properties(args));
    close(doc);
    if (recipe.linkSecondSectionHeader)
        linkSecondSectionHeader(path);
}

FirstPage ReadFirstPage(const std::string& path)
{
    auto doc = loader()->loadComponentFromURL(FileUrl(path), "_blank", 0,
                                              Properties({Property("Hidden", AnyBool(true))}));
    if (!doc.is())
        throw std::runtime_error("cannot reopen " + path);
    FirstPage page;
    uno::Reference<frame::XModel> model(doc, uno::UNO_QUERY_THROW);
    uno::Sequence<beans::PropertyValue> args = model->getArgs();
    for (const auto& a : std::as_const(args))
        if (a.Name == "FilterName") {
            OUString filter;
            a.Value >>= filter;
            page.filter = ToStdString(filter);
        }

    uno::Reference<text::XTextDocument> textDoc(doc, uno::UNO_QUERY_THROW);
    const auto start = textDoc->getText()->createTextCursor();
    start->gotoStart(false);
    OUString styleName;
    uno::Reference<beans::XPropertySet>(start, uno::UNO_QUERY_THROW)->getPropertyValue("PageStyleName") >>= styleName;
    const auto style = pageStyle(doc, styleName);
    bool firstShared = true;
    style->getPropertyValue("FirstIsShared") >>= firstShared;
    bool headerOn = false, footerOn = false;
    style->getPropertyValue("HeaderIsOn") >>= headerOn;
    style->getPropertyValue("FooterIsOn") >>= footerOn;
    if (headerOn) {
        const auto header = textProperty(style, firstShared ? "HeaderText" : "HeaderTextFirst");
        page.headerText = paragraphsOf(header, &page.headerAdjust, &page.headerTables);
        if (!firstShared)
            page.otherPagesHeader = paragraphsOf(textProperty(style, "HeaderText"), nullptr, nullptr);
        else {
            // A first page kept as a page style of its own: the next style holds the rest.
            OUString next;
            style->getPropertyValue("FollowStyle") >>= next;
            if (!next.isEmpty() && next != styleName) {
                const auto nextStyle = pageStyle(doc, next);
                bool on = false;
                nextStyle->getPropertyValue("HeaderIsOn") >>= on;
                if (on)
                    page.otherPagesHeader = paragraphsOf(textProperty(nextStyle, "HeaderText"), nullptr, nullptr);
            }
        }
        uno::Reference<text::XTextGraphicObjectsSupplier> graphics(doc, uno::UNO_QUERY_THROW);
        uno::Reference<container::XIndexAccess> all(graphics->getGraphicObjects(), uno::UNO_QUERY_THROW);
        for (sal_Int32 i = 0; i < all->getCount(); ++i) {
            uno::Reference<text::XTextContent> picture(all->getByIndex(i), uno::UNO_QUERY_THROW);
            if (!inText(header, picture->getAnchor()))
                continue;
            if (page.headerPictures++ == 0) {
                uno::Reference<beans::XPropertySet> props(picture, uno::UNO_QUERY_THROW);
                uno::Reference<graphic::XGraphic> graphic;
                props->getPropertyValue("Graphic") >>= graphic;
                sal_Int32 width = 0;
                props->getPropertyValue("Width") >>= width;
                page.headerPictureWidth = width;
                text::TextContentAnchorType anchor = text::TextContentAnchorType_AT_PARAGRAPH;
                props->getPropertyValue("AnchorType") >>= anchor;
                page.headerPictureAsCharacter = anchor == text::TextContentAnchorType_AS_CHARACTER;
                awt::Size pixels;
                if (graphic.is())
                    uno::Reference<beans::XPropertySet>(graphic, uno::UNO_QUERY_THROW)->getPropertyValue("SizePixel") >>= pixels;
                page.headerPicturePixelsWide = pixels.Width;
            }
        }
    }
    if (footerOn)
        page.footerText = paragraphsOf(textProperty(style, firstShared ? "FooterText" : "FooterTextFirst"),
                                       &page.footerAdjust, nullptr);

    page.sectionHeaders = sectionTexts(doc, "Header");
    page.sectionFooters = sectionTexts(doc, "Footer");

    uno::Reference<text::XTextViewCursorSupplier> views(model->getCurrentController(), uno::UNO_QUERY_THROW);
    const auto view = views->getViewCursor();
    view->gotoStart(false);
    // The view cursor counts from the top margin of the document's first page style.
    sal_Int32 firstStyleMargin = 0;
    uno::Reference<container::XIndexAccess> styles(
        uno::Reference<style::XStyleFamiliesSupplier>(doc, uno::UNO_QUERY_THROW)->getStyleFamilies()->getByName("PageStyles"),
        uno::UNO_QUERY_THROW);
    uno::Reference<beans::XPropertySet>(styles->getByIndex(0), uno::UNO_QUERY_THROW)->getPropertyValue("TopMargin")
        >>= firstStyleMargin;
    page.bodyTop = view->getPosition().Y + firstStyleMargin;
    close(doc);
    return page;
}

} // namespace fixtures
