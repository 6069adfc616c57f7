// The icon panel on its own, offscreen, in the two styles the tool views
// use: zoom, collage paging, mirror, the counter and fields, and the names
// proposed for saved bitmaps.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "AppFixture.h"
#include "S16Files.h"
#include "app/AppSettings.h"
#include "app/CommandIds.h"
#include "app/IconPanel.h"
#include "app/PictureArea.h"
#include "app/TextWindow.h"
#include "sprite/IconRenderer.h"
#include "sprite/S16Format.h"
#include "sprite/S16Image.h"

namespace {

constexpr int kIcons = 100;  // more than a page of the collage
constexpr int kWidth = 60;
constexpr int kHeight = 50;
constexpr int kBorder = 2;  // key-coloured rows and columns at the top and left
const QColor kRed(248, 0, 0);
const QColor kBlue(0, 0, 248);

// Each icon: a key-coloured border at the top and left (so the stored area
// is smaller than the icon), red on its left half, blue on its right half.
ColorValue StripColor(int, int x, int y) {
    if (x < kBorder || y < kBorder) return s16::kKeyColor;
    return x < kWidth / 2 ? MakeColor(248, 0, 0) : MakeColor(0, 0, 248);
}

std::string Base() {
    return "strip";
}

}  // namespace

class IconPanelTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppFixture> app_;
    std::unique_ptr<S16Image> image_;
    AppSettings settings_;
    bool shown_ = true;
    std::unique_ptr<IconPanel> panel_;

    std::string At(const std::string& name) const { return app_->At(name); }

    void Make(const IconPanelStyle& style) {
        panel_.reset();
        panel_ = std::make_unique<IconPanel>(
            IconPanelSprite{*image_, [this] { return shown_; }, Base}, settings_, style);
        panel_->resize(420, 420);
        panel_->show();
        QCoreApplication::processEvents();
        panel_->ShowIcon(1);
    }
    CommandState State(int command) const { return panel_->StateOf(command, {false, true}); }
    QColor PixelAt(int x, int y) const {
        const Rect area = panel_->Picture()->Area();
        return panel_->Picture()->Picture().pixelColor(area.left + x, area.top + y);
    }
    // Neither half of an icon is on screen where the first icon would be.
    bool PictureIsBlank() const {
        for (const auto& [x, y] : {std::pair{10, 20}, std::pair{50, 20}, std::pair{1, 1}}) {
            const QColor c = PixelAt(x, y);
            if (c == kRed || c == kBlue || c == QColor(248, 220, 220)) return false;
        }
        return true;
    }
    template <typename T>
    T* Child(const QString& text) const {
        for (T* child : panel_->findChildren<T*>()) {
            if (child->text() == text) return child;
        }
        return nullptr;
    }

private slots:
    void init() {
        app_ = std::make_unique<AppFixture>();
        WriteFileBytes(At("strip.s16"), CodedS16(kIcons, kWidth, kHeight, StripColor));
        image_ = std::make_unique<S16Image>();
        QVERIFY(image_->OpenFile(At("strip.s16")));
        settings_ = AppSettings();
        settings_.bmpFolder = app_->dir.Path();
        shown_ = true;
    }

    void cleanup() {
        panel_.reset();
        image_.reset();
        app_.reset();
    }

    void zoomIsOnlyForOneIconAndWithinItsBounds() {
        Make(IconPanelStyle::DatTool());
        for (int command : {kCmdZoom1, kCmdZoom2, kCmdZoom3, kCmdZoom4, kCmdZoom5}) {
            QVERIFY(panel_->Handles(command));
            QVERIFY(!State(command).enabled);  // a collage is never zoomed
            QCOMPARE(State(command).checked, command == kCmdZoom1);
        }
        QVERIFY(State(kCmdCollage).checked);
        // The save commands are enabled as the view's other commands are.
        QCOMPARE(State(kCmdSaveIcon).enabled, false);
        QCOMPARE(State(kCmdSaveAllIcons).checked, true);
        QVERIFY(!panel_->Handles(kCmdOpen));

        panel_->Run(kCmdCollage);
        QVERIFY(!State(kCmdCollage).checked);
        QVERIFY(!State(kCmdZoom1).enabled);
        QVERIFY(State(kCmdZoom1).checked);
        QVERIFY(State(kCmdZoom5).enabled);
        panel_->Run(kCmdZoom3);
        QCOMPARE(panel_->Zoom(), 3);
        QVERIFY(!State(kCmdZoom3).enabled && State(kCmdZoom3).checked);
        QVERIFY(State(kCmdZoom1).enabled && !State(kCmdZoom1).checked);
        // The 60 x 50 icon drawn 180 x 150, blue to its bottom-right corner.
        QCOMPARE(PixelAt(3 * kWidth - 1, 3 * kHeight - 1), kBlue);
        QCOMPARE(PixelAt(3 * kWidth + 1, 10), QColor(192, 192, 192));
        QCOMPARE(PixelAt(10 * 3, 10 * 3), kRed);
        // Back to the collage: the DAT Tool returns to x1, the S16 Tool keeps its zoom.
        panel_->Run(kCmdCollage);
        QCOMPARE(panel_->Zoom(), 1);

        Make(IconPanelStyle::S16Tool());
        QCOMPARE(panel_->Zoom(), 0);
        panel_->Run(kCmdCollage);
        for (int command : {kCmdZoom1, kCmdZoom2, kCmdZoom5}) {
            QVERIFY(State(command).enabled);  // drawn as x1, but no zoom is checked
            QVERIFY(!State(command).checked);
        }
        QCOMPARE(PixelAt(kWidth - 1, kHeight - 1), kBlue);
        QCOMPARE(PixelAt(kWidth + 1, 10), QColor(192, 192, 192));
        panel_->Run(kCmdZoom2);
        panel_->Run(kCmdCollage);
        panel_->Run(kCmdCollage);
        QCOMPARE(panel_->Zoom(), 2);
        QCOMPARE(PixelAt(2 * kWidth - 1, 2 * kHeight - 1), kBlue);
    }

    void pagesThroughTheCollageAndTheIcons() {
        Make(IconPanelStyle::DatTool());
        const int page = panel_->IconsShown();
        QVERIFY2(page > 1 && page < kIcons / 2, qPrintable(QString::number(page)));
        QCOMPARE(panel_->IconText()->text(), QString("Shown: 1-%1 / 100 icons").arg(page));
        QCOMPARE(panel_->IconField()->text(), QString("1"));

        panel_->NextPage();
        QCOMPARE(panel_->IconNumber(), page + 1);
        QCOMPARE(panel_->IconField()->text(), QString::number(page + 1));
        QCOMPARE(
            panel_->IconText()->text(),
            QString("Shown: %1-%2 / 100 icons").arg(page + 1).arg(page + panel_->IconsShown()));
        for (int turns = 0;
             turns < kIcons && !panel_->IconText()->text().endsWith("-100 / 100 icons"); ++turns)
            panel_->NextPage();
        QVERIFY(panel_->IconText()->text().endsWith("-100 / 100 icons"));
        const int last = panel_->IconNumber();
        panel_->NextPage();  // the set's end is shown: no further page, no further icon
        panel_->NextIcon();
        QCOMPARE(panel_->IconNumber(), last);
        panel_->PreviousIcon();
        QCOMPARE(panel_->IconNumber(), last - 1);
        panel_->FirstIcon();
        QCOMPARE(panel_->IconText()->text(), QString("Shown: 1-%1 / 100 icons").arg(page));

        // One icon at a time: stepping stops at both ends, a typed number is clamped.
        panel_->Run(kCmdCollage);
        QCOMPARE(panel_->IconText()->text(), QString("Current: 1 / 100 icons"));
        panel_->PreviousIcon();
        QCOMPARE(panel_->IconNumber(), 1);
        panel_->NextIcon();
        QCOMPARE(panel_->IconText()->text(), QString("Current: 2 / 100 icons"));
        panel_->IconField()->setText("99");
        panel_->NextIcon();
        panel_->NextIcon();
        QCOMPARE(panel_->IconText()->text(), QString("Current: 100 / 100 icons"));
        panel_->IconField()->setText("7");
        panel_->SelectTypedIcon();
        QCOMPARE(panel_->IconNumber(), 7);
        QCOMPARE(image_->CurrentIconNumber(), 7);
        panel_->IconField()->setText("150");
        panel_->SelectTypedIcon();
        QCOMPARE(panel_->IconNumber(), kIcons);
        panel_->FirstIcon();
        panel_->NextPage();  // a page of one icon is the whole set
        QCOMPARE(panel_->IconNumber(), kIcons);

        // The collage goes on from the icon shown.
        panel_->Run(kCmdCollage);
        QCOMPARE(panel_->IconText()->text(), QString("Shown: 100-100 / 100 icons"));
    }

    void mirrorsAndFollowsItsModeRow() {
        Make(IconPanelStyle::S16Tool());
        auto* icon = Child<QRadioButton>("Icon");
        auto* collage = Child<QRadioButton>("Collage");
        auto* mirror = Child<QCheckBox>("Mirror");
        QVERIFY(icon && collage && mirror);
        QVERIFY(collage->isChecked());
        QVERIFY(!Child<QLineEdit>(""));  // neither an icon number field nor a reserved one
        QVERIFY(!panel_->IconText());

        QSignalSpy states(panel_.get(), &IconPanel::StateChanged);
        icon->click();
        QVERIFY(!panel_->Collage());
        QVERIFY(!states.isEmpty());
        QCOMPARE(PixelAt(10, 20), kRed);
        QCOMPARE(PixelAt(50, 20), kBlue);
        panel_->Run(kCmdMirror);
        QVERIFY(mirror->isChecked());
        QVERIFY(State(kCmdMirror).checked);
        QCOMPARE(PixelAt(10, 20), kBlue);
        QCOMPARE(PixelAt(50, 20), kRed);
        mirror->click();
        QVERIFY(!panel_->Mirror());
        QCOMPARE(PixelAt(10, 20), kRed);
        panel_->Run(kCmdCollage);
        QVERIFY(collage->isChecked() && !icon->isChecked());
        // The mirror holds for the collage too.
        mirror->click();
        QCOMPARE(PixelAt(10, 20), kBlue);
    }

    void showsTheFieldsInEachToolsOrder() {
        const S16Icon& r = image_->Icon(1);
        QVERIFY(r.Width != r.TWidth && r.Height != r.THeight);
        Make(IconPanelStyle::DatTool());
        const QStringList record{QString::number(r.Width),  QString::number(r.Height),
                                 QString::number(r.StartX), QString::number(r.StartY),
                                 QString::number(r.TWidth), QString::number(r.THeight),
                                 QString::number(r.Starts), QString::number(r.Bytes)};
        for (int i = 0; i < 8; ++i)
            QCOMPARE(panel_->FieldText(i), record[i]);
        QCOMPARE(panel_->ReservedText(), QString::number(r.Reserved));
        QCOMPARE(panel_->CompressShown(), r.IsRunLength());
        QVERIFY(Child<QLabel>("?"));

        Make(IconPanelStyle::S16Tool());
        QCOMPARE(panel_->FieldText(0), QString::number(r.TWidth));
        QCOMPARE(panel_->FieldText(1), QString::number(r.THeight));
        QCOMPARE(panel_->FieldText(4), QString::number(r.Width));
        QCOMPARE(panel_->FieldText(5), QString::number(r.Height));
        QVERIFY(!Child<QLabel>("?"));
    }

    void savesUnderEachToolsNames() {
        std::filesystem::create_directories(At("out"));
        Make(IconPanelStyle::DatTool());
        app_->ui.fileAnswers.push_back(At("out/page.bmp"));
        panel_->Run(kCmdSaveIcon);
        QCOMPARE(app_->ui.fileChoices.back().initialPath, At("strip_all.bmp"));
        QCOMPARE(app_->ui.fileChoices.back().title, std::string("BMP file for picture"));
        QVERIFY(FileExists(At("out/page.bmp")));
        QCOMPARE(settings_.bmpFolder, At("out/"));

        panel_->Run(kCmdCollage);
        panel_->NextIcon();
        panel_->NextIcon();
        app_->ui.fileAnswers.push_back(At("out/three.bmp"));
        panel_->Run(kCmdSaveIcon);
        QCOMPARE(app_->ui.fileChoices.back().initialPath, At("out/strip_3.bmp"));
        QVERIFY(FileExists(At("out/three.bmp")));
        QCOMPARE(panel_->IconNumber(), 3);

        // A cancelled choice writes nothing and keeps the folder.
        app_->ui.fileAnswers.push_back("");
        panel_->Run(kCmdSaveIcon);
        QCOMPARE(settings_.bmpFolder, At("out/"));
        QCOMPARE(FolderListing(At("out")).size(), std::size_t{2});

        app_->ui.folderAnswers.push_back(At("all/"));
        std::filesystem::create_directories(At("all"));
        panel_->Run(kCmdSaveAllIcons);
        QVERIFY(FileExists(At("all/strip_3_001.bmp")));
        QVERIFY(FileExists(At("all/strip_3_100.bmp")));
        QCOMPARE(app_->ui.LastText(), std::string("Done, All 100 icons saved as BMP"));
        QCOMPARE(image_->CurrentIconNumber(), 3);

        // Where no icon can be written: one message, not one box per icon.
        app_->ui.Clear();
        app_->ui.folderAnswers.push_back(At("gone/"));
        panel_->Run(kCmdSaveAllIcons);
        QVERIFY(app_->ui.messages.empty());
        TextWindow* summary = ShownTextWindow();
        QVERIFY(summary);
        const QStringList lines = summary->Text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 101);  // each icon, and the count
        QVERIFY(lines.front().startsWith("Error creating " + QString::fromStdString(At("gone/"))));
        QCOMPARE(lines.back().trimmed(), QString("Error: 100 / 100 icons were not saved as BMP"));
        summary->close();

        // The S16 Tool names a collage after its first icon, and all icons after the file.
        settings_.bmpFolder = app_->dir.Path();
        Make(IconPanelStyle::S16Tool());
        app_->ui.fileAnswers.push_back("");
        panel_->Run(kCmdSaveIcon);
        QCOMPARE(app_->ui.fileChoices.back().initialPath, At("strip_1.bmp"));
        app_->ui.folderAnswers.push_back(At("s16/"));
        std::filesystem::create_directories(At("s16"));
        panel_->Run(kCmdSaveAllIcons);
        QVERIFY(FileExists(At("s16/strip_001.bmp")));
        QVERIFY(FileExists(At("s16/strip_100.bmp")));

        // Without a sprite nothing is asked.
        shown_ = false;
        const std::size_t asked = app_->ui.fileChoices.size();
        panel_->Run(kCmdSaveIcon);
        app_->ui.folderAnswers.push_back(At("none/"));
        panel_->Run(kCmdSaveAllIcons);
        QCOMPARE(app_->ui.fileChoices.size(), asked);
        QCOMPARE(app_->ui.folderAnswers.size(), std::size_t{1});
    }

    // Nothing of the sprite stays once it is gone, whatever is done then.
    void showsNothingWithoutASprite() {
        Make(IconPanelStyle::DatTool());
        panel_->NextIcon();
        shown_ = false;
        panel_->Clear();
        for (int i = 0; i < 8; ++i)
            QCOMPARE(panel_->FieldText(i), QString("0"));
        QCOMPARE(panel_->ReservedText(), QString());
        QVERIFY(!panel_->CompressShown());
        QCOMPARE(panel_->IconField()->text(), QString());
        QCOMPARE(panel_->IconNumber(), 1);
        panel_->NextIcon();
        panel_->NextPage();
        panel_->FirstIcon();
        panel_->Run(kCmdCollage);
        panel_->Run(kCmdZoom2);
        panel_->Run(kCmdMirror);
        panel_->resize(500, 480);
        QCoreApplication::processEvents();
        QVERIFY(PictureIsBlank());
        QCOMPARE(panel_->IconText()->text(), QString("Icon"));
        QCOMPARE(panel_->FieldText(0), QString("0"));
        // The commands' own state still follows, for when a sprite comes.
        QVERIFY(!panel_->Collage());
        QVERIFY(panel_->Mirror());
        shown_ = true;
        panel_->ShowIcon(2);
        QCOMPARE(panel_->IconText()->text(), QString("Current: 2 / 100 icons"));
        QCOMPARE(PixelAt(2 * 40, 2 * 20), kRed);  // mirrored, at x2: blue on the left
    }
};

QTEST_MAIN(IconPanelTest)
#include "IconPanelTest.moc"
