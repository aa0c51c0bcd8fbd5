#include <sys/stat.h>

#include "CallDeadline.h"
#include "Office.h"
#include "WordObjects.h"

using automation::DispatchArgs;
using automation::Variant;

namespace wordengine {

WordApplication::WordApplication(std::shared_ptr<OfficeSession> session)
    : WordObject(session), state_(std::make_shared<ApplicationState>())
{
    state_->session = std::move(session);
    auto app = state_;
    markLongCall("Quit");

    addProperty("Visible", [] { return Variant::boolean(false); },
                [](const Variant& value) {
                    if (value.asBool())
                        Fail("This server runs LibreOffice without windows; it cannot be made visible.");
                });
    addMethod("ChangeFileOpenDirectory", {"Path"}, [app](const DispatchArgs& a) {
        std::string folder = a.at(0).asString();
        struct stat st {};
        if (folder.empty() || stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            Fail("The path is not valid: " + folder);
        if (folder.back() != '/')
            folder += '/';
        app->openFolder = folder;
        return Variant();
    });
    addProperty("Documents", [app] {
        if (app->quit)
            Fail("The object invoked has disconnected from its clients.");
        return Variant(automation::DispatchPtr(std::make_shared<WordDocuments>(app)));
    });
    addProperty("ActiveDocument", [app] {
        return Variant(automation::DispatchPtr(std::make_shared<WordDocument>(app, app->active())));
    });
    addProperty("ActiveWindow", [app] {
        return Variant(automation::DispatchPtr(std::make_shared<WordWindow>(app->active())));
    });
    addProperty("Selection", [app] {
        return Variant(automation::DispatchPtr(std::make_shared<WordSelection>(app, app->active())));
    });
    addMethod("Quit", {"SaveChanges", "OriginalFormat", "RouteDocument"}, [app](const DispatchArgs& a) {
        if (app->quit)
            Fail("The object invoked has disconnected from its clients.");
        const int saveChanges = a.has(0) ? a.at(0).asInt() : wdPromptToSaveChanges;
        while (!app->documents.empty())
            CloseDocument(*app, app->documents.back(), saveChanges);
        app->quit = true;
        return Variant();
    });
}

WordApplication::~WordApplication()
{
    if (state_->documents.empty() || !state_->session->alive())
        return;
    const auto documents = state_->documents;
    for (const auto& document : documents) {
        try {
            CallDeadline deadline(state_->session, GetCallBounds().longCall);
            CloseDocument(*state_, document, wdDoNotSaveChanges);
        } catch (...) {
        }
    }
}

WordDocuments::WordDocuments(std::shared_ptr<ApplicationState> app) : WordObject(app->session)
{
    markLongCall("Open");
    addMethod("Open",
              {"FileName", "ConfirmConversions", "ReadOnly", "AddToRecentFiles", "PasswordDocument",
               "PasswordTemplate", "Revert", "WritePasswordDocument", "WritePasswordTemplate", "Format",
               "Encoding", "Visible", "OpenAndRepair", "DocumentDirection", "NoEncodingDialog", "XMLTransform"},
              [app](const DispatchArgs& a) {
                  auto document = OpenDocument(*app, a);
                  return Variant(automation::DispatchPtr(std::make_shared<WordDocument>(app, document)));
              });
    addProperty("Count", [app] { return Variant(static_cast<int32_t>(app->documents.size())); });
}

} // namespace wordengine
