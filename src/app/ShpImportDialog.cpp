#include "app/ShpImportDialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "app/BatchMessages.h"
#include "app/CAppDoc.h"
#include "app/PathLabel.h"
#include "app/PictureArea.h"
#include "app/QtProgress.h"
#include "app/WindowSize.h"
#include "shp/ShpConversion.h"
#include "sprite/IconRenderer.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/ScratchFile.h"
#include "support/UserInterface.h"

namespace {

const char* const kNoPictureText = "No picture";

}  // namespace

ShpImportDialog::ShpImportDialog(CAppDoc& doc, QWidget* parent) : QDialog(parent), doc_(doc) {
    setWindowTitle("Import Helmar - SHP files");
    BuildLayout();
    FitToScreen(this, QSize(900, 560));
    shpFolder_ = doc_.Settings().helmarFolder;
    s16Folder_ = doc_.Settings().s16Folder;
    FillList();
}

ShpImportDialog::~ShpImportDialog() {
    icons_.CloseFile();
    std::error_code ignored;
    std::filesystem::remove(scratch_, ignored);
}

void ShpImportDialog::BuildLayout() {
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* shpButton = new QPushButton("Helmar Folder", this);
    shpButton->setToolTip("Click here to specify folder holding SHP files to convert");
    shpLabel_ = new QLabel(this);
    shpLabel_->setToolTip("Folder holding SHP files to convert");
    left->addWidget(shpButton);
    left->addWidget(shpLabel_);
    files_ = new QListWidget(this);
    files_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    files_->setSortingEnabled(true);
    left->addWidget(files_, 1);
    countLine_ = new QLabel("Files to update", this);
    countLine_->setWordWrap(true);
    left->addWidget(countLine_);
    auto* s16Button = new QPushButton("Varnok Folder", this);
    s16Button->setToolTip("Click here to select Varnok folder to update");
    s16Label_ = new QLabel(this);
    s16Label_->setToolTip("Folder holding Varnoks S16 files");
    left->addWidget(s16Button);
    left->addWidget(s16Label_);
    onlyNew_ = new QCheckBox("Convert only if not found already on Varnok Folder:", this);
    onlyNew_->setChecked(true);
    onlyNew_->setToolTip(
        "If checked, only same name files not existing on Varnok Folder will be converted");
    left->addWidget(onlyNew_);
    statusLine_ = new QLabel("Doing file", this);
    statusLine_->setWordWrap(true);
    left->addWidget(statusLine_);
    auto* buttons = new QHBoxLayout;
    make_ = new QPushButton("&Make S16", this);
    make_->setToolTip("Click here to convert SHP files to S16");
    auto* exit = new QPushButton("Exit", this);
    exit->setToolTip(
        "Exit tool. Your settings and entries will be saved automatically and will be retreived "
        "next "
        "time you open the application.");
    buttons->addWidget(make_);
    buttons->addWidget(exit);
    left->addLayout(buttons);
    layout->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    preview_ = new QCheckBox("Preview Bitmap", this);
    preview_->setChecked(true);
    asS16_ = new QCheckBox("Show as S16 (as it would have converted)", this);
    right->addWidget(preview_);
    right->addWidget(asS16_);
    picture_ = new PictureArea(this);
    right->addWidget(picture_, 1);
    auto* navigation = new QHBoxLayout;
    const std::pair<const char*, void (ShpImportDialog::*)()> steps[] = {
        {"| <", &ShpImportDialog::FirstFrame},
        {"<<", &ShpImportDialog::PreviousFrame},
        {">>", &ShpImportDialog::NextFrame},
        {"> |", &ShpImportDialog::NextPage}};
    for (const auto& [text, action] : steps) {
        auto* button = new QPushButton(text, this);
        // As wide as their arrows, not as a button with words.
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(text) + 24);
        button->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        connect(button, &QPushButton::clicked, this, action);
        navigation->addWidget(button);
    }
    rangeLine_ = new QLabel(kNoPictureText, this);
    rangeLine_->setWordWrap(true);
    navigation->addWidget(rangeLine_, 1);
    right->addLayout(navigation);
    layout->addLayout(right, 2);

    connect(shpButton, &QPushButton::clicked, this, &ShpImportDialog::ChooseShpFolder);
    connect(s16Button, &QPushButton::clicked, this, &ShpImportDialog::ChooseS16Folder);
    connect(onlyNew_, &QCheckBox::clicked, this, &ShpImportDialog::FillList);
    connect(preview_, &QCheckBox::clicked, this, &ShpImportDialog::Paint);
    connect(asS16_, &QCheckBox::clicked, this, &ShpImportDialog::Paint);
    connect(files_, &QListWidget::currentRowChanged, this, &ShpImportDialog::PreviewSelected);
    connect(make_, &QPushButton::clicked, this, &ShpImportDialog::MakeS16);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(picture_, &PictureArea::Resized, this, &ShpImportDialog::Paint);
}

void ShpImportDialog::ShowFolders() {
    ShowPathIn(shpLabel_, shpFolder_);
    ShowPathIn(s16Label_, s16Folder_);
}

void ShpImportDialog::FillList() {
    {
        const QSignalBlocker block(files_);
        files_->clear();
        for (const std::string& name :
             ListShpFiles(shpFolder_, s16Folder_, onlyNew_->isChecked())) {
            files_->addItem(QString::fromStdString(name));
        }
        make_->setEnabled(files_->count() > 0);
        countLine_->setText(
            QString::fromStdString(FormatText("%d SHP files to convert", files_->count())));
        noMore_ = false;
        if (files_->count() > 0) files_->setCurrentRow(0);
    }
    statusLine_->setText(
        "Select all SHP files you want to convert as Varnok-S16 and press Make S16");
    ShowFolders();
    PreviewSelected();
}

bool ShpImportDialog::PreviewConversion(const std::string& shpPath) {
    icons_.CloseFile();
    std::error_code ignored;
    if (!scratch_.empty()) std::filesystem::remove(scratch_, ignored);
    scratch_.clear();
    // The preview's S16 file is a new scratch file of our own each time, made
    // under a name nobody can foresee, so that no link planted in the
    // temporary folder leads the preview into one of the user's files.
    std::vector<std::uint8_t> s16;
    if (!ShpToS16Bytes(shpPath, s16) ||
        !WriteScratchFile(TemporaryFolder(), "zentrik7-preview.s16", s16, scratch_) ||
        !icons_.OpenFile(scratch_))
        return false;
    first_ = 1;
    return true;
}

void ShpImportDialog::PreviewSelected() {
    const QListWidgetItem* item = files_->currentItem();
    if (item) {
        const std::string path = shpFolder_ + item->text().toStdString();
        if (PreviewConversion(path)) frames_.Open(path);
    } else {
        // An empty list (every file converted) shows no file that is no longer listed.
        icons_.CloseFile();
    }
    Paint();
}

void ShpImportDialog::Paint() {
    // A file that cannot be previewed leaves no range of the last one.
    if (!icons_.HasFile() || icons_.IconCount() < 1) rangeLine_->setText(kNoPictureText);
    picture_->Paint([this](Surface& surface, const Rect& area) {
        if (!preview_->isChecked()) return;
        surface.FillRect(area.left, area.top, area.Width(), area.Height(), 0x00C0C0C0);
        if (!icons_.HasFile() || icons_.IconCount() < 1) return;
        const bool asS16 = asS16_->isChecked();
        shown_ = asS16 ? DrawCollage(icons_, &surface, area, first_, noMore_)
                       : frames_.DrawPage(&surface, area, first_, noMore_);
        const int total = asS16 ? icons_.IconCount() : frames_.FrameCount();
        rangeLine_->setText(QString::fromStdString(
            FormatText("Icons: %d-%d / %d total", first_, first_ + shown_ - 1, total)));
    });
}

void ShpImportDialog::ChooseShpFolder() {
    const std::string folder =
        CurrentUserInterface().ChooseFolder(shpFolder_, "Select Helmar folder for SHP files");
    if (folder.empty()) return;
    shpFolder_ = folder;
    doc_.Settings().helmarFolder = folder;
    FillList();
}

void ShpImportDialog::ChooseS16Folder() {
    const std::string folder =
        CurrentUserInterface().ChooseFolder(s16Folder_, "Varnok Folder to store converted SHPs");
    if (!folder.empty()) {
        s16Folder_ = folder;
        doc_.Settings().s16Folder = folder;
    }
    FillList();
}

void ShpImportDialog::FirstFrame() {
    if (icons_.IconCount() < 1) return;
    first_ = 1;
    Paint();
}

void ShpImportDialog::PreviousFrame() {
    if (icons_.IconCount() < 1 || first_ < 2) return;
    --first_;
    Paint();
}

void ShpImportDialog::NextFrame() {
    if (icons_.IconCount() < 1 || noMore_ || first_ > icons_.IconCount()) return;
    ++first_;
    Paint();
}

void ShpImportDialog::NextPage() {
    if (icons_.IconCount() < 1 || noMore_) return;
    first_ += shown_;
    Paint();
}

void ShpImportDialog::MakeS16() {
    if (files_->count() == 0) return;
    std::vector<std::string> names;
    for (int row = 0; row < files_->count(); ++row) {
        if (files_->item(row)->isSelected())
            names.push_back(files_->item(row)->text().toStdString());
    }
    // What goes wrong with each file is told in one list at the end.
    BatchMessages batch(windowTitle().toStdString(), this);
    QtProgress progress(this);
    const ShpBatchResult result = ConvertShpFiles(
        shpFolder_, names, s16Folder_, progress,
        [this](const std::string& path) { statusLine_->setText(QString::fromStdString(path)); });
    FillList();
    TellShpBatch(result, s16Folder_);
    batch.Finish("", s16Folder_);
}
