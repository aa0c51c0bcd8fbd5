// Closing the program while a batch runs: the document in hand is finished, no
// further document is visited, no message is shown, and the worker is gone before
// the window is destroyed.
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

#include "BatchLifetime.h"
#include "Dialogs.h"
#include "RecordingWord.h"
#include "Unit1.h"

class BatchLifetimeTest : public QObject {
    Q_OBJECT

private slots:
    void closingDuringBatchFinishesTheDocumentInHandOnly();
};

void BatchLifetimeTest::closingDuringBatchFinishesTheDocumentInHandOnly()
{
    QTemporaryDir dir;
    for (const char* name : {"a.doc", "b.doc", "c.doc"})
        std::ofstream(dir.filePath(name).toStdString()) << "x";
    QStringList boxes;
    dialogs::SetPresenter([&boxes](dialogs::BoxKind, const QString& text) { boxes << text; });
    RecordingWord word;
    {
        auto form = std::make_unique<TForm1>();
        Form1 = form.get();
        form->show();
        // The user closes the window while the first document is open in the engine.
        word.onCall = [&form](const RecordingWord::Call& c) {
            if (c.document == 1 && c.member == "Open")
                QMetaObject::invokeMethod(form.get(), [&form] { form->close(); }, Qt::BlockingQueuedConnection);
        };
        form->Edit2->setText(dir.path());
        form->Button1Click();
        QTRY_VERIFY_WITH_TIMEOUT(!form->isVisible(), 10000);
        // What the program does once its event loop has ended.
        batchlife::RequestStop();
        batchlife::WaitForWorkers();
        QCOMPARE(batchlife::RunningWorkers(), 0);
        Form1 = nullptr;
    }
    batchlife::ResetStop();
    dialogs::SetPresenter({});
    QCOMPARE(word.created(), 1);
    QCOMPARE(word.savedPaths().size(), size_t(1));
    QCOMPARE(word.liveObjects(), 0);
    QVERIFY(boxes.isEmpty());
}

QTEST_MAIN(BatchLifetimeTest)
#include "BatchLifetimeTest.moc"
