// The folder browser dialog, driven offscreen.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QtTest>
#include <filesystem>

#include "FakeUserInterface.h"
#include "TestFiles.h"
#include "browse/FolderBrowserDialog.h"
#include "browse/FolderTreeView.h"
#include "support/MemorySettingsStore.h"
#include "support/Messages.h"

class FolderBrowserTest : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheInitialFolderAndSavesTheChoice() {
        TempDir dir;
        WriteFileBytes(dir / "one/a.s16", {1});
        WriteFileBytes(dir / "one/b.bmp", {1});
        std::filesystem::create_directories(dir / "one/sub");
        MemorySettingsStore store;
        store.SetString("FolderHistory", "Folder0000", dir / "gone/");
        FolderBrowserDialog dialog(dir / "one/", "Select folder ", store);
        QCOMPARE(dialog.History()->count(), 0);  // a missing folder is not loaded
        QCOMPARE(dialog.Tree()->CurrentFolder().toStdString(), dir / "one/");
        QCOMPARE(dialog.Files()->count(), 2);
        QCOMPARE(dialog.FileCount()->text(), QString("2 files on selected folder"));
        dialog.accept();
        QCOMPARE(dialog.ChosenFolder(), dir / "one/");
        QCOMPARE(store.GetString("FolderHistory", "Folder0000", ""), dir / "one/");
    }

    void goesToTheParentAndCreatesFolders() {
        FakeUserInterface ui;
        TempDir dir;
        std::filesystem::create_directories(dir / "one/two");
        MemorySettingsStore store;
        FolderBrowserDialog dialog(dir / "one/two", "caption", store);
        dialog.GoToParent();
        QCOMPARE(dialog.Tree()->CurrentFolder().toStdString(), dir / "one/");
        dialog.CreateFolder();
        QVERIFY(FileExists(dir / "one/NewFolder"));
    }

    // The selected folder is in view once its parents are listed, and the
    // tree's right-click menu acts on the folder under the mouse.
    void showsTheSelectedFolderAndHasAMenu() {
        FakeUserInterface ui;
        TempDir dir;
        for (int i = 0; i < 200; ++i)
            std::filesystem::create_directories(dir / FormatText("big/f%03d", i));
        MemorySettingsStore store;
        FolderBrowserDialog dialog(dir.Path(), "caption", store);
        dialog.resize(640, 480);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // The folders beside the chosen one are listed only after it is selected.
        FolderTreeView* tree = dialog.Tree();
        tree->SelectFolder(QString::fromStdString(dir / "big/f199"));
        QTRY_COMPARE(tree->model()->rowCount(tree->currentIndex().parent()), 200);
        QTRY_VERIFY(tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex())));
        QCOMPARE(tree->CurrentFolder().toStdString(), dir / "big/f199/");

        QStringList texts;
        for (QAction* action : dialog.FolderMenu()->actions())
            if (!action->isSeparator()) texts << action->text();
        QCOMPARE(texts, (QStringList{"&Create folder", "&Rename", "&Delete", "&Properties"}));
        dialog.FolderMenu()->actions().front()->trigger();
        QVERIFY(FileExists(dir / "big/f199/NewFolder"));
    }

    // A folder typed into the box and confirmed with Enter is the choice,
    // whatever the tree shows: an existing one at once, a missing one once
    // the user agrees to create it, a file never.
    void usesTheFolderTypedIntoTheBox() {
        FakeUserInterface ui;
        TempDir dir;
        std::filesystem::create_directories(dir / "tree");
        std::filesystem::create_directories(dir / "typed");
        WriteFileBytes(dir / "file", {1});
        MemorySettingsStore store;
        auto typeAndEnter = [&](FolderBrowserDialog& dialog, const std::string& text) {
            QLineEdit* box = dialog.History()->lineEdit();
            box->selectAll();
            QTest::keyClicks(box, QString::fromStdString(text));
            QTest::keyClick(box, Qt::Key_Return);
        };
        {
            FolderBrowserDialog dialog(dir / "tree/", "caption", store);
            dialog.show();
            QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.History()));
            typeAndEnter(dialog, dir / "typed/");
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(dialog.ChosenFolder(), dir / "typed/");
        }
        {
            FolderBrowserDialog dialog(dir / "tree/", "caption", store);
            dialog.show();
            ui.yesNoAnswers = {false, true};
            typeAndEnter(dialog, dir / "new/deeper");
            QVERIFY(dialog.isVisible());  // not created: the choice goes on
            QVERIFY(!FileExists(dir / "new"));
            typeAndEnter(dialog, "../new/deeper");  // relative to the tree's folder
            QCOMPARE(ui.questions.size(), std::size_t{2});
            QCOMPARE(ui.questions.back(),
                     "The folder [" + (dir / "new/deeper/") + "] does not exist.\nCreate it?");
            QCOMPARE(dialog.ChosenFolder(), dir / "new/deeper/");
            QVERIFY(std::filesystem::is_directory(dir / "new/deeper"));
        }
        for (const std::string& invalid : {dir / "file", dir / "file/below"}) {
            FolderBrowserDialog dialog(dir / "tree/", "caption", store);
            dialog.show();
            typeAndEnter(dialog, invalid);
            QVERIFY(dialog.isVisible());
            QCOMPARE(ui.LastText(), "[" + invalid + "] is not a folder");
            QCOMPARE(dialog.ChosenFolder(), std::string());
        }
        QCOMPARE(ui.questions.size(), std::size_t{2});
    }
};

QTEST_MAIN(FolderBrowserTest)
#include "FolderBrowserTest.moc"
