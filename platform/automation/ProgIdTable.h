#pragma once
#include <functional>
#include <string>

#include "automation/Variant.h"

namespace automation {

// The process-wide table of class factories by ProgID (case-insensitive), standing
// in for the registry lookup of CLSIDFromProgID and the creation of CoCreateInstance.
using ClassFactory = std::function<DispatchPtr()>;

void RegisterClassFactory(const std::string& progId, ClassFactory factory);
void RevokeClassFactory(const std::string& progId);
bool IsClassRegistered(const std::string& progId);

// Creates an instance; raises AutomationError when the calling thread has not
// initialised the library, when no class is registered, or when the factory fails.
DispatchPtr CoCreateInstance(const std::string& progId);

} // namespace automation
