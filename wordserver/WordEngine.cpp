#include "WordEngine.h"

namespace wordengine {

void RegisterWordApplication() {}

} // namespace wordengine
