#include "app/S16MakerDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AppSettings.h"
#include "app/BatchMessages.h"
#include "app/CAppDoc.h"
#include "app/PathLabel.h"
#include "app/PictureArea.h"
#include "app/WindowSize.h"
#include "sprite/S16Builder.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/SettingsStore.h"
#include "support/UserInterface.h"

namespace {

const char* const kModeTexts[] = {
    "Create a S16 file with 9 cloned icons, for each Bitmap you mark\n --   Express batch mode  --",
    "Create a S16 file from a bitmap including 9 icons same sized. Can select more than 1 bitmap",
    ("Create a S16 file with all the icons you add to list\n-- Double Clcik on a Bitmap to add as "
     "icon to list --"),
};

}  // namespace

S16MakerDialog::S16MakerDialog(CAppDoc& doc, QWidget* parent) : QDialog(parent), doc_(doc) {
    setWindowTitle("Varnok S16 Creator");
    BuildLayout();
    FitToScreen(this, QSize(960, 560));
    folder_ = doc_.Settings().bmpFolder;
    const SettingsStore& store = doc_.Store();
    const int mode = store.GetInt(kSettingsSection, "Option", kList);
    modes_[mode >= kCloned && mode <= kList ? mode : kList]->setChecked(true);
    previewBox_->setChecked(store.GetInt(kSettingsSection, "Preview", 0) > 0);
    ShowFiles();
}

S16MakerDialog::~S16MakerDialog() {
    doc_.Store().SetInt(kSettingsSection, "Option", Mode());
    doc_.Store().SetInt(kSettingsSection, "Preview", previewBox_->isChecked() ? 1 : 0);
}

void S16MakerDialog::BuildLayout() {
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* folderButton = new QPushButton("Bitmap &Folder ...", this);
    left->addWidget(folderButton);
    folderLabel_ = new QLabel(this);
    left->addWidget(folderLabel_);
    auto* specRow = new QHBoxLayout;
    specRow->addWidget(new QLabel("Show Files", this));
    spec_ = new QLineEdit("*.bmp;*.png", this);
    spec_->setMinimumWidth(60);
    spec_->setToolTip(
        "Can limit the files to show in order to select easier\nIf no suffix is typed, [.BMP] and "
        "[.PNG] will be added\nSeveral specs are separated by \";\"\nRemember to press \"Apply "
        "file spec (filter)\" button to reset list");
    specRow->addWidget(spec_, 1);
    left->addLayout(specRow);
    auto* apply = new QPushButton("Apply file spec (filter)", this);
    apply->setToolTip("Reset file list using the spec you typed on left edit box");
    left->addWidget(apply);
    bitmaps_ = new QListWidget(this);
    bitmaps_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    left->addWidget(bitmaps_, 1);
    sizeLabel_ = new QLabel("No picture", this);
    pixelLabel_ = new QLabel("pix(0,0) = ", this);
    left->addWidget(sizeLabel_);
    left->addWidget(pixelLabel_);
    layout->addLayout(left, 1);

    auto* middle = new QVBoxLayout;
    // A radio button's own text never wraps: each long text is a label beside it.
    auto* modeGrid = new QGridLayout;
    for (int m = 0; m < 3; ++m) {
        modes_[m] = new QRadioButton(this);
        modes_[m]->setAccessibleName(kModeTexts[m]);
        auto* text = new QLabel(kModeTexts[m], this);
        text->setWordWrap(true);
        text->setBuddy(modes_[m]);
        text->installEventFilter(this);
        modeTexts_[m] = text;
        modeGrid->addWidget(modes_[m], m, 0, Qt::AlignTop);
        modeGrid->addWidget(text, m, 1);
        connect(modes_[m], &QRadioButton::clicked, this, [this, m] { SetMode(m); });
    }
    modeGrid->setColumnStretch(1, 1);
    middle->addLayout(modeGrid);
    modes_[kList]->setToolTip(
        "Can select several bitmaps\nand double click to add all selected\nThen reorder using "
        "Up/Down arrows");
    grid_ = new QCheckBox("Check if 3x3 arrangement\nUncheck if 9x1 - horizontal", this);
    grid_->setChecked(true);
    middle->addWidget(grid_);
    middle->addWidget(new QLabel("Single S16 icon list", this));
    iconList_ = new QListWidget(this);
    middle->addWidget(iconList_, 1);
    auto* removeHint = new QLabel("      -- Double Click on # item to Remove from list --", this);
    removeHint->setWordWrap(true);
    middle->addWidget(removeHint);
    mover_ = new QWidget(this);
    auto* moveRow = new QHBoxLayout(mover_);
    moveRow->setContentsMargins(0, 0, 0, 0);
    moveRow->addWidget(new QLabel("Move selected  #\n Up / Down", mover_));
    auto* up = new QToolButton(mover_);
    up->setArrowType(Qt::UpArrow);
    auto* down = new QToolButton(mover_);
    down->setArrowType(Qt::DownArrow);
    moveRow->addWidget(up);
    moveRow->addWidget(down);
    auto* clear = new QPushButton("Clear List", mover_);
    moveRow->addWidget(clear);
    middle->addWidget(mover_);
    auto* buttons = new QHBoxLayout;
    make_ = new QPushButton("&Make S16", this);
    auto* exit = new QPushButton("&Exit", this);
    buttons->addWidget(make_);
    buttons->addWidget(exit);
    middle->addLayout(buttons);
    layout->addLayout(middle, 1);

    auto* right = new QVBoxLayout;
    previewBox_ = new QCheckBox("Preview Bitmap", this);
    zoom_ = new QPushButton("Zoom", this);
    zoom_->setCheckable(true);
    auto* previewRow = new QHBoxLayout;
    previewRow->addWidget(previewBox_);
    previewRow->addWidget(zoom_);
    right->addLayout(previewRow);
    picture_ = new PictureArea(this);
    picture_->setMinimumSize(180, 140);
    right->addWidget(picture_, 1);
    layout->addLayout(right, 1);

    connect(folderButton, &QPushButton::clicked, this, &S16MakerDialog::ChooseFolder);
    connect(apply, &QPushButton::clicked, this, &S16MakerDialog::ShowFiles);
    connect(spec_, &QLineEdit::editingFinished, this, &S16MakerDialog::ShowFiles);
    connect(bitmaps_, &QListWidget::itemSelectionChanged, this, &S16MakerDialog::PreviewFocused);
    bitmaps_->viewport()->installEventFilter(this);
    connect(bitmaps_, &QListWidget::itemDoubleClicked, this,
            [this](const QListWidgetItem* item) { BitmapDoubleClicked(item->text()); });
    connect(iconList_, &QListWidget::itemDoubleClicked, this, &S16MakerDialog::RemoveFromList);
    connect(up, &QToolButton::clicked, this, [this] { MoveEntry(-1); });
    connect(down, &QToolButton::clicked, this, [this] { MoveEntry(1); });
    connect(clear, &QPushButton::clicked, this, &S16MakerDialog::ClearList);
    connect(make_, &QPushButton::clicked, this, &S16MakerDialog::Make);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(previewBox_, &QCheckBox::clicked, this, &S16MakerDialog::DrawPreview);
    connect(zoom_, &QPushButton::clicked, this, [this] {
        zoom_->setText(zoom_->isChecked() ? "Zoomed" : "Zoom");
        DrawPreview();
    });
    connect(picture_, &PictureArea::Resized, this, &S16MakerDialog::DrawPreview);
}

int S16MakerDialog::Mode() const {
    for (int m = 0; m < 3; ++m) {
        if (modes_[m]->isChecked()) return m;
    }
    return kList;
}

void S16MakerDialog::ShowFiles() {
    previewed_.clear();
    bitmaps_->clear();
    ClearList();
    spec_->setText(QString::fromStdString(NormalizeFileSpec(spec_->text().toStdString())));
    ShowPathIn(folderLabel_, folder_);
    QStringList patterns;
    for (const std::string& pattern : FileSpecPatterns(spec_->text().toStdString()))
        patterns.append(QString::fromStdString(pattern));
    const QStringList names =
        QDir(QString::fromStdString(folder_.empty() ? std::string(".") : folder_))
            .entryList(patterns, QDir::Files, QDir::Name | QDir::IgnoreCase);
    bitmaps_->addItems(names);
    if (bitmaps_->count() > 0) {
        bitmaps_->setCurrentRow(0);
        make_->setEnabled(false);
        PreviewFocused();
    }
}

void S16MakerDialog::ChooseFolder() {
    const std::string folder =
        CurrentUserInterface().ChooseFolder(folder_, "Select Bitmap files folder");
    if (folder.empty()) return;
    doc_.Settings().bmpFolder = folder;
    folder_ = folder;
    ShowFiles();
}

std::vector<std::string> S16MakerDialog::SelectedNames() const {
    std::vector<std::string> names;
    for (int row = 0; row < bitmaps_->count(); ++row) {
        if (bitmaps_->item(row)->isSelected())
            names.push_back(bitmaps_->item(row)->text().toStdString());
    }
    return names;
}

bool S16MakerDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int m = 0; m < 3; ++m) {
            if (watched == modeTexts_[m] && modes_[m]->isEnabled()) modes_[m]->click();
        }
    }
    if (watched == bitmaps_->viewport() && event->type() == QEvent::MouseButtonPress &&
        (!sincePress_.isValid() || sincePress_.elapsed() > QApplication::doubleClickInterval())) {
        selectionAtPress_.clear();
        for (const std::string& name : SelectedNames())
            selectionAtPress_ << QString::fromStdString(name);
        sincePress_.start();
    }
    return QDialog::eventFilter(watched, event);
}

// A double click on one of several selected bitmaps adds them all.
void S16MakerDialog::BitmapDoubleClicked(const QString& name) {
    if (selectionAtPress_.contains(name)) {
        const QSignalBlocker block(bitmaps_);
        for (int row = 0; row < bitmaps_->count(); ++row)
            bitmaps_->item(row)->setSelected(
                selectionAtPress_.contains(bitmaps_->item(row)->text()));
    }
    selectionAtPress_.clear();
    AddSelectedToList();
}

void S16MakerDialog::EnableMake() {
    make_->setEnabled(Mode() == kList ? list_.Count() > 0 : !SelectedNames().empty());
}

void S16MakerDialog::ShowPreviewLabels(bool spacedRgb) {
    sizeLabel_->setText(QString::fromStdString(FormatText(
        "%d bits %d x %d", preview_.BitsPerPixel(), preview_.Width(), preview_.Height())));
    if (!preview_.Pixels()) return;
    const std::uint8_t* p = preview_.RowPtr(0);
    if (preview_.BitsPerPixel() == 8) {
        const std::uint8_t* entry = preview_.Palette() + 4 * p[0];
        pixelLabel_->setText(QString::fromStdString(
            FormatText("Pix 0 is %d (%d,%d,%d)", p[0], entry[2], entry[1], entry[0])));
    } else {
        pixelLabel_->setText(QString::fromStdString(FormatText(
            spacedRgb ? "Pix 0 is RGB(%d,%d,%d)" : "Pix0 is RGB(%d,%d,%d)", p[0], p[1], p[2])));
    }
}

void S16MakerDialog::PreviewFocused() {
    EnableMake();
    const QListWidgetItem* item = bitmaps_->currentItem();
    if (!item || folder_ + item->text().toStdString() == previewed_) return;
    previewed_ = folder_ + item->text().toStdString();
    if (!preview_.Load(previewed_)) return;
    ShowPreviewLabels(false);
    DrawPreview();
}

void S16MakerDialog::DrawPreview() {
    picture_->Paint([this](Surface& surface, const Rect& area) {
        if (!previewBox_->isChecked()) return;
        surface.FillRect(area.left, area.top, area.Width(), area.Height(), 0x00C0C0C0);
        if (preview_.Pixels())
            preview_.Draw(&surface, area.left, area.top, area.Width(), area.Height(),
                          !zoom_->isChecked());
    });
}

void S16MakerDialog::ShowIconList(int selected) {
    iconList_->clear();
    for (const std::string& entry : list_.Entries())
        iconList_->addItem(QString::fromStdString(entry));
    if (selected >= 0 && selected < iconList_->count()) iconList_->setCurrentRow(selected);
}

void S16MakerDialog::AddSelectedToList() {
    if (Mode() != kList) return;
    const std::vector<std::string> names = SelectedNames();
    if (names.empty()) return;
    make_->setEnabled(true);
    std::vector<std::string> baseNames;
    for (const std::string& name : names)
        baseNames.push_back(IconListName(name));
    list_.Add(baseNames);
    ShowIconList(-1);
    previewed_ = folder_ + names.back();
    if (preview_.Load(previewed_)) {
        ShowPreviewLabels(true);
        DrawPreview();
    }
}

void S16MakerDialog::RemoveFromList() {
    if (!list_.Remove(iconList_->currentRow())) return;
    ShowIconList(-1);
    make_->setEnabled(list_.Count() > 0);
}

void S16MakerDialog::MoveEntry(int step) {
    const int row = iconList_->currentRow();
    if (row < 0) return;
    ShowIconList(list_.Move(row, step));
}

void S16MakerDialog::ClearList() {
    list_.Clear();
    iconList_->clear();
    make_->setEnabled(false);
}

void S16MakerDialog::SetMode(int mode) {
    modes_[mode]->setChecked(true);
    iconList_->setEnabled(mode == kList);
    mover_->setEnabled(mode == kList);
    EnableMake();
    DrawPreview();
}

void S16MakerDialog::Make() {
    const int mode = Mode();
    if (mode != kList) {
        const std::vector<std::string> names = SelectedNames();
        if (names.empty()) {
            ShowError("No selection to process..");
            return;
        }
        // One file per bitmap: what goes wrong with each is told in one list.
        BatchMessages batch(windowTitle().toStdString(), this);
        if (mode == kCloned) {
            MakeClonedS16(folder_, names);
        } else {
            MakeS16FromSheet(folder_, names, grid_->isChecked());
        }
        batch.Finish("", folder_);
        return;
    }
    if (list_.Count() < 1) {
        ShowError("No icons added yet ..");
        return;
    }
    const std::string output = CurrentUserInterface().ChooseSaveFile(
        {doc_.Settings().s16Folder + "*.s16", "Select S16 to create", "Files (*.S16)|*.s16|",
         ".s16"});
    if (!output.empty()) MakeS16FromList(folder_, list_.Entries(), output);
}
