// The window's long work, undo, changes by other programs and the sheet
// view, driven offscreen on the sample archive.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <numeric>

#include "AppFixture.h"
#include "DatFiles.h"
#include "S16Files.h"
#include "app/AnimationBar.h"
#include "app/ChangeTracker.h"
#include "app/CommandIds.h"
#include "app/IconPanel.h"
#include "app/ItemListModel.h"
#include "app/ItemListView.h"
#include "app/QtProgress.h"
#include "app/SheetModel.h"
#include "app/SheetView.h"

namespace fs = std::filesystem;

namespace {

// The names in a folder, sorted: stray scratch or backup files show here.
QStringList NamesIn(const std::string& folder) {
    QStringList names;
    for (const auto& entry : fs::directory_iterator(folder))
        names << QString::fromStdString(entry.path().filename().string());
    names.sort();
    return names;
}

bool HasText(const FakeUserInterface& ui, const std::string& text) {
    const std::vector<std::string> texts = ui.Texts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// A progress whose user asks to stop after `steps` steps.
class StoppingProgress final : public Progress {
public:
    explicit StoppingProgress(int steps) : steps_(steps) {}
    void Show() override {}
    void SetRange(int) override {}
    void Step(int count) override { done_ += count; }
    void Hide() override {}
    bool Cancelled() const override { return done_ >= steps_; }

private:
    int steps_;
    int done_ = 0;
};

}  // namespace

class WindowFeaturesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> window_;
    AppFixture* app_ = nullptr;
    CMainFrame* frame_ = nullptr;

    std::string Sample(const std::string& name) const { return app_->At(name); }
    CShpView* View() const { return window_->View(); }
    int ItemCount() const { return app_->doc.Archive().ItemCount(); }
    // The S16 Tool on the sample folder, showing tank.s16, a unit of nine icons.
    CShpTool* S16ToolOnAUnit() {
        CShpTool* tool = window_->S16ToolOnSamples();
        tool->Files()->setCurrentRow(1);  // tank.s16
        return tool;
    }
    // Runs `during` once the command's long work has started.
    void RunWhileBusy(int command, const std::function<void()>& during) {
        QTimer::singleShot(0, View(), during);
        frame_->Action(command)->trigger();
    }
    // A new folder, the answer to the next question for one.
    std::string UnpackFolderAnswered() {
        const std::string out = Sample("out/");
        fs::create_directory(out);
        app_->ui.folderAnswers.push_back(out);
        return out;
    }
    // Another program's version of `archive`, one item shorter, at `copy`.
    static bool WriteSmallerCopy(const std::string& archive, const std::string& copy) {
        DatArchive other;
        return fs::copy_file(archive, copy) && other.OpenArchive(copy) &&
               !other.RemoveItem(3, NoProgress()).empty();
    }
    void CancelProgress() {
        auto* dialog = View()->findChild<QProgressDialog*>();
        QVERIFY(dialog != nullptr);
        // The one button that takes clicks while the window is busy.
        auto* cancel = dialog->findChild<QPushButton*>();
        QVERIFY(cancel != nullptr);
        QTest::mouseClick(cancel, Qt::LeftButton);
    }

private slots:
    void init() {
        window_ = std::make_unique<WindowFixture>(false);
        app_ = &window_->app;
        frame_ = &window_->frame;
        QVERIFY(window_->opened);
    }

    void cleanup() { window_.reset(); }

    void cancelledRewriteLeavesTheArchiveAsItWas() {
        const Bytes before = ReadFileBytes(Sample("KELPAR.dat"));
        const QStringList listing = NamesIn(Sample(""));
        RunWhileBusy(kCmdRemove, [this] { CancelProgress(); });
        QCOMPARE(ReadFileBytes(Sample("KELPAR.dat")), before);
        QCOMPARE(NamesIn(Sample("")), listing);  // no scratch file, no new backup
        QCOMPARE(ItemCount(), 25);
        QVERIFY(HasText(app_->ui, "Cancelled: [" + Sample("KELPAR.dat") + "] was not changed"));
        QVERIFY(View()->findChild<QProgressDialog*>() == nullptr);
    }

    void clickDuringLongWorkDoesNothing() {
        const std::string out = UnpackFolderAnswered();
        QWidget* remove =
            frame_->Toolbar(CMainFrame::kDatTool)->widgetForAction(frame_->Action(kCmdRemove));
        QVERIFY(remove != nullptr);
        RunWhileBusy(kCmdUnpack, [remove] { QTest::mouseClick(remove, Qt::LeftButton); });
        QCoreApplication::processEvents();
        QCOMPARE(ItemCount(), 25);  // nothing removed, then or afterwards
        QCOMPARE(NamesIn(out).size(), 25);
        QVERIFY(View()->findChild<QProgressDialog*>() == nullptr);
        // Once the work is done the window takes commands again.
        QTest::mouseClick(remove, Qt::LeftButton);
        QCOMPARE(ItemCount(), 24);
    }

    void undoAndRedoSwapTheFileWithItsBackup() {
        const std::string archive = Sample("KELPAR.dat");
        const Bytes before = ReadFileBytes(archive);
        QVERIFY(!frame_->UndoAction()->isEnabled());
        frame_->Action(kCmdRemove)->trigger();
        const Bytes after = ReadFileBytes(archive);
        QCOMPARE(ItemCount(), 24);
        QCOMPARE(frame_->UndoAction()->text(), QString("Undo Remove UNIT01.S16"));
        frame_->UndoAction()->trigger();
        QCOMPARE(ReadFileBytes(archive), before);
        QCOMPARE(ItemCount(), 25);
        QCOMPARE(View()->ItemList()->model()->rowCount(), 25);
        QVERIFY(!frame_->UndoAction()->isEnabled());
        QCOMPARE(frame_->RedoAction()->text(), QString("Redo Remove UNIT01.S16"));
        frame_->RedoAction()->trigger();
        QCOMPARE(ReadFileBytes(archive), after);
        QCOMPARE(ItemCount(), 24);

        // A backup changed by someone else is never put in place.
        WriteFileBytes(app_->doc.Archive().BackupPath(), {1, 2, 3});
        frame_->UndoAction()->trigger();
        QCOMPARE(ReadFileBytes(archive), after);
        QVERIFY(!frame_->UndoAction()->isEnabled());
        QCOMPARE(app_->ui.Errors().back(),
                 "[" + archive +
                     "] or its backup was changed since: the change cannot be undone or redone");

        // The S16 Tool's icon removal is undone the same way.
        CShpTool* tool = S16ToolOnAUnit();
        QCOMPARE(tool->Icons()->count(), 9);
        const std::string sprite = Sample("") + tool->Files()->currentItem()->text().toStdString();
        const Bytes sprite0 = ReadFileBytes(sprite);
        const int icons = tool->Icons()->count();
        tool->Icons()->setCurrentRow(1);
        app_->ui.yesNoAnswers.push_back(true);
        tool->RemoveSelectedIcon();
        QCOMPARE(tool->Icons()->count(), icons - 1);
        QCOMPARE(frame_->UndoAction()->text(), QString("Undo Remove icon 2"));
        frame_->UndoAction()->trigger();
        QCOMPARE(ReadFileBytes(sprite), sprite0);
        QCOMPARE(tool->Icons()->count(), icons);
    }

    void changeByAnotherProgramIsNeverWrittenOver() {
        const std::string archive = Sample("KELPAR.dat");
        // Another program writes a smaller archive into the same file.
        QVERIFY(WriteSmallerCopy(archive, Sample("other.dat")));
        const Bytes changed = ReadFileBytes(Sample("other.dat"));
        WriteFileBytes(archive, changed);

        app_->ui.yesNoAnswers.push_back(false);
        frame_->Action(kCmdRemove)->trigger();
        QCOMPARE(ReadFileBytes(archive), changed);
        QCOMPARE(app_->ui.questions.back(),
                 "[" + archive +
                     "] was changed by another program since it was read: nothing was "
                     "written.\nRead it again now?");

        app_->ui.yesNoAnswers.push_back(true);
        app_->doc.Changes().CheckForChanges();
        QCOMPARE(app_->ui.questions.back(),
                 "[" + archive + "] was changed by another program.\nRead it again now?");
        QCOMPARE(ItemCount(), 24);
        QCOMPARE(View()->ItemList()->model()->rowCount(), 24);
        // Once read, the file may be changed again; its own change is not another program's.
        frame_->Action(kCmdRemove)->trigger();
        QCOMPARE(ItemCount(), 23);
        const std::size_t asked = app_->ui.questions.size();
        app_->doc.Changes().CheckForChanges();
        QCOMPARE(app_->ui.questions.size(), asked);
    }

    void windowsOwnWriteOfTheS16FileIsNotAnotherPrograms() {
        S16ToolOnAUnit();
        const std::string shown = Sample("tank.s16");
        const Bytes before = ReadFileBytes(shown);
        frame_->SwitchTool(CMainFrame::kDatTool);
        View()->ItemList()->setCurrentIndex(View()->ItemList()->model()->index(3, 0));
        app_->ui.fileAnswers.push_back(shown);
        frame_->Action(kCmdExtract)->trigger();
        QVERIFY(ReadFileBytes(shown) != before);
        app_->doc.Changes().CheckForChanges();
        QVERIFY(app_->ui.questions.empty());

        // Another program's change of it is still asked about.
        WriteFileBytes(shown, before);
        app_->ui.yesNoAnswers.push_back(false);
        app_->doc.Changes().CheckForChanges();
        QCOMPARE(app_->ui.questions.size(), std::size_t{1});
    }

    void changeSeenDuringLongWorkIsAskedAboutAfterIt() {
        const std::string archive = Sample("KELPAR.dat");
        QVERIFY(WriteSmallerCopy(archive, Sample("other.dat")));
        const std::string out = UnpackFolderAnswered();
        app_->ui.yesNoAnswers.push_back(true);
        std::size_t askedDuring = 0;
        // Another program replaces the archive while it is unpacked: reading
        // it again then would pull it from under the unpack.
        RunWhileBusy(kCmdUnpack, [&] {
            fs::rename(Sample("other.dat"), archive);
            app_->doc.Changes().CheckForChanges();
            askedDuring = app_->ui.questions.size();
        });
        QCOMPARE(askedDuring, std::size_t{0});
        QCOMPARE(NamesIn(out).size(), 25);
        app_->doc.Changes().CheckForChanges();
        QCOMPARE(app_->ui.questions.size(), std::size_t{1});
        QCOMPARE(ItemCount(), 24);
    }

    void sheetShowsEveryItemAndChoosesOne() {
        frame_->SheetAction(CShpView::kItemSheet)->trigger();
        SheetView* sheet = View()->SheetWidget();
        SheetModel* model = sheet->Model();
        QVERIFY(sheet->isVisible() && !View()->Panel()->isVisible());
        QCOMPARE(model->rowCount(), 25);
        // Thumbnails are decoded when first asked for: whole pixels, none for a text item.
        const int text = 12;
        QCOMPARE(model->data(model->index(text), Qt::DisplayRole).toString(),
                 QString("VERSION.TXT"));
        const QImage empty = model->data(model->index(0), Qt::DecorationRole).value<QImage>();
        QCOMPARE(empty.size(), QSize(64, 64));  // every cell one size, decoded or not
        QCOMPARE(empty.pixelColor(34, 34).alpha(), 0);
        model->data(model->index(text), Qt::DecorationRole);
        model->WaitForThumbnails();
        const QImage first = model->data(model->index(0), Qt::DecorationRole).value<QImage>();
        QCOMPARE(first.size(), QSize(64, 64));  // a 32 x 32 icon, doubled
        QCOMPARE(first.pixelColor(34, 34), QColor(200, 40, 40));
        QCOMPARE(model->data(model->index(text), Qt::DecorationRole)
                     .value<QImage>()
                     .pixelColor(34, 34)
                     .alpha(),
                 0);

        sheet->scrollTo(model->index(3));
        QTest::mouseClick(sheet->viewport(), Qt::LeftButton, {},
                          sheet->visualRect(model->index(3)).center());
        QCOMPARE(View()->ItemList()->currentIndex().row(), 3);
        QCOMPARE(View()->CurrentItem(), 3);

        // Every icon of the chosen item; a click shows that icon.
        frame_->SheetAction(CShpView::kIconSheet)->trigger();
        QCOMPARE(model->rowCount(), 9);
        QTest::mouseClick(sheet->viewport(), Qt::LeftButton, {},
                          sheet->visualRect(model->index(5)).center());
        QCOMPARE(View()->IconNumber(), 6);

        frame_->SheetAction(CShpView::kNoSheet)->trigger();
        QVERIFY(!sheet->isVisible() && View()->Panel()->isVisible());
    }

    void sheetReadsAnArchiveReplacedUnderTheSameName() {
        // Large icons: decoding them keeps a worker busy for a while.
        const Bytes icon =
            CodedS16(1, 800, 600, [](int, int, int) { return ColorValue{0x2060A0}; });
        std::vector<NamedItem> items;
        for (int i = 0; i < 400; ++i)
            items.emplace_back(FormatText("BIG%03d.S16", i), icon);
        const std::string path = Sample("big.dat");
        WriteFileBytes(path, DatBytes(items));
        // What a remove, an undo or a reload puts in place: every item has moved.
        items.erase(items.begin());
        WriteFileBytes(Sample("other.dat"), DatBytes(items));
        std::vector<DatEntry> before;
        std::vector<DatEntry> after;
        {
            DatArchive archive;
            QVERIFY(archive.OpenArchive(path));
            before = archive.Entries();
            QVERIFY(archive.OpenArchive(Sample("other.dat")));
            after = archive.Entries();
        }
        const auto all = [](const std::vector<DatEntry>& entries) {
            std::vector<int> rows(entries.size());
            std::iota(rows.begin(), rows.end(), 0);
            return rows;
        };
        SheetModel model;
        model.ShowItems(path, before, all(before));
        for (int row = 0; row < 400; ++row)
            model.data(model.index(row), Qt::DecorationRole);
        // Once a worker has the archive open (the last row asked is decoded first) ...
        QTRY_VERIFY(model.data(model.index(399), Qt::DecorationRole)
                        .value<QImage>()
                        .pixelColor(32, 32)
                        .alpha() != 0);
        // ... the archive is replaced and shown again while that worker is still busy.
        fs::rename(Sample("other.dat"), path);
        model.ShowItems(path, after, all(after));
        for (int row = 0; row < 20; ++row)
            model.data(model.index(row), Qt::DecorationRole);
        model.WaitForThumbnails();
        for (int row = 0; row < 20; ++row) {
            const QImage thumbnail =
                model.data(model.index(row), Qt::DecorationRole).value<QImage>();
            QCOMPARE(thumbnail.pixelColor(32, 32), QColor(0x20, 0x60, 0xA0));
        }
    }

    void animationStepsThroughTheIcons() {
        AnimationBar* animation = View()->Animation();
        QVERIFY(View()->Collage());
        animation->Play();
        QVERIFY(animation->Playing());
        QVERIFY(!View()->Collage());  // one icon at a time
        QCOMPARE(View()->IconNumber(), 1);
        for (int n = 2; n <= 9; ++n) {
            animation->Advance();
            QCOMPARE(View()->IconNumber(), n);
        }
        animation->Advance();
        QCOMPARE(View()->IconNumber(), 1);  // looping
        animation->Loop()->setChecked(false);
        for (int n = 2; n <= 9; ++n)
            animation->Advance();
        animation->Advance();
        QCOMPARE(View()->IconNumber(), 9);
        QVERIFY(!animation->Playing());

        // The S16 Tool plays its file's icons the same way.
        CShpTool* tool = S16ToolOnAUnit();
        tool->Animation()->Play();
        tool->Animation()->Advance();
        QCOMPARE(tool->IconNumber(), 2);
        tool->Animation()->Stop();
        QVERIFY(!tool->Animation()->Playing());
    }

    void dragAndDropExtractsAddsAndReplaces() {
        DatArchive& archive = app_->doc.Archive();
        // Dragged out: the items as files, offered by their URLs.
        std::unique_ptr<QMimeData> out(View()->DragOutItems({0, 3}));
        QVERIFY(out != nullptr);
        QCOMPARE(out->urls().size(), 2);
        const std::string unit4 = out->urls().at(1).toLocalFile().toStdString();
        QCOMPARE(fs::path(unit4).filename().string(), std::string("UNIT04.S16"));
        QCOMPARE(static_cast<std::int64_t>(fs::file_size(unit4)), archive.Entry(3).size);

        // Dropped in: a new name is added, an existing one replaced after asking.
        fs::create_directory(Sample("drop"));
        const std::string added = Sample("drop/NEWONE.S16");
        const std::string replacing = Sample("drop/UNIT02.S16");
        fs::copy_file(unit4, added);
        fs::copy_file(unit4, replacing);
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(added)),
                         QUrl::fromLocalFile(QString::fromStdString(replacing)),
                         QUrl::fromLocalFile(QString::fromStdString(Sample("tank.bmp")))});
        app_->ui.yesNoAnswers.push_back(true);
        QWidget* list = View()->ItemList()->viewport();
        const QPoint at = list->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list, &drop);
        QVERIFY(drop.isAccepted());
        // The drop returns before anything is asked or written.
        QVERIFY(app_->ui.questions.empty());
        QCOMPARE(ItemCount(), 25);
        QCoreApplication::processEvents();
        QCOMPARE(ItemCount(), 26);
        QVERIFY(archive.FindItem("NEWONE.S16") >= 0);
        QCOMPARE(archive.Entry(archive.FindItem("UNIT02.S16")).size,
                 static_cast<std::int64_t>(fs::file_size(unit4)));
        QCOMPARE(app_->ui.questions.size(), std::size_t{1});
        QCOMPARE(frame_->UndoAction()->text(), QString("Undo Add NEWONE.S16"));

        // Pictures dropped onto the S16 Tool become its file's last icons.
        CShpTool* tool = S16ToolOnAUnit();
        std::string picture;
        for (const auto& entry : fs::directory_iterator(Sample("")))
            if (entry.path().extension() == ".bmp") picture = entry.path().string();
        QVERIFY(!picture.empty());
        QMimeData pictures;
        pictures.setUrls({QUrl::fromLocalFile(QString::fromStdString(picture))});
        QDragEnterEvent pictureEnter(tool->rect().center(), Qt::CopyAction, &pictures,
                                     Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tool, &pictureEnter);
        QVERIFY(pictureEnter.isAccepted());
        QDropEvent pictureDrop(tool->rect().center(), Qt::CopyAction, &pictures, Qt::LeftButton,
                               Qt::NoModifier);
        QApplication::sendEvent(tool, &pictureDrop);
        QVERIFY(pictureDrop.isAccepted());
        QCOMPARE(tool->Icons()->count(), 9);
        QCoreApplication::processEvents();
        QCOMPARE(tool->Icons()->count(), 10);
        QCOMPARE(frame_->UndoAction()->text(), QString("Undo Append icon"));
    }

    void droppingManyKnownNamesAsksOnceForAll() {
        // A folder of items unpacked, edited and dropped back: one question, not one per file.
        const std::string out = Sample("back/");
        fs::create_directory(out);
        QStringList dropped;
        for (const char* name : {"UNIT03.S16", "UNIT04.S16", "UNIT05.S16"}) {
            QVERIFY(
                app_->doc.Archive().ExtractItem(app_->doc.Archive().FindItem(name), out + name));
            dropped << QString::fromStdString(out + name);
        }
        app_->ui.repeatedAnswers.push_back(RepeatedAnswer::kYesToAll);
        View()->DropFiles(dropped);
        QCOMPARE(app_->ui.questions.size(), std::size_t{1});
        QCOMPARE(frame_->UndoAction()->text(), QString("Undo Replace 3 items"));
        QCOMPARE(ItemCount(), 25);

        // No to All leaves every item as it is and writes nothing.
        app_->ui.repeatedAnswers.push_back(RepeatedAnswer::kNoToAll);
        const Bytes before = ReadFileBytes(Sample("KELPAR.dat"));
        View()->DropFiles(dropped);
        QCOMPARE(app_->ui.questions.size(), std::size_t{2});
        QCOMPARE(ReadFileBytes(Sample("KELPAR.dat")), before);
    }

    void questionDuringLongWorkCanBeAnswered() {
        QtProgress progress(frame_);
        progress.Show();
        QVERIFY(progress.Dialog() != nullptr);
        // Asked before the progress dialog's delay ran out ("Yes to All" about
        // a file already there) ...
        QMessageBox box(QMessageBox::Question, "Question", "Replace it?",
                        QMessageBox::YesToAll | QMessageBox::NoToAll, frame_);
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        // ... the dialog no longer waits to show itself on top of the question.
        for (const QTimer* timer : progress.Dialog()->findChildren<QTimer*>())
            QVERIFY(!timer->isActive());
        QVERIFY(!progress.Dialog()->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), &box);
        QTest::mouseClick(box.button(QMessageBox::NoToAll), Qt::LeftButton);
        QCOMPARE(box.result(), int(QMessageBox::NoToAll));
        QVERIFY(!progress.Cancelled());
        progress.Hide();
    }

    void cancelledUnpackTellsWhatWasWritten() {
        const std::string out = Sample("part/");
        fs::create_directory(out);
        StoppingProgress progress(5);
        const ItemWriteResult result = app_->doc.Archive().UnpackAll(out, progress);
        QVERIFY(result.cancelled && !result.Complete());
        QCOMPARE(result.written, 5);
        QCOMPARE(NamesIn(out).size(), 5);
        QCOMPARE(QString::fromStdString(app_->ui.LastText()),
                 QString("Cancelled: 5 of 25 items were written"));
    }

    void repackStartsBesideTheOpenArchive() {
        const std::string elsewhere = Sample("elsewhere/");
        fs::create_directory(elsewhere);
        app_->doc.Settings().s16Folder = elsewhere;
        frame_->Action(kCmdRepack)->trigger();  // no file chosen
        QCOMPARE(app_->ui.fileChoices.back().initialPath, Sample("*.dat"));
    }
};

QTEST_MAIN(WindowFeaturesTest)
#include "WindowFeaturesTest.moc"
