#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/graphic/XGraphic.hpp>
#include <com/sun/star/graphic/XGraphicProvider.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/style/ParagraphAdjust.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/TextContentAnchorType.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextRangeCompare.hpp>

#include "HeaderFooterStory.h"
#include "Office.h"
#include "UnoText.h"
#include "WordObjects.h"

using automation::DispatchArgs;
using automation::Variant;
using namespace css;

namespace wordengine {

namespace {

// Word's WdParagraphAlignment values that have a LibreOffice counterpart.
constexpr int wdAlignParagraphLeft = 0;
constexpr int wdAlignParagraphCenter = 1;
constexpr int wdAlignParagraphRight = 2;
constexpr int wdAlignParagraphJustify = 3;
constexpr int wdUndefined = 9999999;

// The selection's story and the linked copies of it in later sections.
template <typename Fn> void eachStory(DocumentState& document, Fn fn)
{
    StoryCursor selection{document.storyText, document.selection};
    fn(selection);
    document.selection = selection.cursor;
    for (StoryCursor& copy : document.linkedCopies)
        fn(copy);
}

void typeText(const StoryCursor& story, const OUString& typed)
{
    const auto& text = story.text;
    const auto& cursor = story.cursor;
    // Typing replaces a non-empty selection, as Word does with its default options.
    if (!cursor->isCollapsed())
        cursor->setString(OUString());
    sal_Int32 start = 0;
    auto flush = [&](sal_Int32 end) {
        if (end > start) {
            text->insertString(cursor.get(), typed.copy(start, end - start), false);
            cursor->collapseToEnd();
        }
    };
    // CR LF, CR and LF each end a paragraph; a vertical tab is Word's line break.
    for (sal_Int32 i = 0; i < typed.getLength(); ++i) {
        const sal_Unicode c = typed[i];
        if (c != '\r' && c != '\n' && c != '\v')
            continue;
        flush(i);
        text->insertControlCharacter(cursor.get(),
                                     c == '\v' ? text::ControlCharacter::LINE_BREAK
                                               : text::ControlCharacter::PARAGRAPH_BREAK,
                                     false);
        cursor->collapseToEnd();
        if (c == '\r' && i + 1 < typed.getLength() && typed[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    flush(typed.getLength());
}

void deleteSelection(DocumentState& document)
{
    const auto all = document.storyText->createTextCursor();
    all->gotoStart(false);
    all->gotoEnd(true);
    uno::Reference<text::XTextRangeCompare> compare(document.storyText, uno::UNO_QUERY_THROW);
    const bool collapsed = document.selection->isCollapsed();
    const bool wholeStory = !collapsed && compare->compareRegionStarts(all.get(), document.selection.get()) == 0
                         && compare->compareRegionEnds(all.get(), document.selection.get()) == 0;
    eachStory(document, [&](StoryCursor& story) {
        if (collapsed) {
            if (story.cursor->goRight(1, true))
                story.cursor->setString(OUString());
            return;
        }
        if (wholeStory)
            ClearStory(document, story.text);
        else
            story.cursor->setString(OUString());
        story.cursor = story.text->createTextCursor();
        story.cursor->gotoStart(false);
    });
    document.changed = true;
}

uno::Reference<graphic::XGraphic> readPicture(OfficeSession& office, const std::string& path)
{
    // Without blocking: opening a named pipe for reading would wait for a writer.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        Fail("The picture " + path + " cannot be opened: " + std::strerror(errno) + ".");
    struct stat st {};
    const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    close(fd);
    if (!regular)
        Fail("The picture " + path + " cannot be opened: it is not a file.");
    const auto context = office.context();
    uno::Reference<graphic::XGraphicProvider> provider(
        context->getServiceManager()->createInstanceWithContext("com.sun.star.graphic.GraphicProvider", context),
        uno::UNO_QUERY_THROW);
    const OfficeUrl officeUrl(path);
    beans::PropertyValue url;
    url.Name = "URL";
    url.Value <<= officeUrl.url();
    uno::Reference<graphic::XGraphic> graphic;
    try {
        graphic = provider->queryGraphic(Properties({url}));
    } catch (const uno::RuntimeException&) {
        throw;
    } catch (const uno::Exception&) {
    }
    if (!graphic.is())
        Fail("The picture " + path + " is not in a format that can be read.");
    return graphic;
}

// The picture's own size; one that gives only pixels is taken at 96 per inch.
awt::Size naturalSize(const uno::Reference<graphic::XGraphic>& graphic)
{
    uno::Reference<beans::XPropertySet> props(graphic, uno::UNO_QUERY_THROW);
    awt::Size size;
    props->getPropertyValue("Size100thMM") >>= size;
    if (size.Width <= 0 || size.Height <= 0) {
        awt::Size pixels;
        props->getPropertyValue("SizePixel") >>= pixels;
        size.Width = pixels.Width * 2540 / 96;
        size.Height = pixels.Height * 2540 / 96;
    }
    return size;
}

void addPicture(DocumentState& document, const std::string& path)
{
    const auto graphic = readPicture(*document.session, path);
    const awt::Size size = naturalSize(graphic);
    uno::Reference<lang::XMultiServiceFactory> factory(document.model, uno::UNO_QUERY_THROW);
    eachStory(document, [&](StoryCursor& story) {
        uno::Reference<text::XTextContent> picture(factory->createInstance("com.sun.star.text.TextGraphicObject"),
                                                   uno::UNO_QUERY_THROW);
        uno::Reference<beans::XPropertySet> props(picture, uno::UNO_QUERY_THROW);
        props->setPropertyValue("AnchorType", uno::Any(text::TextContentAnchorType_AS_CHARACTER));
        props->setPropertyValue("Graphic", uno::Any(graphic));
        if (size.Width > 0 && size.Height > 0) {
            props->setPropertyValue("Width", uno::Any(size.Width));
            props->setPropertyValue("Height", uno::Any(size.Height));
        }
        story.cursor->collapseToStart();
        story.text->insertTextContent(story.cursor.get(), picture, false);
    });
    document.changed = true;
}

class WordInlineShapes : public WordObject {
public:
    WordInlineShapes(std::shared_ptr<ApplicationState> app, std::shared_ptr<DocumentState> document)
        : WordObject(document->session)
    {
        markLongCall("AddPicture");
        addMethod("AddPicture", {"FileName", "LinkToFile", "SaveWithDocument", "Range"},
                  [app, document](const DispatchArgs& a) {
                      RequireOpen(*document);
                      const bool link = a.has(1) && a.at(1).asBool();
                      const bool save = !a.has(2) || a.at(2).asBool();
                      if (link)
                          Fail("Linked pictures are not supported by this server; the picture is always embedded.");
                      if (!save)
                          Fail("A picture that is not linked must be saved with the document.");
                      if (a.has(3))
                          Fail("The Range argument of AddPicture is not supported by this server.");
                      addPicture(*document, ResolvePath(*app, a.at(0).asString()));
                      return Variant();
                  });
    }
};

class WordParagraphFormat : public WordObject {
public:
    explicit WordParagraphFormat(std::shared_ptr<DocumentState> document) : WordObject(document->session)
    {
        addProperty("Alignment", [document] {
            RequireOpen(*document);
            uno::Reference<beans::XPropertySet> props(document->selection, uno::UNO_QUERY_THROW);
            sal_Int16 adjust = -1;
            if (!(props->getPropertyValue("ParaAdjust") >>= adjust))
                return Variant(wdUndefined);
            switch (static_cast<style::ParagraphAdjust>(adjust)) {
            case style::ParagraphAdjust_LEFT: return Variant(wdAlignParagraphLeft);
            case style::ParagraphAdjust_CENTER: return Variant(wdAlignParagraphCenter);
            case style::ParagraphAdjust_RIGHT: return Variant(wdAlignParagraphRight);
            case style::ParagraphAdjust_BLOCK: return Variant(wdAlignParagraphJustify);
            default: return Variant(wdUndefined);
            }
        }, [document](const Variant& value) {
            RequireOpen(*document);
            style::ParagraphAdjust adjust;
            switch (value.asInt()) {
            case wdAlignParagraphLeft: adjust = style::ParagraphAdjust_LEFT; break;
            case wdAlignParagraphCenter: adjust = style::ParagraphAdjust_CENTER; break;
            case wdAlignParagraphRight: adjust = style::ParagraphAdjust_RIGHT; break;
            case wdAlignParagraphJustify: adjust = style::ParagraphAdjust_BLOCK; break;
            default: Fail("The paragraph alignment " + std::to_string(value.asInt()) + " is not supported by this server.");
            }
            // Set on the selection, the office applies it to every paragraph it touches.
            eachStory(*document, [&](StoryCursor& story) {
                uno::Reference<beans::XPropertySet> props(story.cursor, uno::UNO_QUERY_THROW);
                props->setPropertyValue("ParaAdjust", uno::Any(static_cast<sal_Int16>(adjust)));
                if (adjust == style::ParagraphAdjust_BLOCK)
                    props->setPropertyValue("ParaLastLineAdjust",
                                            uno::Any(static_cast<sal_Int16>(style::ParagraphAdjust_LEFT)));
            });
            document->changed = true;
        });
    }
};

class WordHeaderFooter : public WordObject {
public:
    explicit WordHeaderFooter(std::shared_ptr<DocumentState> document) : WordObject(document->session)
    {
        addProperty("IsHeader", [document] {
            RequireOpen(*document);
            return Variant::boolean(document->story == Story::Header);
        });
    }
};

} // namespace

WordSelection::WordSelection(std::shared_ptr<ApplicationState> app, std::shared_ptr<DocumentState> document)
    : WordObject(document->session)
{
    addMethod("WholeStory", {}, [document](const DispatchArgs&) {
        RequireOpen(*document);
        eachStory(*document, [](StoryCursor& story) {
            story.cursor->gotoStart(false);
            story.cursor->gotoEnd(true);
        });
        return Variant();
    });
    addMethod("Delete", {"Unit", "Count"}, [document](const DispatchArgs& a) {
        RequireOpen(*document);
        if (a.has(0) || a.has(1))
            Fail("Delete with a unit or count is not supported by this server.");
        deleteSelection(*document);
        return Variant();
    });
    addMethod("TypeText", {"Text"}, [document](const DispatchArgs& a) {
        RequireOpen(*document);
        const OUString typed = ToOUString(a.at(0).asString());
        eachStory(*document, [&](StoryCursor& story) { typeText(story, typed); });
        document->changed = true;
        return Variant();
    });
    addProperty("InlineShapes", [app, document] {
        RequireOpen(*document);
        return Variant(automation::DispatchPtr(std::make_shared<WordInlineShapes>(app, document)));
    });
    addProperty("ParagraphFormat", [document] {
        RequireOpen(*document);
        return Variant(automation::DispatchPtr(std::make_shared<WordParagraphFormat>(document)));
    });
    addProperty("HeaderFooter", [document] {
        RequireOpen(*document);
        if (document->story == Story::Main)
            Fail("This command is not available because the selection is not in a header or footer.");
        return Variant(automation::DispatchPtr(std::make_shared<WordHeaderFooter>(document)));
    });
}

} // namespace wordengine
