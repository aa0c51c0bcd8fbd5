#include "WordEngine.h"

#include <cstdlib>
#include <mutex>
#include <unistd.h>

#include "Office.h"
#include "WordObjects.h"
#include "automation/AutomationError.h"
#include "automation/ProgIdTable.h"

namespace wordengine {

void RegisterWordApplication()
{
    if (access("/usr/lib/libreoffice/program/soffice.bin", X_OK) != 0)
        return;
    static std::once_flag atExit;
    std::call_once(atExit, [] { std::atexit([] { ShutdownOffice(); }); });
    automation::RegisterClassFactory("word.application", []() -> automation::DispatchPtr {
        try {
            return std::make_shared<WordApplication>(CurrentOffice());
        } catch (const std::exception& e) {
            throw automation::AutomationError("word.application", std::string("Server execution failed: ") + e.what());
        }
    });
}

void ShutdownWordApplication()
{
    ShutdownOffice();
}

} // namespace wordengine
