// The folder browser dialog, driven offscreen.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QtTest>
#include <filesystem>

#include "FakeUserInterface.h"
#include "TestFiles.h"
#include "browse/FolderBrowserDialog.h"
#include "browse/FolderTreeView.h"
#include "support/MemorySettingsStore.h"

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
};

QTEST_MAIN(FolderBrowserTest)
#include "FolderBrowserTest.moc"
