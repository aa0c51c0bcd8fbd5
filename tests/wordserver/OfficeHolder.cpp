#include <cstdio>
#include <unistd.h>

#include "Office.h"
#include "WordEngine.h"
#include "automation/ComInit.h"
#include "automation/OleObject.h"

// Starts an application object (and with it an office), prints the office's
// process id and waits to be killed: the test checks that the office follows.
int main()
{
    automation::CoInitialize();
    wordengine::RegisterWordApplication();
    const automation::OleObject word = automation::CreateOleObject("word.application");
    std::printf("%d\n", static_cast<int>(wordengine::RunningOffice()->pid()));
    std::fflush(stdout);
    while (true)
        pause();
}
