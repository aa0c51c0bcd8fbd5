// Benchmark driver: makes the tree of documents, and runs the program's real
// batch over a tree the way the batch button does (the walk on a worker thread,
// the controls read through the window thread), printing the seconds it took.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <thread>

#include "Fixtures.h"
#include "RadioGroup.h"
#include "Unit1.h"
#include "WordEngine.h"
#include "automation/ComInit.h"

namespace {

int make(const std::string& root, int count)
{
    const int perFolder = 10;
    for (int i = 0; i < count; ++i) {
        const std::string folder = root + "/part-" + std::to_string(i / perFolder + 1);
        mkdir(folder.c_str(), 0755);
        char name[32];
        std::snprintf(name, sizeof name, "/doc-%02d.doc", i + 1);
        fixtures::DocRecipe recipe;
        recipe.body = "Document " + std::to_string(i + 1) + ": a short body of text, as a small memo has.";
        recipe.headerText = "Old header " + std::to_string(i + 1);
        recipe.footerText = "Old footer " + std::to_string(i + 1);
        fixtures::MakeDocument(folder + name, recipe);
    }
    return 0;
}

int batch(const std::string& root)
{
    TForm1 form;
    Form1 = &form;
    form.CheckBox2->setChecked(true);
    TForm1::setMemoText(form.Memo1, QStringLiteral("新页眉 Benchmark header"));
    form.RadioGroup2->setItemIndex(1);
    form.CheckBox3->setChecked(true);
    TForm1::setMemoText(form.Memo2, QStringLiteral("新页脚 Benchmark footer"));
    form.RadioGroup3->setItemIndex(2);

    std::atomic<bool> failed{false};
    const auto start = std::chrono::steady_clock::now();
    std::thread worker([&] {
        try {
            form.ModifyFolder(root);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "batch failed: %s\n", e.what());
            failed = true;
        }
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    QApplication::exec();
    worker.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    Form1 = nullptr;
    if (failed)
        return 1;
    std::printf("%.2f\n", seconds);
    std::fprintf(stderr, "%d documents\n", FileCount);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    automation::CoInitialize();
    wordengine::RegisterWordApplication();
    int result = 2;
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode == "make" && argc == 4)
        result = make(argv[2], std::atoi(argv[3]));
    else if (mode == "batch" && argc == 3)
        result = batch(argv[2]);
    else
        std::fprintf(stderr, "usage: word_bench make FOLDER COUNT | word_bench batch FOLDER\n");
    wordengine::ShutdownWordApplication();
    automation::CoUninitialize();
    return result;
}
