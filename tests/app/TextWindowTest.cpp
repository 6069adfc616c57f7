// The program's text window: reports and logs shown in it, and the summary of
// a command that works through many items.
#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QtTest>

#include "FakeUserInterface.h"
#include "TestFiles.h"
#include "app/BatchMessages.h"
#include "app/QtUserInterface.h"
#include "app/TextWindow.h"
#include "support/ErrorLog.h"
#include "support/MemorySettingsStore.h"
#include "support/Messages.h"

namespace {

// The text windows open now.
QList<TextWindow*> TextWindows() {
    QList<TextWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<TextWindow*>(widget); window && window->isVisible())
            windows << window;
    }
    return windows;
}

void CloseTextWindows() {
    for (TextWindow* window : TextWindows())
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class TextWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { CloseTextWindows(); }

    // An error log is shown by the program itself, with Save, Copy and the
    // desktop's program beside it.
    void showsALogWithSaveAndCopy() {
        TempDir dir;
        MemorySettingsStore store;
        QtUserInterface qt(store);
        InstallUserInterface(&qt);
        ErrorLog log;
        log.Start(dir / "NEW.dat");
        log.AddLine("tank.s16 skipped: not an S16 file");
        log.Finish(true);
        InstallUserInterface(nullptr);
        QCOMPARE(TextWindows().size(), 1);
        TextWindow* window = TextWindows().front();
        QVERIFY(window->Text().contains("tank.s16 skipped: not an S16 file"));
        QVERIFY(window->DesktopButton());

        FakeUserInterface ui;
        window->Copy();
        QCOMPARE(QApplication::clipboard()->text(), window->Text());
        ui.fileAnswers.push_back(dir / "saved.txt");
        QVERIFY(window->Save());
        QCOMPARE(QString::fromStdString(ReadFileText(dir / "saved.txt")), window->Text());
        window->OpenWithDesktop();
        QCOMPARE(ui.opened.back(), log.LogPath());

        // A file that cannot be read is told, not shown empty.
        QVERIFY(!ShowTextFileWindow(dir / "missing.txt"));
        QCOMPARE(ui.LastText(), "Cannot open [" + (dir / "missing.txt") + "]");
    }

    // A batch shows one message as it is, several in one window, and a
    // question answered "to all" is not asked again.
    void gathersTheMessagesOfABatch() {
        FakeUserInterface ui;
        {
            BatchMessages batch("Batch");
            ShowError("only one");
            batch.Finish("heading");
        }
        QCOMPARE(ui.Texts(), std::vector<std::string>{"only one"});
        QVERIFY(TextWindows().isEmpty());

        ui.repeatedAnswers = {RepeatedAnswer::kNo, RepeatedAnswer::kYesToAll};
        {
            BatchMessages batch("Batch");
            QVERIFY(!AskYesNo("first?"));
            QVERIFY(AskYesNo("second?"));
            QVERIFY(AskYesNo("third?"));
            for (int i = 1; i <= 3; ++i)
                ShowError("\nError on writing [item%d]\n", i);
            QCOMPARE(&CurrentUserInterface(), static_cast<UserInterface*>(&batch));
            batch.Finish("3 went wrong:");
            QCOMPARE(&CurrentUserInterface(), static_cast<UserInterface*>(&ui));
        }
        QCOMPARE(ui.questions, (std::vector<std::string>{"first?", "second?"}));
        QCOMPARE(ui.Texts().size(), std::size_t{1});
        QCOMPARE(TextWindows().size(), 1);
        QCOMPARE(TextWindows().front()->Text(),
                 QString("3 went wrong:\n\nError on writing [item1]\nError on writing [item2]\n"
                         "Error on writing [item3]\n"));
        QVERIFY(!TextWindows().front()->DesktopButton());
        CloseTextWindows();

        // A cancellation closes the list, apart from the items not written.
        {
            BatchMessages batch("Batch");
            ShowError("Error on writing [item1]");
            ShowInfo("Cancelled: 1 of 9 items were written\n");
            ShowError(" Error on writing [item2] \n");
            batch.Finish("1 not written:");
        }
        QCOMPARE(TextWindows().size(), 1);
        QCOMPARE(TextWindows().front()->Text(),
                 QString("1 not written:\n\nError on writing [item1]\nError on writing [item2]\n"
                         "\nCancelled: 1 of 9 items were written\n"));
    }

    // A summary is saved, by default, beside what the batch wrote.
    void summarySavesWhereTheBatchWrote() {
        TempDir dir;
        FakeUserInterface ui;
        {
            BatchMessages batch("Batch");
            ShowError("Error on writing [item1]");
            ShowError("Error on writing [item2]");
            batch.Finish("2 not written:", dir.Path());
        }
        QCOMPARE(TextWindows().size(), 1);
        QVERIFY(!TextWindows().front()->Save());  // no file chosen
        QCOMPARE(ui.fileChoices.back().initialPath, dir / "*.txt");
    }
};

QTEST_MAIN(TextWindowTest)
#include "TextWindowTest.moc"
