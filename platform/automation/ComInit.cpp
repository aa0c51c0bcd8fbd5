#include "automation/ComInit.h"

namespace automation {

namespace {
thread_local int initCount = 0;
}

void CoInitialize() { ++initCount; }

void CoUninitialize()
{
    if (initCount > 0)
        --initCount;
}

bool IsComInitialized() { return initCount > 0; }

int ComInitCount() { return initCount; }

} // namespace automation
