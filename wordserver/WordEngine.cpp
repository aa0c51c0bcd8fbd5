#include "WordEngine.h"

#include <cstdlib>
#include <mutex>
#include <unistd.h>

#include <com/sun/star/uno/Exception.hpp>

#include "Office.h"
#include "UnoText.h"
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
        } catch (const css::uno::Exception& e) {
            throw automation::AutomationError("word.application",
                                              "Server execution failed: " + ToStdString(e.Message));
        }
    });
}

void ShutdownWordApplication()
{
    ShutdownOffice();
}

} // namespace wordengine
