// The real window, driven offscreen: the DAT Tool on the sample archive.
#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QThreadPool>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <random>

#include "AppFixture.h"
#include "OrdinaryUser.h"
#include "app/CommandIds.h"
#include "app/IconPanel.h"
#include "app/ItemListModel.h"
#include "app/PictureArea.h"
#include "app/TextWindow.h"
#include "app/ToolIcons.h"
#include "sprite/IconRenderer.h"
#include "sprite/S16Format.h"
#include "support/Messages.h"

namespace {

QColor Colour(ColorValue c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// Qt's painting threads must be still when the process forks.
std::string AsOrdinaryUserOfQt(const std::function<std::string()>& body) {
    return AsOrdinaryUser(body, [] { QThreadPool::globalInstance()->waitForDone(); });
}

Bytes RandomBytes(std::size_t count) {
    std::mt19937 generator(20070601);
    Bytes bytes(count);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(generator());
    return bytes;
}

// Whether every icon of the archive's current item decodes.
bool AllIconsDecode(DatArchive& archive) {
    const int count = archive.IconCount();
    for (int n = 1; n <= count; ++n) {
        if (archive.SelectIcon(n) != n || archive.DecodeIcon() <= 0) return false;
    }
    return count > 0;
}

// The archive's directory, one line per item.
QStringList Directory(const DatArchive& archive) {
    QStringList lines;
    for (const DatEntry& e : archive.Entries())
        lines << QString::fromStdString(FormatText("%s %u %lld %d", e.Name().c_str(), e.offset,
                                                   static_cast<long long>(e.size), e.icons));
    return lines;
}

// The directory a fresh open of `path` reads.
QStringList DirectoryOnDisk(const std::string& path) {
    DatArchive fresh;
    return fresh.OpenArchive(path) ? Directory(fresh) : QStringList{"not opened"};
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> window_;
    AppFixture* app_ = nullptr;
    CMainFrame* frame_ = nullptr;

    std::string Sample(const std::string& name) const { return app_->At(name); }
    CShpView* View() const { return window_->View(); }
    QColor PixelAt(int x, int y) const {
        const Rect area = View()->Picture()->Area();
        return View()->Picture()->Picture().pixelColor(area.left + x, area.top + y);
    }
    CShpTool* S16ToolOnSamples() { return window_->S16ToolOnSamples(); }
    QStringList DirectoryShown() const { return Directory(app_->doc.Archive()); }
    // The picture holds no icon: nothing but the background and the frame.
    bool PictureIsBlank() const {
        const QImage& picture = View()->Picture()->Picture();
        const QColor background = picture.pixelColor(picture.width() / 2, picture.height() / 2);
        for (int y = 8; y < 120; ++y) {
            for (int x = 8; x < 120; ++x) {
                if (PixelAt(x, y) != background) return false;
            }
        }
        return background != Colour(s16::kKeyColor);
    }
    // The item list as a user sees it and moves in it.
    int ListCount() const { return View()->ItemList()->model()->rowCount(); }
    QString RowText(int row) const {
        return View()->ItemList()->model()->index(row, 0).data().toString();
    }
    int CurrentRow() const { return View()->ItemList()->currentIndex().row(); }
    QString SelectedText() const { return View()->ItemList()->currentIndex().data().toString(); }
    void SetCurrentRow(int row) {
        View()->ItemList()->setCurrentIndex(View()->ItemList()->model()->index(row, 0));
    }
    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < ListCount(); ++i)
            rows << RowText(i);
        return rows;
    }

private slots:
    void init() {
        window_ = std::make_unique<WindowFixture>(true);
        app_ = &window_->app;
        frame_ = &window_->frame;
        QVERIFY(window_->opened);
    }

    void cleanup() { window_.reset(); }

    void showsTheFirstUnitAsACollage() {
        QCOMPARE(ListCount(), 25);
        QCOMPARE(RowText(0), QString("UNIT01.S16  (9)"));
        QCOMPARE(CurrentRow(), 0);
        QCOMPARE(View()->ItemsText()->text(), QString("25 / 25 "));
        QCOMPARE(View()->IconText()->text(), QString("Shown: 1-9 / 9 icons"));
        QCOMPARE(View()->FieldText(4), QString("32"));  // TWidth
        QVERIFY(frame_->windowTitle().startsWith("Varnok DurOrer 1.3 Jun 2007 * "));
        QVERIFY(frame_->Toolbar(CMainFrame::kDatTool)->isVisible());
        QVERIFY(!frame_->Toolbar(CMainFrame::kS16Tool)->isVisible());
        // Cells of 32 x 32 with one-pixel gaps, three to a row.
        QCOMPARE(PixelAt(1, 1), Colour(s16::kKeyColor));
        QCOMPARE(PixelAt(33, 1), Colour(kSilver));
        QCOMPARE(PixelAt(34, 1), Colour(s16::kKeyColor));
        QCOMPARE(PixelAt(67, 67), Colour(s16::kKeyColor));
        QCOMPARE(PixelAt(100, 1), Colour(kSilver));      // no fourth icon in the row
        QCOMPARE(PixelAt(17, 17), QColor(200, 40, 40));  // the unit's body
    }

    void filtersTheList() {
        View()->FilterText()->setText("$03");
        View()->FillList(0);
        QCOMPARE(Rows(), (QStringList{"UNIT03.S16  (9)", "WIDGET03.S16  (1)"}));
        QCOMPARE(View()->ItemsText()->text(), QString("2 / 25 "));
        View()->FilterText()->setText("");
        frame_->Action(kCmdShowUnits)->trigger();
        QCOMPARE(ListCount(), 12);
        QVERIFY(frame_->Action(kCmdShowUnits)->isChecked());
        QVERIFY(!frame_->Action(kCmdShowUnits)->isEnabled());
        frame_->Action(kCmdShowInterface)->trigger();
        QCOMPARE(ListCount(), 13);  // the text item too
        SetCurrentRow(0);
        QCOMPARE(SelectedText(), QString("VERSION.TXT  (0)"));
        QCOMPARE(View()->FieldText(0), QString("0"));
    }

    void pagesZoomsAndMirrors() {
        QVERIFY(!frame_->Action(kCmdZoom2)->isEnabled());  // no zoom in collage display
        frame_->Action(kCmdCollage)->trigger();
        QVERIFY(!View()->Collage());
        QVERIFY(frame_->Action(kCmdZoom2)->isEnabled());
        QCOMPARE(View()->IconText()->text(), QString("Current: 1 / 9 icons"));
        frame_->Action(kCmdZoom2)->trigger();
        QCOMPARE(View()->Zoom(), 2);
        QVERIFY(frame_->Action(kCmdZoom2)->isChecked());
        // Icon 1 faces east: its pointer is on the right, and on the left when mirrored.
        frame_->Action(kCmdZoom1)->trigger();
        const QColor right = PixelAt(28, 15);
        QCOMPARE(right, QColor(240, 220, 40));
        frame_->Action(kCmdMirror)->trigger();
        QVERIFY(View()->Mirror());
        QCOMPARE(PixelAt(31 - 28, 15), right);
        frame_->Action(kCmdCollage)->trigger();
        QCOMPARE(View()->Zoom(), 1);
    }

    // A text item or a filter that matches nothing leaves none of the last
    // item's icons, counter or fields on screen, and the icon commands idle.
    void anItemWithoutIconsShowsNothingOfTheLastOne() {
        SetCurrentRow(11);  // UNIT12, nine icons drawn
        QVERIFY(!PictureIsBlank());
        SetCurrentRow(12);
        QCOMPARE(SelectedText(), QString("VERSION.TXT  (0)"));
        QVERIFY(PictureIsBlank());
        QCOMPARE(View()->IconText()->text(), QString("Icon"));
        QCOMPARE(View()->Panel()->ReservedText(), QString());
        QCOMPARE(View()->FieldText(4), QString("0"));
        SetCurrentRow(13);  // WIDGET01
        QCOMPARE(View()->IconText()->text(), QString("Shown: 1-1 / 1 icons"));
        QVERIFY(!PictureIsBlank());

        View()->FilterText()->setText("$ZZ");
        View()->FillList(0);
        QVERIFY(Rows().isEmpty());
        QCOMPARE(View()->ItemsText()->text(), QString("0 / 25 "));
        QVERIFY(PictureIsBlank());
        View()->NextIcon();
        View()->NextPage();
        frame_->Action(kCmdCollage)->trigger();
        frame_->Action(kCmdSaveIcon)->trigger();
        QVERIFY(app_->ui.fileChoices.empty());
        QCOMPARE(View()->IconText()->text(), QString("Icon"));
        QVERIFY(PictureIsBlank());
    }

    void aFileThatIsNoArchiveClearsTheViewAndIsNotRemembered() {
        SetCurrentRow(1);  // UNIT02: nine icons drawn
        QVERIFY(!PictureIsBlank());
        const std::string good = Sample("KELPAR.dat");
        const std::vector<std::string> recent = app_->doc.Recent().Paths();
        WriteFileBytes(Sample("noise.dat"), RandomBytes(3000));
        WriteFileBytes(Sample("empty.dat"), {});

        // Once through the view's Open, once through the document (recent list, drop).
        app_->ui.fileAnswers.push_back(Sample("noise.dat"));
        frame_->Action(kCmdOpen)->trigger();
        QCOMPARE(app_->ui.LastText(),
                 "[" + Sample("noise.dat") + "] is not a DAT archive or is damaged");
        QVERIFY(!app_->doc.OpenDocument(Sample("empty.dat")));
        QCOMPARE(app_->ui.Errors().size(), std::size_t{2});
        QCOMPARE(app_->ui.LastText(),
                 "[" + Sample("empty.dat") + "] is not a DAT archive or is damaged");

        QVERIFY(Rows().isEmpty());
        QCOMPARE(View()->CurrentItem(), -1);
        QCOMPARE(View()->ItemsText()->text(), QString("Icons"));
        QCOMPARE(View()->IconText()->text(), QString("Icon"));
        for (int field = 0; field < 8; ++field)
            QCOMPARE(View()->FieldText(field), QString("0"));
        QVERIFY(PictureIsBlank());
        QCOMPARE(app_->doc.Settings().last, good);
        QCOMPARE(app_->doc.Recent().Paths(), recent);
        QVERIFY(frame_->windowTitle().endsWith("KELPAR.dat"));
        QVERIFY(!frame_->Action(kCmdExtract)->isEnabled());
        QVERIFY(!frame_->Action(kCmdRemove)->isEnabled());

        // Nothing of the old archive comes back through the controls or a resize.
        View()->NextIcon();
        View()->NextPage();
        frame_->Action(kCmdCollage)->trigger();
        frame_->Action(kCmdMirror)->trigger();
        frame_->resize(1100, 760);
        QCoreApplication::processEvents();
        QVERIFY(PictureIsBlank());
        QCOMPARE(View()->IconText()->text(), QString("Icon"));

        // The good archive opens again as before; named as on a command line,
        // relative to the current folder, it is remembered by its full path.
        frame_->Action(kCmdCollage)->trigger();
        frame_->Action(kCmdMirror)->trigger();
        const QString folder = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(app_->dir.Path()));
        const bool reopened = app_->doc.OpenDocument("KELPAR.dat");
        QDir::setCurrent(folder);
        QVERIFY(reopened);
        QCOMPARE(app_->doc.Settings().last, good);
        QCOMPARE(app_->doc.Recent().Paths().front(), good);
        QCOMPARE(app_->doc.Archive().ArchivePath(), good);
        QCOMPARE(ListCount(), 25);
        QCOMPARE(View()->IconText()->text(), QString("Shown: 1-9 / 9 icons"));
        QCOMPARE(PixelAt(17, 17), QColor(200, 40, 40));
    }

    void rewritesKeepTheListTheCountsAndTheSelection() {
        const std::string path = Sample("KELPAR.dat");
        auto selected = [this] { return SelectedText(); };
        auto checkShown = [&](int items, int row, const QString& text, int icons) {
            QCOMPARE(ListCount(), items);
            QCOMPARE(View()->ItemsText()->text(), QString("%1 / %1 ").arg(items));
            QCOMPARE(CurrentRow(), row);
            QCOMPARE(selected(), text);
            QCOMPARE(View()->IconText()->text(), QString("Shown: 1-%1 / %1 icons").arg(icons));
            QCOMPARE(DirectoryShown(), DirectoryOnDisk(path));
            QVERIFY(!PictureIsBlank());
            QVERIFY(AllIconsDecode(app_->doc.Archive()));
        };

        // Removing row 2 (UNIT03) selects the item that takes its row.
        SetCurrentRow(2);
        frame_->Action(kCmdRemove)->trigger();
        checkShown(24, 2, "UNIT04.S16  (9)", 9);
        QCOMPARE(app_->ui.LastText(), std::string("\nUNIT03.S16 \t removed  \n"));
        QVERIFY(!Rows().contains("UNIT03.S16  (9)"));
        QVERIFY(FileExists(Sample("KELPAR_back.dat")));

        // Adding keeps the row, where the two new items, sorted first, push UNIT01.
        app_->ui.multiFileAnswers.push_back({Sample("tank.s16"), Sample("panel.s16")});
        frame_->Action(kCmdAdd)->trigger();
        checkShown(26, 2, "UNIT01.S16  (9)", 9);
        QCOMPARE(app_->ui.fileChoices.back().title, std::string("Select S16 file to add"));
        QCOMPARE(Rows().mid(0, 2), (QStringList{"PANEL.S16  (1)", "TANK.S16  (9)"}));

        // Replacing the selected item with a one-icon file of its name.
        std::filesystem::create_directories(Sample("new"));
        std::filesystem::copy_file(Sample("panel.s16"), Sample("new/UNIT01.S16"));
        app_->ui.fileAnswers.push_back(Sample("new/UNIT01.S16"));
        frame_->Action(kCmdReplace)->trigger();
        checkShown(26, 2, "UNIT01.S16  (1)", 1);
        QCOMPARE(app_->doc.Settings().s16Folder, Sample("new/"));
        // A file of another name replaces nothing.
        app_->ui.fileAnswers.push_back(Sample("tank.s16"));
        frame_->Action(kCmdReplace)->trigger();
        QCOMPARE(app_->ui.LastText(), std::string("\n   You must pick a same name S16 file for "
                                                  "replacement !   \nUse Add option instead"));
        checkShown(26, 2, "UNIT01.S16  (1)", 1);

        // Under a filter the row is the filtered list's.
        View()->FilterText()->setText("$0");
        View()->FillList(1);
        const QString second = selected();
        frame_->Action(kCmdRemove)->trigger();
        QCOMPARE(CurrentRow(), 1);
        QVERIFY(selected() != second);
        QCOMPARE(DirectoryShown(), DirectoryOnDisk(path));
        QCOMPARE(View()->ItemsText()->text(), QString("%1 / 25 ").arg(ListCount()));
    }

    void aReadOnlyArchiveIsShownAndItsRewritesAreRefused() {
        namespace fs = std::filesystem;
        const std::string path = Sample("KELPAR.dat");
        fs::permissions(app_->dir.Path(), fs::perms::owner_all | fs::perms::group_read |
                                              fs::perms::group_exec | fs::perms::others_read |
                                              fs::perms::others_exec);
        fs::permissions(path,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        fs::create_directories(Sample("new"));
        fs::copy_file(Sample("panel.s16"), Sample("new/UNIT02.S16"));
        fs::create_directory(Sample("out"));
        fs::permissions(Sample("out"), fs::perms::all);
        const Bytes before = ReadFileBytes(path);

        // What the window shows after each step, one line each.
        const std::string seen = AsOrdinaryUserOfQt([&] {
            std::string lines;
            auto note = [&](const std::string& step) {
                lines += FormatText("%s: %s | %d rows, row %d, %s | %s | %s\n", step.c_str(),
                                    app_->ui.LastText().c_str(), ListCount(), CurrentRow(),
                                    CurrentRow() >= 0 ? qPrintable(SelectedText()) : "none",
                                    qPrintable(View()->IconText()->text()),
                                    PictureIsBlank() ? "blank" : "drawn");
            };
            const bool opened = app_->doc.OpenDocument(path);
            lines +=
                FormatText("opened %d, read-only %d\n", opened, app_->doc.Archive().IsReadOnly());
            SetCurrentRow(1);
            note("open");
            frame_->Action(kCmdRemove)->trigger();
            note("remove");
            app_->ui.multiFileAnswers.push_back({Sample("tank.s16")});
            frame_->Action(kCmdAdd)->trigger();
            note("add");
            app_->ui.fileAnswers.push_back(Sample("new/UNIT02.S16"));
            frame_->Action(kCmdReplace)->trigger();
            note("replace");
            app_->ui.fileAnswers.push_back(Sample("out/unit02.s16"));
            frame_->Action(kCmdExtract)->trigger();
            note("extract");
            return lines;
        });

        const std::string refused = "[" + path + "] is read-only: nothing was changed";
        const std::string shown =
            " | 25 rows, row 1, UNIT02.S16  (9) | Shown: 1-9 / 9 icons | drawn\n";
        const std::string expected = "opened 1, read-only 1\nopen: " + shown +
                                     "remove: " + refused + shown + "add: " + refused + shown +
                                     "replace: " + refused + shown + "extract: \n" +
                                     Sample("out/unit02.s16") + " \t saved to disk  \n" + shown;
        QCOMPARE(QString::fromStdString(seen), QString::fromStdString(expected));
        QVERIFY(ReadFileBytes(path) == before);
        QVERIFY(!FileExists(Sample("KELPAR_back.dat")));
        QVERIFY(FileExists(Sample("out/unit02.s16")));
    }

    void extractsAndReports() {
        app_->ui.fileAnswers.push_back(Sample("out.s16"));
        frame_->Action(kCmdExtract)->trigger();
        QCOMPARE(app_->ui.fileChoices.back().title, std::string("Select extract file name"));
        QVERIFY(FileExists(Sample("out.s16")));
        app_->ui.fileAnswers.push_back(Sample("report.txt"));
        frame_->Action(kCmdReportItems)->trigger();
        QVERIFY(ReadFileText(Sample("report.txt")).rfind("*** KELPAR.dat\n*** 25 items\n", 0) == 0);
        QCOMPARE(app_->ui.opened.back(), Sample("report.txt"));
    }

    // The filtered items go to one folder chosen once; an unpack over files
    // that are in the way asks once and tells its failures in one summary.
    void extractsAndUnpacksWithOneQuestionAndOneSummary() {
        namespace fs = std::filesystem;
        View()->FilterText()->setText("$0");
        View()->FillList(0);
        fs::create_directories(Sample("out"));
        app_->ui.folderAnswers.push_back(Sample("out/"));
        frame_->Action(kCmdExtractFiltered)->trigger();
        QVERIFY(app_->ui.fileChoices.empty());
        for (int index : View()->Items()->Items())
            QVERIFY(FileExists(Sample("out/" + app_->doc.Archive().Entry(index).Name())));
        QCOMPARE(app_->ui.Texts(),
                 std::vector<std::string>{FormatText("\n%d items saved to  \n  %s", ListCount(),
                                                     Sample("out/").c_str())});

        // Every name is taken by a folder: "Yes to All" replaces none of them.
        const int items = app_->doc.Archive().ItemCount();
        for (const DatEntry& entry : app_->doc.Archive().Entries())
            fs::create_directories(Sample("full/" + entry.Name() + "/keep"));
        app_->ui.Clear();
        app_->ui.folderAnswers.push_back(Sample("full/"));
        app_->ui.repeatedAnswers = {RepeatedAnswer::kYesToAll};
        frame_->Action(kCmdUnpack)->trigger();
        QCOMPARE(app_->ui.questions.size(), std::size_t{1});
        QVERIFY(app_->ui.messages.empty());
        TextWindow* summary = ShownTextWindow();
        QVERIFY(summary);
        const QStringList lines = summary->Text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(
            lines.front().toStdString(),
            FormatText("0 items written to [%s], %d not written:", Sample("full/").c_str(), items));
        QCOMPARE(lines.size(), items + 1);
        QVERIFY(lines.back().startsWith("Error on replacing ["));
        summary->close();
    }

    // Zoom, collage, mirror and paging work from the keyboard; the Tools
    // menu marks the tool shown.
    void keysPageZoomAndMirrorAndTheToolIsMarked() {
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_));
        QVERIFY(frame_->Action(kCmdDatTool)->isChecked());
        QVERIFY(!frame_->Action(kCmdS16Tool)->isChecked());
        QTest::keyClick(frame_, Qt::Key_Down, Qt::AltModifier);
        QTest::keyClick(frame_, Qt::Key_Down, Qt::AltModifier);
        QTest::keyClick(frame_, Qt::Key_Up, Qt::AltModifier);
        QCOMPARE(SelectedText(), QString("UNIT02.S16  (9)"));
        QTest::keyClick(frame_, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(!View()->Collage());
        QTest::keyClick(frame_, Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(View()->IconNumber(), 2);
        QTest::keyClick(frame_, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(View()->IconNumber(), 1);
        QTest::keyClick(frame_, Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(View()->Zoom(), 3);
        QTest::keyClick(frame_, Qt::Key_M, Qt::ControlModifier);
        QVERIFY(View()->Mirror());
        frame_->Action(kCmdS16Tool)->trigger();
        QVERIFY(frame_->Action(kCmdS16Tool)->isChecked());
        QVERIFY(!frame_->Action(kCmdDatTool)->isChecked());
    }

    // The window fits an 800 x 600 screen with either tool; its first size
    // comes from the screen.
    void fitsASmallScreen() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        CMainFrame fresh(app_->doc);
        QVERIFY(fresh.width() <= screen.width() && fresh.height() <= screen.height());
        for (int tool : {CMainFrame::kS16Tool, CMainFrame::kDatTool}) {
            frame_->SwitchTool(tool);
            QCoreApplication::processEvents();
            QVERIFY(frame_->minimumSizeHint().width() <= 780);
            QVERIFY(frame_->minimumSizeHint().height() <= 560);
        }
    }

    // At any scale of the screen (this test also runs at 200 %) each icon
    // pixel is a square of whole device pixels, drawn without smoothing.
    void picturesAreSharpAtTheScreensScale() {
        PictureArea* area = View()->Picture();
        const qreal ratio = area->devicePixelRatioF();
        const int k = area->Scale();
        QCOMPARE(k, std::max(1, static_cast<int>(ratio)));
        QCOMPARE(area->Picture().size(), (QSizeF(area->size()) * ratio).toSize());
        const Rect r = area->Area();
        const std::tuple<int, int, QColor> pixels[] = {{17, 17, QColor(200, 40, 40)},
                                                       {33, 1, Colour(kSilver)},
                                                       {1, 1, Colour(s16::kKeyColor)}};
        for (const auto& [x, y, colour] : pixels) {
            for (int dy = 0; dy < k; ++dy) {
                for (int dx = 0; dx < k; ++dx)
                    QCOMPARE(
                        area->Picture().pixelColor((r.left + x) * k + dx, (r.top + y) * k + dy),
                        colour);
            }
        }
    }

    void switchesToolsCreatingEachViewOnce() {
        ToolView* dat = frame_->View(CMainFrame::kDatTool);
        frame_->Action(kCmdS16Tool)->trigger();
        QCOMPARE(frame_->CurrentTool(), int(CMainFrame::kS16Tool));
        QCOMPARE(frame_->windowTitle(), QString("Varnok DurOrer 1.3 Jun 2007"));
        frame_->Action(kCmdDatTool)->trigger();
        frame_->Action(kCmdDatTool)->trigger();
        QCOMPARE(frame_->View(CMainFrame::kDatTool), dat);
        // Every command has a picture that is sharp at twice the size, and a
        // disabled one that looks different.
        for (QToolBar* bar :
             {frame_->Toolbar(CMainFrame::kDatTool), frame_->Toolbar(CMainFrame::kS16Tool)}) {
            for (QAction* action : bar->actions()) {
                if (action->isSeparator()) continue;
                QVERIFY2(!action->icon().pixmap(48, 48).isNull(), qPrintable(action->text()));
            }
        }
        const QIcon collage = ToolIcon(kCmdCollage);
        QVERIFY(collage.pixmap(24, 24, QIcon::Normal).toImage() !=
                collage.pixmap(24, 24, QIcon::Disabled).toImage());
    }

    void commandsNeedAnOpenArchive() {
        app_->doc.Archive().CloseArchive();
        frame_->UpdateCommandStates();
        QVERIFY(frame_->Action(kCmdOpen)->isEnabled());
        QVERIFY(frame_->Action(kCmdRepack)->isEnabled());
        QVERIFY(!frame_->Action(kCmdExtract)->isEnabled());
        QVERIFY(!frame_->Action(kCmdCompare)->isEnabled());
    }

    void aboutBoxTellsTheKeyColour() {
        QString texts;
        QTimer::singleShot(0, [&texts] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!box) return;
            for (const QLabel* label : box->findChildren<QLabel*>())
                texts += label->text() + "\n";
            box->accept();
        });
        frame_->Action(kCmdAbout)->trigger();
        QVERIFY(texts.contains("RGB ( 248, 220, 220 ) (or 0x00F8DCDC)"));
    }

    void s16ToolListsAndEditsFiles() {
        CShpTool* tool = S16ToolOnSamples();
        QCOMPARE(tool->Files()->count(), 2);
        QCOMPARE(tool->Files()->item(0)->text(), QString("panel.s16"));
        QCOMPARE(tool->Icons()->count(), 1);
        QVERIFY(tool->Icons()->item(0)->text().startsWith("Icon #1 ("));
        QVERIFY(tool->Status()->text().startsWith("Pix0 is RGB("));
        tool->Files()->setCurrentRow(1);
        QCOMPARE(tool->Icons()->count(), 9);
        tool->Icons()->setCurrentRow(8);
        QCOMPARE(tool->IconNumber(), 9);

        app_->ui.fileAnswers.push_back(Sample("soldier.bmp"));
        tool->InsertIcon(true);
        QCOMPARE(tool->Icons()->count(), 10);
        QCOMPARE(tool->Icons()->currentRow(), 8);  // icon 9 stays selected
        QVERIFY(FileExists(Sample("tank.back")));

        app_->ui.yesNoAnswers.push_back(false);
        tool->Icons()->setCurrentRow(0);
        tool->RemoveSelectedIcon();
        QCOMPARE(tool->Icons()->count(), 10);  // not confirmed: nothing removed
        app_->ui.yesNoAnswers.push_back(true);
        tool->RemoveSelectedIcon();
        QCOMPARE(tool->Icons()->count(), 9);

        app_->ui.fileAnswers.push_back(Sample("tank.shp"));
        tool->SaveAsShp();
        QCOMPARE(app_->ui.LastText(), "\n   " + Sample("tank.shp") + "\n  succesfuly created  \n");

        // A folder without S16 files leaves nothing of the last file shown.
        QVERIFY(tool->Panel()->FieldText(0) != "0");
        std::filesystem::create_directories(Sample("empty"));
        app_->ui.folderAnswers.push_back(Sample("empty/"));
        tool->ChooseFolder();
        QCOMPARE(tool->Files()->count(), 0);
        QCOMPARE(tool->Icons()->count(), 0);
        for (int field = 0; field < 8; ++field)
            QCOMPARE(tool->Panel()->FieldText(field), QString("0"));
        QVERIFY(!frame_->Action(kCmdSaveIcon)->isEnabled());
    }

    // The S16 Tool's mode row and the toolbar are one state.
    void s16ToolModeRowAndCommandsAgree() {
        CShpTool* tool = S16ToolOnSamples();
        tool->Files()->setCurrentRow(1);  // tank.s16
        QRadioButton* icon = nullptr;
        for (QRadioButton* button : tool->findChildren<QRadioButton*>())
            if (button->text() == "Icon") icon = button;
        QVERIFY(icon);
        QVERIFY(frame_->Action(kCmdCollage)->isChecked());
        QVERIFY(!frame_->Action(kCmdZoom2)->isEnabled());
        icon->click();
        QVERIFY(!frame_->Action(kCmdCollage)->isChecked());
        QVERIFY(frame_->Action(kCmdZoom2)->isEnabled());
        QVERIFY(!frame_->Action(kCmdZoom1)->isChecked());  // drawn as x1, no zoom chosen yet
        frame_->Action(kCmdZoom2)->trigger();
        QVERIFY(frame_->Action(kCmdZoom2)->isChecked());
        frame_->Action(kCmdCollage)->trigger();
        QVERIFY(!icon->isChecked());
        QVERIFY(frame_->Action(kCmdCollage)->isChecked());
        QVERIFY(tool->Status()->text().startsWith("Pix0 is RGB("));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
