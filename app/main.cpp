#include <QApplication>

#include "Unit1.h"
#include "WordEngine.h"
#include "automation/ComInit.h"
#include "batch/BatchLifetime.h"
#include "picker/Unit2.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    automation::CoInitialize();
    wordengine::RegisterWordApplication();

    int exitCode = 0;
    {
        TForm1 form1;
        Form1 = &form1;
        TForm2 form2;
        Form2 = &form2;
        form1.show();
        exitCode = app.exec();
        // Closed during a batch: let the worker finish the document in hand, then end.
        batchlife::RequestStop();
        batchlife::WaitForWorkers();
        Form2 = nullptr;
        Form1 = nullptr;
    }
    ChosenDir.clear();
    // The shared office ends with the program, not later at exit.
    wordengine::ShutdownWordApplication();
    automation::CoUninitialize();
    return exitCode;
}
