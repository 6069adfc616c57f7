#include "app/CShpTool.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/CAppDoc.h"
#include "app/CommandIds.h"
#include "app/PictureArea.h"
#include "shp/ShpExport.h"
#include "sprite/IconExport.h"
#include "sprite/IconRenderer.h"
#include "sprite/S16Editor.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/UserInterface.h"

namespace {

const char* const kFieldLabels[] = {"Total Width", "Total Height", "Start X", "Start Y",
                                    "Width",       "Height",       "Starts",  "Bytes"};

// The .s16 files of a folder (any case), sorted by name.
QStringList S16FilesIn(const std::string& folder) {
    QDir dir(QString::fromStdString(folder.empty() ? std::string(".") : folder));
    return dir.entryList({"*.s16", "*.S16"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

}  // namespace

CShpTool::CShpTool(CAppDoc& doc, QWidget* parent) : ToolView(parent), doc_(doc) {
    BuildLayout();
}

void CShpTool::BuildLayout() {
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* folderButton = new QPushButton("Folder for S16 files ...", this);
    left->addWidget(folderButton);
    files_ = new QListWidget(this);
    files_->setMinimumWidth(180);
    left->addWidget(files_, 2);
    left->addWidget(new QLabel("Dble-Click remove #", this));
    icons_ = new QListWidget(this);
    left->addWidget(icons_, 1);
    layout->addLayout(left);

    auto* right = new QVBoxLayout;
    path_ = new QLabel(this);
    right->addWidget(path_);
    right->addWidget(BuildFields());
    auto* modes = new QHBoxLayout;
    modes->addWidget(new QLabel("Draw as : ", this));
    iconMode_ = new QRadioButton("Icon", this);
    collageMode_ = new QRadioButton("Collage", this);
    collageMode_->setChecked(true);
    mirror_ = new QCheckBox("Mirror", this);
    modes->addWidget(iconMode_);
    modes->addWidget(collageMode_);
    modes->addWidget(mirror_);
    modes->addStretch(1);
    right->addLayout(modes);
    picture_ = new PictureArea(this);
    right->addWidget(picture_, 1);
    status_ = new QLabel(this);
    right->addWidget(status_);
    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"&Insert", [this] { InsertIcon(false); }},
        {"&Append", [this] { InsertIcon(true); }},
        {"Icon", [this] { SaveIconOrCollage(); }},
        {"All Icons", [this] { SaveAllIcons(); }},
        {"Save as Helmar shp file", [this] { SaveAsShp(); }}};
    for (const auto& [text, action] : actions) {
        auto* button = new QPushButton(text, this);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
    }
    right->addLayout(buttons);
    layout->addLayout(right, 1);

    connect(folderButton, &QPushButton::clicked, this, &CShpTool::ChooseFolder);
    connect(files_, &QListWidget::currentRowChanged, this, &CShpTool::OpenSelectedFile);
    connect(icons_, &QListWidget::currentRowChanged, this, &CShpTool::ShowSelectedIcon);
    connect(icons_, &QListWidget::itemDoubleClicked, this, &CShpTool::RemoveSelectedIcon);
    for (QAbstractButton* box :
         {static_cast<QAbstractButton*>(iconMode_), static_cast<QAbstractButton*>(collageMode_),
          static_cast<QAbstractButton*>(mirror_)}) {
        connect(box, &QAbstractButton::clicked, this, [this] {
            Redraw();
            emit StateChanged();
        });
    }
    connect(picture_, &PictureArea::Resized, this, &CShpTool::Redraw);
}

QWidget* CShpTool::BuildFields() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 8; ++i) {
        auto* value = new QLabel("0", box);
        grid->addWidget(new QLabel(kFieldLabels[i], box), i / 4 * 2, i % 4);
        grid->addWidget(value, i / 4 * 2 + 1, i % 4);
        fields_.push_back(value);
    }
    compress_ = new QCheckBox("Compress", box);
    compress_->setEnabled(false);
    grid->addWidget(compress_, 0, 4);
    return box;
}

bool CShpTool::Collage() const {
    return collageMode_->isChecked();
}
bool CShpTool::HasFiles() const {
    return files_->count() > 0;
}
std::string CShpTool::BaseName() const {
    return SplitPath(currentPath_, kPathBaseName);
}
QString CShpTool::FieldText(int field) const {
    return fields_[static_cast<std::size_t>(field)]->text();
}

void CShpTool::OnUpdate() {
    doc_.LoadSettingsOnce();
    emit TitleChanged();
    folder_ = doc_.Settings().s16Folder;
    FillFileList();
}

void CShpTool::FillFileList() {
    {
        const QSignalBlocker block(files_);
        files_->clear();
        files_->addItems(S16FilesIn(folder_));
        if (files_->count() > 0) files_->setCurrentRow(0);
    }
    OpenSelectedFile();
}

void CShpTool::OpenSelectedFile() {
    const QListWidgetItem* item = files_->currentItem();
    if (!item) {
        image_.CloseFile();
        icons_->clear();
        currentPath_ = folder_;
        path_->setText(QString::fromStdString(currentPath_));
        picture_->Paint([](Surface&, const Rect&) {});
        return;
    }
    currentPath_ = folder_ + item->text().toStdString();
    path_->setText(QString::fromStdString(currentPath_));
    image_.OpenFile(currentPath_);
    FillIconList(0);
}

void CShpTool::FillIconList(int n) {
    const QSignalBlocker block(icons_);
    icons_->clear();
    if (image_.IconCount() < 1) {
        picture_->Paint([](Surface&, const Rect&) {});
        return;
    }
    for (int k = 1; k <= image_.IconCount(); ++k) {
        const S16Icon& r = image_.Icon(k);
        icons_->addItem(
            QString::fromStdString(FormatText("Icon #%i (%dx%d)", k, r.TWidth, r.THeight)));
    }
    if (n == 0) n = iconNumber_;
    if (n < 1 || n > image_.IconCount()) n = 1;
    icons_->setCurrentRow(n - 1);
    iconNumber_ = image_.SelectIcon(n);
    ShowFields(true);
}

void CShpTool::ShowSelectedIcon() {
    if (icons_->currentRow() < 0) return;
    iconNumber_ = image_.SelectIcon(icons_->currentRow() + 1);
    ShowFields(true);
}

void CShpTool::ShowFields(bool redraw) {
    if (image_.IconCount() > 0) {
        const S16Icon& r = image_.Icon(iconNumber_);
        const int values[] = {r.TWidth, r.THeight, r.StartX, r.StartY,
                              r.Width,  r.Height,  r.Starts, r.Bytes};
        for (int i = 0; i < 8; ++i)
            fields_[static_cast<std::size_t>(i)]->setText(QString::number(values[i]));
        compress_->setChecked(r.Compress > 0);
    }
    if (redraw) Redraw();
    emit StateChanged();
}

void CShpTool::Redraw() {
    if (image_.IconCount() < 1) return;
    image_.SetMirrorX(mirror_->isChecked());
    picture_->Paint([this](Surface& surface, const Rect& area) {
        if (Collage()) {
            DrawCollage(image_, &surface, area, iconNumber_, atEnd_);
        } else {
            image_.SelectIcon(iconNumber_);
            DrawIcon(image_, &surface, area, zoom_);
        }
    });
    if (const std::uint8_t* p = image_.Pixels(); p && image_.Width() > 0) {
        const std::uint8_t* first = image_.RowPtr(0);
        status_->setText(QString::fromStdString(
            FormatText("Pix0 is RGB(%d,%d,%d)", first[0], first[1], first[2])));
    }
    image_.SelectIcon(iconNumber_);
}
