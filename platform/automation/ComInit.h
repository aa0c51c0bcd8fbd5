#pragma once

namespace automation {

// Per-thread initialisation count of the automation library, as COM keeps it.
// Creating an object on a thread that has not initialised fails.
void CoInitialize();
void CoUninitialize();
bool IsComInitialized();
int ComInitCount();

} // namespace automation
