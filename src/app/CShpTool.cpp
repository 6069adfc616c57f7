#include "app/CShpTool.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AnimationBar.h"
#include "app/CAppDoc.h"
#include "app/ChangeTracker.h"
#include "app/IconPanel.h"
#include "support/Messages.h"
#include "support/Paths.h"

namespace {

// The .s16 files of a folder (any case), sorted by name.
QStringList S16FilesIn(const std::string& folder) {
    QDir dir(QString::fromStdString(folder.empty() ? std::string(".") : folder));
    return dir.entryList({"*.s16", "*.S16"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

}  // namespace

CShpTool::CShpTool(CAppDoc& doc, QWidget* parent) : ToolView(parent), doc_(doc) {
    BuildLayout();
    setAcceptDrops(true);
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
    panel_ = new IconPanel({image_, [this] { return ShowsIcons(); }, [this] { return BaseName(); }},
                           doc_.Settings(), IconPanelStyle::S16Tool(), this);
    right->addWidget(panel_, 1);
    animation_ = new AnimationBar(*panel_, image_, this);
    right->addWidget(animation_);
    status_ = new QLabel(this);
    right->addWidget(status_);
    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"&Insert", [this] { InsertIcon(false); }},
        {"&Append", [this] { InsertIcon(true); }},
        {"Icon", [this] { panel_->SaveIconOrCollage(); }},
        {"All Icons", [this] { panel_->SaveAllIcons(); }},
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
    connect(panel_, &IconPanel::Drawn, this, &CShpTool::ShowFirstPixel);
    connect(panel_, &IconPanel::StateChanged, this, &ToolView::StateChanged);
}

bool CShpTool::HasFiles() const {
    return files_->count() > 0;
}
std::string CShpTool::BaseName() const {
    return SplitPath(currentPath_, kPathBaseName);
}
bool CShpTool::ShowsIcons() const {
    return HasFiles() && image_.IconCount() > 0;
}
int CShpTool::IconNumber() const {
    return panel_->IconNumber();
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
        panel_->Clear();
        return;
    }
    currentPath_ = folder_ + item->text().toStdString();
    path_->setText(QString::fromStdString(currentPath_));
    image_.OpenFile(currentPath_);
    doc_.Changes().Watch(ChangeTracker::kSprite, currentPath_);
    FillIconList(0);
}

void CShpTool::ReloadFile() {
    const int row = files_->currentRow();
    const int icon = panel_->IconNumber();
    FillFileList();
    if (row >= 0 && row < files_->count()) files_->setCurrentRow(row);
    FillIconList(icon);
}

void CShpTool::FillIconList(int n) {
    const QSignalBlocker block(icons_);
    icons_->clear();
    if (image_.IconCount() < 1) {
        panel_->Clear();
        return;
    }
    for (int k = 1; k <= image_.IconCount(); ++k) {
        const S16Icon& r = image_.Icon(k);
        icons_->addItem(
            QString::fromStdString(FormatText("Icon #%i (%dx%d)", k, r.TWidth, r.THeight)));
    }
    if (n == 0) n = panel_->IconNumber();
    if (n < 1 || n > image_.IconCount()) n = 1;
    icons_->setCurrentRow(n - 1);
    panel_->ShowIcon(n);
}

void CShpTool::ShowSelectedIcon() {
    if (icons_->currentRow() < 0) return;
    panel_->ShowIcon(icons_->currentRow() + 1);
}

// The colour of the first pixel the picture was drawn from tells the key colour a file uses.
void CShpTool::ShowFirstPixel() {
    if (image_.Pixels() && image_.Width() > 0) {
        const std::uint8_t* first = image_.RowPtr(0);
        status_->setText(QString::fromStdString(
            FormatText("Pix0 is RGB(%d,%d,%d)", first[0], first[1], first[2])));
    }
}
