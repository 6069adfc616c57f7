#include "app/CShpView.h"

#include <algorithm>

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include "app/AnimationBar.h"
#include "app/CAppDoc.h"
#include "app/IconPanel.h"
#include "app/ItemListModel.h"
#include "app/ItemListView.h"
#include "app/QtProgress.h"
#include "app/SheetView.h"
#include "support/Messages.h"

namespace {

// An icon record whose data start beyond a 640 x 480 picture of 2-byte pixels is flagged.
constexpr int kSuspiciousStarts = 614400;

// What the items text says before an archive is shown, and again when none is.
const char* const kNoItemsText = "Icons";

}  // namespace

CShpView::CShpView(CAppDoc& doc, QWidget* parent) : ToolView(parent), doc_(doc) {
    BuildLayout();
    progress_ = new QtProgress(this);
    filterCombo_->setCurrentIndex(0);
}

// Out of line: the drag folder's type is known here.
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
    items_ = new ItemListModel(doc_.Archive(), this);
    itemList_ =
        new ItemListView([this](const std::vector<int>& rows) { return DragOutItems(rows); },
                         [this](const QStringList& paths) { DropFiles(paths); }, this);
    // Rows of one height let the view place 100,000 rows without measuring each.
    itemList_->setUniformItemSizes(true);
    itemList_->setSelectionMode(QAbstractItemView::SingleSelection);
    itemList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    itemList_->setModel(items_);
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
    animation_ = new AnimationBar(*panel_, doc_.Archive(), this);
    right->addWidget(animation_);
    sheet_ = new SheetView(this);
    sheet_->hide();
    right->addWidget(sheet_, 1);
    layout->addLayout(right, 1);

    connect(apply, &QPushButton::clicked, this, [this] { FillList(0); });
    connect(filterText_, &QLineEdit::returnPressed, this, [this] { FillList(0); });
    connect(filterCombo_, qOverload<int>(&QComboBox::activated), this,
            [this](int mode) { SetFilterMode(mode); });
    connect(itemList_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!filling_) SelectRow(current.row());
            });
    connect(panel_, &IconPanel::Shown, this, &CShpView::ShowItemsText);
    connect(sheet_, &SheetView::Chosen, this, &CShpView::ChooseFromSheet);
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
    return itemList_->currentIndex().row();
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
    filling_ = true;
    items_->Refill(filterMode_, filterText_->text().toStdString());
    currentItem_ = -1;
    if (items_->Count() > 0) {
        row = std::clamp(row, 0, items_->Count() - 1);
        itemList_->setCurrentIndex(items_->index(row));
        currentItem_ = items_->ItemAt(row);
    }
    filling_ = false;
    RefillSheet();
    ShowCurrent();
    emit StateChanged();
}

void CShpView::SelectRow(int row) {
    if (!doc_.Archive().IsLoaded() || items_->ItemAt(row) < 0) return;
    currentItem_ = items_->ItemAt(row);
    if (sheetMode_ == kIconSheet) RefillSheet();
    if (sheetMode_ == kItemSheet) sheet_->SelectItem(currentItem_);
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
    filling_ = true;
    items_->Clear();
    filling_ = false;
    currentItem_ = -1;
    RefillSheet();
    itemsText_->setText(kNoItemsText);
    panel_->Clear();
    emit TitleChanged();
    emit StateChanged();
}

void CShpView::ShowItemsText() {
    const DatArchive& archive = doc_.Archive();
    std::string items = FormatText("%d / %d ", items_->Count(), archive.ItemCount());
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
