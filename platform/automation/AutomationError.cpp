#include "automation/AutomationError.h"

namespace automation {

AutomationError::AutomationError(std::string member, std::string serverText)
    : std::runtime_error(member + ": " + serverText),
      member_(std::move(member)),
      serverText_(std::move(serverText))
{
}

} // namespace automation
