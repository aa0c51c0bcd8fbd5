#include <QApplication>
#include <gtest/gtest.h>

#include "WordEngine.h"
#include "automation/ComInit.h"

// The tests drive the program's own batch code, whose main window needs an
// application object; the office they share is ended before the process exits.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    automation::CoInitialize();
    wordengine::RegisterWordApplication();
    const int result = RUN_ALL_TESTS();
    wordengine::ShutdownWordApplication();
    automation::CoUninitialize();
    return result;
}
