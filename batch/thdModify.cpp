#include "thdModify.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <mutex>
#include <set>
#include <stdexcept>

#include "BatchLifetime.h"
#include "Dialogs.h"
#include "Trim.h"
#include "Unit1.h"
#include "WindowThread.h"

namespace batchlife {

namespace {
std::atomic<bool> stopRequested{false};
std::mutex workersMutex;
std::set<QThread*> workers;
} // namespace

void RequestStop() { stopRequested = true; }
bool StopRequested() { return stopRequested; }
void ResetStop() { stopRequested = false; }

int RunningWorkers()
{
    std::lock_guard lock(workersMutex);
    return static_cast<int>(workers.size());
}

void WaitForWorkers()
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&loop] {
        if (RunningWorkers() == 0)
            loop.quit();
    });
    poll.start(10);
    if (RunningWorkers() > 0)
        loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace batchlife

THDMOD::THDMOD(TForm1* form) : form_(form) {}

void THDMOD::Start(TForm1* form)
{
    // A window closed and shown again (only tests do that) must not stop the new batch.
    batchlife::ResetStop();
    auto* worker = new THDMOD(form);
    {
        std::lock_guard lock(batchlife::workersMutex);
        batchlife::workers.insert(worker);
    }
    connect(worker, &QThread::finished, qApp, [worker] {
        {
            std::lock_guard lock(batchlife::workersMutex);
            batchlife::workers.erase(worker);
        }
        worker->deleteLater();
    });
    worker->start();
}

void THDMOD::Execute()
{
    TForm1* form = form_;
    bool succeeded = false;
    try {
        const std::string folder =
            Trim(ReadOnWindowThread(form, [form] { return form->folderField(); }));
        // The field was checked when the batch was started, but it may have changed
        // since: an empty or relative path would walk the root or the working folder.
        if (folder.empty() || folder.front() != '/')
            throw std::runtime_error("No absolute folder to walk");
        form->ModifyFolder(folder);
        succeeded = true;
    } catch (...) {
        // The failure's own description is dropped; the batch just reports that it failed.
    }
    const QString message = succeeded ? QStringLiteral("修改成功！") : QStringLiteral("修改失败！");
    try {
        // The stop is asked for on the window thread, so it is looked at there too:
        // no box may come up once the window has been closed.
        ReadOnWindowThread(form, [&message] {
            if (!batchlife::StopRequested())
                dialogs::ShowMessage(message);
        });
    } catch (...) {
    }
    PostToWindowThread(form, [form] { form->Button1->setEnabled(true); });
}
