#pragma once
#include <functional>
#include <memory>

#include "WordObject.h"
#include "WordState.h"

// The objects of Word's model that the server offers. Each is a thin view on the
// shared application or document state; every get returns a fresh object, as
// the client releases each one after use.
namespace wordengine {

class WordApplication : public WordObject {
public:
    explicit WordApplication(std::shared_ptr<OfficeSession> session);
    // An application released without Quit leaves no document open in the
    // shared office: they are closed unsaved.
    ~WordApplication() override;

private:
    std::shared_ptr<ApplicationState> state_;
};

class WordDocuments : public WordObject {
public:
    explicit WordDocuments(std::shared_ptr<ApplicationState> app);
};

class WordDocument : public WordObject {
public:
    WordDocument(std::shared_ptr<ApplicationState> app, std::shared_ptr<DocumentState> document);
};

class WordWindow : public WordObject {
public:
    explicit WordWindow(std::shared_ptr<DocumentState> document);
};

class WordPane : public WordObject {
public:
    explicit WordPane(std::shared_ptr<DocumentState> document);
};

class WordView : public WordObject {
public:
    explicit WordView(std::shared_ptr<DocumentState> document);
};

class WordSelection : public WordObject {
public:
    WordSelection(std::shared_ptr<ApplicationState> app, std::shared_ptr<DocumentState> document);
};

// Word's SaveChanges values for Close and Quit.
constexpr int wdDoNotSaveChanges = 0;
constexpr int wdSaveChanges = -1;
constexpr int wdPromptToSaveChanges = -2;

std::shared_ptr<DocumentState> OpenDocument(ApplicationState& app, const automation::DispatchArgs& args);
void SaveDocumentAs(ApplicationState& app, DocumentState& document, const std::string& fileName);
void CloseDocument(ApplicationState& app, const std::shared_ptr<DocumentState>& document, int saveChanges);

// Run after each load, before the document is set up for editing: lets a test
// make that set-up fail.
void SetAfterLoadHook(std::function<void()> hook);

// A path as the client gave it, made absolute against the file-open folder.
std::string ResolvePath(const ApplicationState& app, const std::string& fileName);

} // namespace wordengine
