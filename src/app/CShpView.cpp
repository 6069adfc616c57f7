#include "app/CShpView.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CAppDoc.h"
#include "app/IconPanel.h"
#include "app/QtProgress.h"
#include "archive/ItemFilter.h"
#include "support/Messages.h"

namespace {

// An icon record whose data start beyond a 640 x 480 picture of 2-byte pixels is flagged.
constexpr int kSuspiciousStarts = 614400;

// What the items text says before an archive is shown, and again when none is.
const char* const kNoItemsText = "Icons";

}  // namespace

CShpView::CShpView(CAppDoc& doc, QWidget* parent) : ToolView(parent), doc_(doc) {
    BuildLayout();
    progress_ = new QtProgress(progressBar_);
    filterCombo_->setCurrentIndex(0);
    progressBar_->hide();
}

CShpView::~CShpView() {
    delete progress_;
}

void CShpView::BuildLayout() {
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel("Filter", this));
    filterCombo_ = new QComboBox(this);
    filterCombo_->addItems({"View All icons", "Only Unit's icons (9)", "Only Interface files"});
    filterRow->addWidget(filterCombo_, 1);
    left->addLayout(filterRow);
    auto* textRow = new QHBoxLayout;
    filterText_ = new QLineEdit(this);
    filterText_->setPlaceholderText("UN, or $01 for names holding 01");
    auto* apply = new QPushButton("DO", this);
    textRow->addWidget(filterText_, 1);
    textRow->addWidget(apply);
    left->addLayout(textRow);
    itemList_ = new QListWidget(this);
    itemList_->setMinimumWidth(200);
    left->addWidget(itemList_, 1);
    itemsText_ = new QLabel(kNoItemsText, this);
    left->addWidget(itemsText_);
    layout->addLayout(left);

    auto* right = new QVBoxLayout;
    panel_ = new IconPanel(
        {doc_.Archive(), [this] { return ShowsItem(); }, [this] { return CurrentBaseName(); }},
        doc_.Settings(), IconPanelStyle::DatTool(), this);
    right->addWidget(panel_, 1);
    progressBar_ = new QProgressBar(this);
    right->addWidget(progressBar_);
    layout->addLayout(right, 1);

    connect(apply, &QPushButton::clicked, this, [this] { FillList(0); });
    connect(filterText_, &QLineEdit::returnPressed, this, [this] { FillList(0); });
    connect(filterCombo_, qOverload<int>(&QComboBox::activated), this,
            [this](int mode) { SetFilterMode(mode); });
    connect(itemList_, &QListWidget::currentRowChanged, this, &CShpView::SelectRow);
    connect(panel_, &IconPanel::Shown, this, &CShpView::ShowItemsText);
    connect(panel_, &IconPanel::StateChanged, this, &ToolView::StateChanged);
}

void CShpView::OnUpdate() {
    FillList(0);
}

bool CShpView::HasItems() const {
    return doc_.Archive().IsLoaded() && doc_.Archive().ItemCount() > 0;
}

// An item of the list is selected in a loaded archive.
bool CShpView::ShowsItem() const {
    return doc_.Archive().IsLoaded() && currentItem_ >= 0;
}

int CShpView::SelectedRow() const {
    return itemList_->currentRow();
}

void CShpView::ReadControls() {
    filterMode_ = filterCombo_->currentIndex();
    panel_->ReadTypedIcon();
}

void CShpView::FillList(int row) {
    if (!doc_.Archive().IsLoaded()) {
        ClearView();
        return;
    }
    ReadControls();
    emit TitleChanged();
    rows_ = FilterItems(doc_.Archive().Entries(), filterMode_, filterText_->text().toStdString());
    rowsShown_ = static_cast<int>(rows_.size());
    const QSignalBlocker block(itemList_);
    itemList_->clear();
    for (int index : rows_)
        itemList_->addItem(QString::fromStdString(ItemRow(doc_.Archive().Entry(index))));
    currentItem_ = -1;
    if (rowsShown_ > 0) {
        row = std::clamp(row, 0, rowsShown_ - 1);
        itemList_->setCurrentRow(row);
        currentItem_ = rows_[static_cast<std::size_t>(row)];
    }
    ShowCurrent();
    emit StateChanged();
}

void CShpView::SelectRow(int row) {
    if (!doc_.Archive().IsLoaded() || row < 0 || row >= rowsShown_) return;
    currentItem_ = rows_[static_cast<std::size_t>(row)];
    ShowCurrent();
}

void CShpView::ShowCurrent() {
    if (!doc_.Archive().IsLoaded()) return;
    const int shown = doc_.Archive().SelectItem(currentItem_, panel_->IconNumber());
    if (shown == 0) {
        panel_->Clear();
        ShowItemsText();
        return;
    }
    panel_->ShowIcon(shown);
}

// With no archive (a failed open closes it) nothing of the one shown before may
// remain: its picture and counters would pass for the new file's.
void CShpView::ClearView() {
    {
        const QSignalBlocker block(itemList_);
        itemList_->clear();
    }
    rows_.clear();
    rowsShown_ = 0;
    currentItem_ = -1;
    itemsText_->setText(kNoItemsText);
    panel_->Clear();
    emit TitleChanged();
    emit StateChanged();
}

void CShpView::ShowItemsText() {
    const DatArchive& archive = doc_.Archive();
    std::string items = FormatText("%d / %d ", rowsShown_, archive.ItemCount());
    if (archive.CurrentIcon().Starts > kSuspiciousStarts) items += "  Error";
    itemsText_->setText(QString::fromStdString(items));
}

QLabel* CShpView::IconText() const {
    return panel_->IconText();
}
PictureArea* CShpView::Picture() const {
    return panel_->Picture();
}
QString CShpView::FieldText(int field) const {
    return panel_->FieldText(field);
}
int CShpView::IconNumber() const {
    return panel_->IconNumber();
}
int CShpView::Zoom() const {
    return panel_->Zoom();
}
bool CShpView::Collage() const {
    return panel_->Collage();
}
bool CShpView::Mirror() const {
    return panel_->Mirror();
}
void CShpView::FirstIcon() {
    panel_->FirstIcon();
}
void CShpView::NextIcon() {
    panel_->NextIcon();
}
void CShpView::NextPage() {
    panel_->NextPage();
}
