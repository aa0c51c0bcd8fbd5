#include "automation/ProgIdTable.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

#include "automation/AutomationError.h"
#include "automation/ComInit.h"

namespace automation {

namespace {

std::string lowered(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

struct Table {
    std::mutex mutex;
    std::map<std::string, ClassFactory> factories;
};

Table& table()
{
    static Table t;
    return t;
}

} // namespace

void RegisterClassFactory(const std::string& progId, ClassFactory factory)
{
    std::lock_guard lock(table().mutex);
    table().factories[lowered(progId)] = std::move(factory);
}

void RevokeClassFactory(const std::string& progId)
{
    std::lock_guard lock(table().mutex);
    table().factories.erase(lowered(progId));
}

bool IsClassRegistered(const std::string& progId)
{
    std::lock_guard lock(table().mutex);
    return table().factories.count(lowered(progId)) != 0;
}

DispatchPtr CoCreateInstance(const std::string& progId)
{
    if (!IsComInitialized())
        throw AutomationError(progId, "CoInitialize has not been called.");
    ClassFactory factory;
    {
        std::lock_guard lock(table().mutex);
        auto it = table().factories.find(lowered(progId));
        if (it == table().factories.end())
            throw AutomationError(progId, "Invalid class string.");
        factory = it->second;
    }
    DispatchPtr object = factory();
    if (!object)
        throw AutomationError(progId, "Server execution failed.");
    return object;
}

} // namespace automation
