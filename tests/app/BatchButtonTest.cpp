// The batch button: the folder field refused before anything starts, the button
// disabled from the click until the end message has been closed, the folder
// field trimmed and read once, every batch counting from zero.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>
#include <future>
#include <memory>
#include <stdexcept>

#include "BatchLifetime.h"
#include "Dialogs.h"
#include "StatusBar.h"
#include "Unit1.h"
#include "automation/ProgIdTable.h"

namespace {

// One box as the window thread showed it, with what the window looked like then.
struct Shown {
    QString text;
    bool message = false;
    bool onWindowThread = false;
    bool button1Enabled = true;
    QString pathPanel;
};

void writeFile(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("stand-in document");
}

} // namespace

class BatchButtonTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir configHome_;
    std::unique_ptr<TForm1> form_;
    QList<Shown> shown_;
    // Runs inside a box, while it is up, before the box is closed.
    std::function<void(const QString&)> whileShown_;
    std::promise<void> release_;
    bool released_ = false;

    void releaseHeldDocument()
    {
        if (!released_) {
            released_ = true;
            release_.set_value();
        }
    }

    QStringList shownTexts() const
    {
        QStringList texts;
        for (const Shown& s : shown_)
            texts << s.text;
        return texts;
    }

    // Clicks the batch button and waits until the batch has ended and the button is back.
    void runBatch()
    {
        QTest::mouseClick(form_->Button1, Qt::LeftButton);
        QVERIFY(!form_->Button1->isEnabled());
        QTRY_VERIFY(shownTexts().contains(QStringLiteral("修改成功！")));
        QTRY_VERIFY(form_->Button1->isEnabled());
        QTRY_COMPARE(batchlife::RunningWorkers(), 0);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(configHome_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome_.path()));
        QVERIFY(!automation::IsClassRegistered("word.application"));
    }

    void init()
    {
        shown_.clear();
        whileShown_ = nullptr;
        release_ = std::promise<void>();
        released_ = false;
        form_ = std::make_unique<TForm1>();
        Form1 = form_.get();
        dialogs::SetPresenter([this](dialogs::BoxKind kind, const QString& text) {
            shown_.append({text, kind == dialogs::BoxKind::Message, QThread::currentThread() == qApp->thread(),
                           form_->Button1->isEnabled(), form_->StatusBar1->panelText(2)});
            if (whileShown_)
                whileShown_(text);
        });
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }

    void cleanup()
    {
        // Whatever failed, no worker outlives the window it reaches.
        releaseHeldDocument();
        batchlife::WaitForWorkers();
        automation::RevokeClassFactory("word.application");
        dialogs::SetPresenter({});
        form_.reset();
        Form1 = nullptr;
    }

    void refusedFolder_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << "" << "请选择要修改的文件夹！";
        QTest::newRow("blanks and controls") << " \t\r\n " << "请选择要修改的文件夹！";
        QTest::newRow("missing") << "/no/such/folder" << "文件夹不存在：/no/such/folder";
        QTest::newRow("missing, blanks around") << "  /no/such/folder\t" << "文件夹不存在：/no/such/folder";
        QTest::newRow("relative") << "tmp" << "文件夹不存在：tmp";
        QTest::newRow("current folder") << "." << "文件夹不存在：.";
        QTest::newRow("a file") << "@FILE@" << "文件夹不存在：@FILE@";
    }

    void refusedFolder()
    {
        QFETCH(QString, field);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString file = dir.filePath("a.doc");
        writeFile(file);
        field.replace("@FILE@", file);
        message.replace("@FILE@", file);

        form_->StatusBar1->setPanelText(1, "已修改3个");
        form_->Edit2->setText(field);
        FileCount = 77;
        QTest::mouseClick(form_->Button1, Qt::LeftButton);

        QCOMPARE(shown_.size(), 1);
        QCOMPARE(shown_[0].text, message);
        QVERIFY(shown_[0].message);
        QVERIFY(form_->Button1->isEnabled());
        QCOMPARE(FileCount, 77);
        QCOMPARE(batchlife::RunningWorkers(), 0);
        QCOMPARE(form_->Edit2->text(), field);
        QCOMPARE(form_->StatusBar1->panelText(1), QStringLiteral("已修改3个"));
        QTest::qWait(20);
        QCOMPARE(shown_.size(), 1);
    }

    void buttonComesBackOnlyAfterTheMessageIsClosed()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath("a.doc"));
        writeFile(dir.filePath("b.doc"));
        writeFile(dir.filePath("notes.txt"));
        // With no "word.application" each document reports its own message and the batch goes on.
        const QString folder = QDir(dir.path()).absolutePath();
        form_->Edit2->setText("  \t" + folder + " \r\n");
        whileShown_ = [this](const QString& text) {
            if (text == QStringLiteral("修改成功！")) {
                // The message stays up a while; nothing may give the button back meanwhile.
                QTest::qWait(50);
                QVERIFY(!form_->Button1->isEnabled());
            }
        };

        for (int batch = 1; batch <= 2; ++batch) {
            shown_.clear();
            FileCount = 77;
            runBatch();
            QCOMPARE(shownTexts(),
                     (QStringList{"创建对像失败!", "创建对像失败!", "修改成功！"}));
            for (const Shown& s : shown_) {
                QVERIFY(s.message);
                QVERIFY(s.onWindowThread);
                QVERIFY2(!s.button1Enabled, qPrintable(s.text));
            }
            // The walk saw the folder without the blanks around it.
            QStringList visited{shown_[0].pathPanel, shown_[1].pathPanel};
            visited.sort();
            QCOMPARE(visited, (QStringList{folder + "/a.doc", folder + "/b.doc"}));
            QCOMPARE(FileCount, 2);
            QCOMPARE(form_->StatusBar1->panelText(1), QStringLiteral("已修改2个"));
            QCOMPARE(form_->Edit2->text(), "  \t" + folder + " \r\n");
        }
    }

    void heldBatchLeavesTheWindowUsable()
    {
        QTemporaryDir dir, other;
        writeFile(dir.filePath("a.doc"));
        writeFile(dir.filePath("b.doc"));
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        writeFile(dir.filePath("sub/c.doc"));
        writeFile(other.filePath("z.doc"));

        // A Word that does not start until the test lets it: the first document is held.
        std::atomic<int> starts{0};
        std::shared_future<void> released = release_.get_future().share();
        automation::RegisterClassFactory("word.application", [&starts, released]() -> automation::DispatchPtr {
            if (starts++ == 0)
                released.wait();
            throw std::runtime_error("Word is not installed here");
        });

        form_->Edit2->setText(dir.path());
        FileCount = 77;
        QTest::mouseClick(form_->Button1, Qt::LeftButton);
        QTRY_COMPARE(starts.load(), 1);

        // Running: only the batch button is held; the rest of the window answers the user.
        QVERIFY(!form_->Button1->isEnabled());
        QCOMPARE(FileCount, 1);
        QCOMPARE(form_->StatusBar1->panelText(2).left(dir.path().size()), dir.path());
        for (QWidget* w : {static_cast<QWidget*>(form_->Edit2), static_cast<QWidget*>(form_->Button2),
                           static_cast<QWidget*>(form_->Button3), static_cast<QWidget*>(form_->Button4),
                           static_cast<QWidget*>(form_->CheckBox1), static_cast<QWidget*>(form_->CheckBox3)})
            QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
        form_->CheckBox3->click();
        QVERIFY(form_->Memo2->isEnabled());
        form_->Edit2->setText(other.path());
        QVERIFY(shown_.isEmpty());

        releaseHeldDocument();
        QTRY_VERIFY(shownTexts().contains(QStringLiteral("修改成功！")));
        QTRY_VERIFY(form_->Button1->isEnabled());
        QCOMPARE(shownTexts(),
                 (QStringList{"创建对像失败!", "创建对像失败!", "创建对像失败!", "修改成功！"}));
        // The folder changed during the batch is not the one walked.
        QCOMPARE(FileCount, 3);
        QCOMPARE(starts.load(), 3);
        for (int i = 0; i < 3; ++i)
            QVERIFY2(shown_[i].pathPanel.startsWith(dir.path() + "/"), qPrintable(shown_[i].pathPanel));
        QCOMPARE(form_->StatusBar1->panelText(1), QStringLiteral("已修改3个"));
    }
};

QTEST_MAIN(BatchButtonTest)
#include "BatchButtonTest.moc"
