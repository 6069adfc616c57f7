// The S16 Maker and the SHP import dialogs, driven offscreen on the sample data.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <filesystem>

#include "AppFixture.h"
#include "app/S16MakerDialog.h"
#include "app/ShpImportDialog.h"
#include "app/TextWindow.h"
#include "bitmap/PngCodec.h"
#include "sprite/S16Builder.h"
#include "sprite/S16Image.h"
#include "support/Paths.h"

class ToolDialogsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppFixture> app_;

    std::string At(const std::string& name) const { return app_->At(name); }
    static void Select(QListWidget* list, const QStringList& names) {
        list->clearSelection();
        for (int row = 0; row < list->count(); ++row) {
            if (names.contains(list->item(row)->text())) list->item(row)->setSelected(true);
        }
    }

private slots:
    void init() {
        app_ = std::make_unique<AppFixture>(8);
        QVERIFY(app_->written);
        app_->store.SetString("Settings", "Last", At("KELPAR.dat"));
        app_->doc.LoadSettingsOnce();
    }
    void cleanup() { app_.reset(); }

    void makerListsAndPreviewsBitmaps() {
        S16MakerDialog dialog(app_->doc);
        QCOMPARE(dialog.windowTitle(), QString("Varnok S16 Creator"));
        QCOMPARE(dialog.Mode(), int(S16MakerDialog::kList));  // the default mode
        QCOMPARE(dialog.Bitmaps()->count(), 4);
        QCOMPARE(dialog.Bitmaps()->item(0)->text(), QString("flag8.bmp"));
        QVERIFY(dialog.SizeLabel()->text() == "8 bits 36 x 24");
        QVERIFY(dialog.PixelLabel()->text().startsWith("Pix 0 is 159 ("));
        dialog.FileSpec()->setText("sheet ");
        dialog.ShowFiles();
        QCOMPARE(dialog.FileSpec()->text(), QString("sheet*.bmp;sheet*.png"));
        QCOMPARE(dialog.Bitmaps()->count(), 2);
        QVERIFY(!dialog.MakeButton()->isEnabled());
        dialog.Make();
        QCOMPARE(app_->ui.LastText(), std::string("No icons added yet .."));
    }

    void makerBuildsInEveryMode() {
        {
            S16MakerDialog dialog(app_->doc);
            dialog.SetMode(S16MakerDialog::kCloned);
            Select(dialog.Bitmaps(), {"soldier.bmp"});
            dialog.PreviewFocused();
            QVERIFY(dialog.MakeButton()->isEnabled());
            dialog.Make();
            QCOMPARE(app_->ui.LastText(),
                     std::string("\nDone !\n1 files created all with 9 icons\n"));
            const Bytes made = ReadFileBytes(At("soldier.s16"));
            std::filesystem::remove(At("soldier.s16"));
            MakeClonedS16(app_->dir.Path(), {"soldier.bmp"});
            QVERIFY(ReadFileBytes(At("soldier.s16")) == made);

            dialog.SetMode(S16MakerDialog::kSheet);
            dialog.Grid()->setChecked(false);
            Select(dialog.Bitmaps(), {"sheet9x1.bmp"});
            dialog.Make();
            const Bytes sheet = ReadFileBytes(At("sheet9x1.s16"));
            MakeS16FromSheet(app_->dir.Path(), {"sheet9x1.bmp"}, false);
            QVERIFY(ReadFileBytes(At("sheet9x1.s16")) == sheet);
        }
        QCOMPARE(app_->store.GetInt("Settings", "Option", -1), int(S16MakerDialog::kSheet));

        S16MakerDialog dialog(app_->doc);
        QCOMPARE(dialog.Mode(), int(S16MakerDialog::kSheet));  // remembered
        dialog.SetMode(S16MakerDialog::kList);
        Select(dialog.Bitmaps(), {"flag8.bmp", "sheet3x3.bmp", "soldier.bmp"});
        dialog.AddSelectedToList();
        QCOMPARE(dialog.IconList()->count(), 3);
        QCOMPARE(dialog.IconList()->item(2)->text(), QString("#003 : soldier"));
        dialog.IconList()->setCurrentRow(2);
        dialog.MoveEntry(-1);
        QCOMPARE(dialog.IconList()->item(1)->text(), QString("#002 : soldier"));
        QCOMPARE(dialog.IconList()->currentRow(), 1);
        app_->ui.fileAnswers.push_back(At("list.s16"));
        dialog.Make();
        QCOMPARE(app_->ui.LastText(), "\n " + At("list.s16") + " was created \n");
        const Bytes list = ReadFileBytes(At("list.s16"));
        MakeS16FromList(app_->dir.Path(), {"#001 : flag8", "#002 : soldier", "#003 : sheet3x3"},
                        At("again.s16"));
        QVERIFY(ReadFileBytes(At("again.s16")) == list);
    }

    void makerListsPngNextToBmp() {
        RgbaPicture rgba{2, 2, {10, 20, 30, 255, 0, 0, 0, 0, 40, 50, 60, 255, 248, 0, 248, 0}};
        Bytes png;
        std::string error;
        QVERIFY(EncodePng(rgba, png, error));
        WriteFileBytes(At("zz.png"), png);
        S16MakerDialog dialog(app_->doc);
        QCOMPARE(dialog.Bitmaps()->count(), 5);
        QCOMPARE(dialog.Bitmaps()->item(4)->text(), QString("zz.png"));
        dialog.SetMode(S16MakerDialog::kList);
        Select(dialog.Bitmaps(), {"soldier.bmp", "zz.png"});
        dialog.AddSelectedToList();
        QCOMPARE(dialog.IconList()->item(1)->text(), QString("#002 : zz.png"));
        QVERIFY(dialog.SizeLabel()->text() == "24 bits 2 x 2");  // the PNG's preview
        app_->ui.fileAnswers.push_back(At("mixed.s16"));
        dialog.Make();
        QCOMPARE(app_->ui.LastText(), "\n " + At("mixed.s16") + " was created \n");
        S16Image image;
        QVERIFY(image.OpenFile(At("mixed.s16")));
        QCOMPARE(image.IconCount(), 2);
        QCOMPARE(int(image.Icon(2).TWidth), 2);
    }

    void importListsOnlyNewFilesAndConverts() {
        app_->doc.Settings().helmarFolder = At("");
        app_->doc.Settings().s16Folder = At("game/");
        std::filesystem::create_directories(At("game"));
        WriteFileBytes(At("game/KNIGHT.S16"), Bytes{0, 0, 0, 0});
        ShpImportDialog dialog(app_->doc);
        QCOMPARE(dialog.windowTitle(), QString("Import Helmar - SHP files"));
        QCOMPARE(dialog.Files()->count(), 1);
        QCOMPARE(dialog.Files()->item(0)->text(), QString("banner.shp"));
        QCOMPARE(dialog.CountLine()->text(), QString("1 SHP files to convert"));
        QVERIFY(FileExists(dialog.ScratchPath()));
        QVERIFY(dialog.ScratchPath().rfind(TemporaryFolder(), 0) == 0);
        dialog.OnlyNew()->setChecked(false);
        dialog.FillList();
        QCOMPARE(dialog.Files()->count(), 2);

        // A nine-frame file pages three by three.
        dialog.Files()->setCurrentRow(1);
        QCOMPARE(dialog.RangeLine()->text(), QString("Icons: 1-9 / 9 total"));
        dialog.ShowAsS16()->setChecked(true);
        dialog.Paint();
        QCOMPARE(dialog.RangeLine()->text(), QString("Icons: 1-9 / 9 total"));
        dialog.PreviousFrame();
        QCOMPARE(dialog.FirstShown(), 1);

        dialog.OnlyNew()->setChecked(true);
        dialog.FillList();
        dialog.Files()->item(0)->setSelected(true);
        dialog.MakeS16();
        QVERIFY(FileExists(At("game/banner.s16")));
        QCOMPARE(dialog.Files()->count(), 0);
        QVERIFY(!dialog.MakeButton()->isEnabled());
        // The file converted last is no longer listed, nor shown.
        QCOMPARE(dialog.RangeLine()->text(), QString("No picture"));
        QCOMPARE(app_->ui.LastText(),
                 "\nConverted 1 files  \nto folder: \n\t" + At("game/") + "\n ");
    }

    // A double click on one of several selected bitmaps adds every one of
    // them; a bitmap that cannot be read is told once.
    void makerAddsAllSelectedAndTellsABadBitmapOnce() {
        WriteFileBytes(At("aaa.bmp"), Bytes{'B', 'M', 1, 2, 3});
        S16MakerDialog dialog(app_->doc);
        QCOMPARE(dialog.Bitmaps()->item(0)->text(), QString("aaa.bmp"));
        QCOMPARE(app_->ui.Errors().size(), std::size_t{1});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        Select(dialog.Bitmaps(), {"flag8.bmp", "sheet3x3.bmp", "soldier.bmp"});
        QListWidgetItem* soldier = dialog.Bitmaps()->findItems("soldier.bmp", Qt::MatchExactly)[0];
        // As a window system delivers it: a click, then a second press that is a double click.
        const QPoint at = dialog.Bitmaps()->visualItemRect(soldier).center();
        QTest::mouseClick(dialog.Bitmaps()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(dialog.Bitmaps()->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(dialog.IconList()->count(), 3);
        QCOMPARE(dialog.IconList()->item(0)->text(), QString("#001 : flag8"));
    }

    // A batch of cloned files tells the bitmaps it could not use in one list,
    // with the count, instead of a box for each.
    void makerTellsTheFailuresOfABatchInOneList() {
        WriteFileBytes(At("aaa.bmp"), Bytes{'B', 'M', 1, 2, 3});
        WriteFileBytes(At("bbb.bmp"), Bytes{'B', 'M', 4, 5, 6});
        S16MakerDialog dialog(app_->doc);
        dialog.SetMode(S16MakerDialog::kCloned);
        Select(dialog.Bitmaps(), {"aaa.bmp", "bbb.bmp", "soldier.bmp"});
        app_->ui.Clear();
        dialog.Make();
        QVERIFY(app_->ui.messages.empty());
        TextWindow* list = ShownTextWindow();
        QVERIFY(list);
        QVERIFY(list->Text().contains("aaa.bmp"));
        QVERIFY(list->Text().contains("bbb.bmp"));
        QVERIFY(list->Text().endsWith("1 files created 2 files could not be created\n"));
        list->close();
    }

    // After a file that cannot be previewed, nothing of the last range stays.
    void importClearsTheRangeOfAFailedPreview() {
        app_->doc.Settings().helmarFolder = At("");
        app_->doc.Settings().s16Folder = At("game/");
        WriteFileBytes(At("zzz.shp"), Bytes{9, 0, 0, 0, 1, 2});
        ShpImportDialog dialog(app_->doc);
        dialog.Files()->setCurrentRow(1);  // nine frames
        QCOMPARE(dialog.RangeLine()->text(), QString("Icons: 1-9 / 9 total"));
        dialog.Files()->setCurrentRow(2);
        QCOMPARE(dialog.Files()->currentItem()->text(), QString("zzz.shp"));
        QCOMPARE(dialog.RangeLine()->text(), QString("No picture"));
    }

    // Both dialogs fit an 800 x 600 screen: long texts wrap, and the first
    // size comes from the screen.
    void dialogsFitASmallScreen() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        S16MakerDialog maker(app_->doc);
        ShpImportDialog import(app_->doc);
        for (QDialog* dialog : {static_cast<QDialog*>(&maker), static_cast<QDialog*>(&import)}) {
            dialog->show();
            QVERIFY(dialog->minimumSizeHint().width() <= 780);
            QVERIFY(dialog->minimumSizeHint().height() <= 560);
            QVERIFY(dialog->width() <= screen.width() && dialog->height() <= screen.height());
        }
    }

    void importRemovesItsScratchFile() {
        app_->doc.Settings().helmarFolder = At("");
        app_->doc.Settings().s16Folder = At("");
        std::string scratch;
        {
            ShpImportDialog dialog(app_->doc);
            scratch = dialog.ScratchPath();
            QVERIFY(FileExists(scratch));
        }
        QVERIFY(!FileExists(scratch));
    }
};

QTEST_MAIN(ToolDialogsTest)
#include "ToolDialogsTest.moc"
