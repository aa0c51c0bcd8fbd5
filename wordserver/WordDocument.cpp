#include <cerrno>
#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/document/XTypeDetection.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/CloseVetoException.hpp>
#include <rtl/ref.hxx>

#include "AtomicSave.h"
#include "HeaderFooterStory.h"
#include "InteractionHandler.h"
#include "Office.h"
#include "UnoText.h"
#include "WordBinary.h"
#include "WordFormats.h"
#include "WordObjects.h"

using automation::DispatchArgs;
using automation::Variant;
using namespace css;

namespace wordengine {

namespace {

bool boolArg(const DispatchArgs& a, size_t i, bool fallback)
{
    return a.has(i) ? a.at(i).asBool() : fallback;
}

std::string stringArg(const DispatchArgs& a, size_t i)
{
    return a.has(i) ? a.at(i).asString() : std::string();
}

// The filter the office would open the file with, by its type detection.
std::string detectFilter(OfficeSession& office, const OUString& url)
{
    const auto context = office.context();
    uno::Reference<document::XTypeDetection> detection(
        context->getServiceManager()->createInstanceWithContext("com.sun.star.document.TypeDetection", context),
        uno::UNO_QUERY_THROW);
    uno::Sequence<beans::PropertyValue> descriptor = Properties({Property("URL", uno::Any(url))});
    const OUString type = detection->queryTypeByDescriptor(descriptor, true);
    if (type.isEmpty())
        return {};
    for (const auto& p : std::as_const(descriptor))
        if (p.Name == "FilterName") {
            OUString filter;
            if ((p.Value >>= filter) && !filter.isEmpty())
                return ToStdString(filter);
        }
    uno::Reference<container::XNameAccess> types(detection, uno::UNO_QUERY_THROW);
    uno::Sequence<beans::PropertyValue> typeProps;
    types->getByName(type) >>= typeProps;
    for (const auto& p : std::as_const(typeProps))
        if (p.Name == "PreferredFilter") {
            OUString filter;
            p.Value >>= filter;
            return ToStdString(filter);
        }
    return {};
}

void requireDefault(const DispatchArgs& a, size_t i, const char* name, bool ok)
{
    if (a.has(i) && !ok)
        Fail(std::string("The value given for ") + name + " is not supported by this server.");
}

void closeModel(const uno::Reference<uno::XInterface>& model)
{
    uno::Reference<util::XCloseable> closeable(model, uno::UNO_QUERY);
    try {
        if (closeable.is())
            closeable->close(true);
        else
            uno::Reference<lang::XComponent>(model, uno::UNO_QUERY_THROW)->dispose();
    } catch (const util::CloseVetoException&) {
        uno::Reference<lang::XComponent>(model, uno::UNO_QUERY_THROW)->dispose();
    }
}

std::function<void()> afterLoadHook;

} // namespace

void SetAfterLoadHook(std::function<void()> hook)
{
    afterLoadHook = std::move(hook);
}

std::string ResolvePath(const ApplicationState& app, const std::string& fileName)
{
    if (fileName.empty())
        Fail("The file name is empty.");
    if (fileName.front() == '/')
        return fileName;
    if (!app.openFolder.empty())
        return app.openFolder + fileName;
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd))
        Fail("The current folder cannot be read.");
    return std::string(cwd) + "/" + fileName;
}

std::shared_ptr<DocumentState> OpenDocument(ApplicationState& app, const DispatchArgs& a)
{
    if (app.quit)
        Fail("The object invoked has disconnected from its clients.");
    const std::string path = ResolvePath(app, a.at(0).asString());
    const bool readOnly = boolArg(a, 2, false);
    const bool addToRecent = boolArg(a, 3, false);
    const std::string password = stringArg(a, 4);
    requireDefault(a, 5, "PasswordTemplate", stringArg(a, 5).empty());
    requireDefault(a, 6, "Revert", !boolArg(a, 6, false));
    requireDefault(a, 7, "WritePasswordDocument", stringArg(a, 7).empty());
    requireDefault(a, 8, "WritePasswordTemplate", stringArg(a, 8).empty());
    requireDefault(a, 9, "Format", a.has(9) && a.at(9).asInt() == 0); // wdOpenFormatAuto
    for (size_t i = 10; i < a.size(); ++i) {
        static const char* const rest[] = {"Encoding", "Visible", "OpenAndRepair", "DocumentDirection",
                                           "NoEncodingDialog", "XMLTransform"};
        const bool harmless = (i == 11 || i == 12) && a.has(i) && !a.at(i).asBool();
        requireDefault(a, i, rest[i - 10], harmless);
    }

    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        Fail("This file could not be found. (" + path + ")");
    if (!S_ISREG(st.st_mode))
        Fail("This is not a file: " + path);
    if (access(path.c_str(), R_OK) != 0)
        Fail("This file cannot be read: " + path + " (" + std::strerror(errno) + ")");

    OfficeSession& office = *app.session;
    auto officeUrl = std::make_shared<OfficeUrl>(path);
    const OUString url = officeUrl->url();
    const std::string filter = detectFilter(office, url);
    const auto format = WordFormatForFilter(filter);
    if (!format)
        Fail("This is not a Word document: " + path
             + (filter.empty() ? std::string(" (LibreOffice does not recognise it)")
                               : " (LibreOffice would open it as \"" + filter + "\")"));

    rtl::Reference<AbortingInteractionHandler> handler(new AbortingInteractionHandler);
    std::vector<beans::PropertyValue> args = {
        Property("FilterName", uno::Any(ToOUString(format->loadFilter))),
        Property("Hidden", AnyBool(true)),
        Property("ReadOnly", AnyBool(readOnly)),
        Property("MacroExecutionMode", uno::Any(document::MacroExecMode::NEVER_EXECUTE)),
        Property("UpdateDocMode", uno::Any(document::UpdateDocMode::NO_UPDATE)),
        Property("PickListEntry", AnyBool(addToRecent)),
        Property("InteractionHandler", uno::Any(uno::Reference<task::XInteractionHandler>(handler.get()))),
    };
    if (!password.empty())
        args.push_back(Property("Password", uno::Any(ToOUString(password))));

    uno::Reference<frame::XComponentLoader> loader(office.desktop(), uno::UNO_QUERY_THROW);
    uno::Reference<lang::XComponent> component;
    std::string loadError;
    try {
        component = loader->loadComponentFromURL(url, "_blank", 0,
                                                 Properties(args));
    } catch (const uno::RuntimeException&) {
        throw; // a dead office is told apart at the call's boundary
    } catch (const uno::Exception& e) {
        loadError = ToStdString(e.Message);
    }
    uno::Reference<text::XTextDocument> text(component, uno::UNO_QUERY);
    if (!text.is()) {
        if (component.is())
            component->dispose();
        std::string reason = handler->reason();
        if (reason.empty())
            reason = loadError.empty() ? "LibreOffice could not open it." : loadError;
        Fail("Word could not open " + path + ": " + reason);
    }

    // Until the document is registered here nobody else would close it, and it
    // would stay open in the shared office for the rest of the run.
    try {
        if (afterLoadHook)
            afterLoadHook();
        auto document = std::make_shared<DocumentState>();
        document->session = app.session;
        document->model.set(component, uno::UNO_QUERY_THROW);
        document->path = path;
        document->url = std::move(officeUrl);
        document->saveFilter = format->saveFilter;
        if (format->loadFilter.rfind("MS Word 97", 0) == 0)
            document->storyTable = ReadHeaderStoryTable(path);
        SelectBodyStart(*document);
        app.documents.push_back(document);
        return document;
    } catch (...) {
        try {
            closeModel(component);
        } catch (...) {
        }
        throw;
    }
}

void SaveDocumentAs(ApplicationState& app, DocumentState& document, const std::string& fileName)
{
    RequireOpen(document);
    const std::string target = ResolvePath(app, fileName);
    uno::Reference<frame::XStorable> storable(document.model, uno::UNO_QUERY_THROW);
    const OUString filter = ToOUString(document.saveFilter);
    ReplaceFileAtomically(target, [&](const std::string& temporary) {
        const size_t slash = temporary.find_last_of('/');
        const OfficeUrl folder(temporary.substr(0, slash));
        const OUString url = folder.url() + ToOUString(temporary.substr(slash));
        storable->storeToURL(url, Properties({Property("FilterName", uno::Any(filter)),
                                                              Property("Overwrite", AnyBool(true))}));
    });
    document.path = target;
    document.changed = false;
}

void CloseDocument(ApplicationState& app, const std::shared_ptr<DocumentState>& document, int saveChanges)
{
    RequireOpen(*document);
    if (saveChanges == wdSaveChanges && document->changed)
        SaveDocumentAs(app, *document, document->path);
    else if (saveChanges == wdPromptToSaveChanges && document->changed)
        Fail("The document has unsaved changes, and this server cannot ask whether to keep them.");
    else if (saveChanges != wdDoNotSaveChanges && saveChanges != wdSaveChanges && saveChanges != wdPromptToSaveChanges)
        Fail("The value given for SaveChanges is not valid.");

    document->closed = true;
    app.remove(document);
    document->selection.clear();
    document->storyText.clear();
    document->linkedCopies.clear();
    struct ReleaseUrl {
        std::shared_ptr<DocumentState> document;
        ~ReleaseUrl() { document->url.reset(); }
    } releaseUrl{document};
    const auto model = std::move(document->model);
    closeModel(model);
}

WordDocument::WordDocument(std::shared_ptr<ApplicationState> app, std::shared_ptr<DocumentState> document)
    : WordObject(app->session)
{
    markLongCall("SaveAs");
    markLongCall("Close");
    addMethod("SaveAs",
              {"FileName", "FileFormat", "LockComments", "Password", "AddToRecentFiles", "WritePassword",
               "ReadOnlyRecommended", "EmbedTrueTypeFonts", "SaveNativePictureFormat", "SaveFormsData",
               "SaveAsAOCELetter", "Encoding", "InsertLineBreaks", "AllowSubstitutions", "LineEnding",
               "AddBiDiMarks"},
              [app, document](const DispatchArgs& a) {
                  RequireOpen(*document);
                  for (size_t i = 1; i < a.size(); ++i)
                      if (a.has(i) && i != 4)
                          Fail("Only the file name of SaveAs is supported by this server; the document keeps "
                               "the format it was opened in.");
                  SaveDocumentAs(*app, *document, a.has(0) ? a.at(0).asString() : document->path);
                  return Variant();
              });
    addMethod("Close", {"SaveChanges", "OriginalFormat", "RouteDocument"}, [app, document](const DispatchArgs& a) {
        CloseDocument(*app, document, a.has(0) ? a.at(0).asInt() : wdPromptToSaveChanges);
        return Variant();
    });
    addProperty("FullName", [document] {
        RequireOpen(*document);
        return Variant(document->path);
    });
    addProperty("Saved", [document] {
        RequireOpen(*document);
        return Variant::boolean(!document->changed);
    });
}

} // namespace wordengine
