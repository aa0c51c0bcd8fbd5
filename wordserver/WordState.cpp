#include "WordState.h"

#include <algorithm>

#include "WordObject.h"

namespace wordengine {

std::shared_ptr<DocumentState> ApplicationState::active() const
{
    if (quit)
        Fail("The object invoked has disconnected from its clients.");
    if (documents.empty())
        Fail("This command is not available because no document is open.");
    return documents.back();
}

void ApplicationState::remove(const std::shared_ptr<DocumentState>& document)
{
    documents.erase(std::remove(documents.begin(), documents.end(), document), documents.end());
}

void RequireOpen(const DocumentState& document)
{
    if (document.closed)
        Fail("The object invoked has disconnected from its clients.");
}

} // namespace wordengine
