#include "app/CShpView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CAppDoc.h"
#include "app/CommandIds.h"
#include "app/PictureArea.h"
#include "app/QtProgress.h"
#include "archive/ItemFilter.h"
#include "sprite/IconRenderer.h"
#include "support/Messages.h"

namespace {

// An icon record whose data start beyond a 640 x 480 picture of 2-byte pixels is flagged.
constexpr int kSuspiciousStarts = 614400;

// What the status texts say before an archive is shown, and again when none is.
const char* const kNoItemsText = "Icons";
const char* const kNoIconsText = "Icon";

const char* const kFieldLabels[] = {"Width",       "Height",       "Start X", "Start Y",
                                    "Total Width", "Total Height", "Starts",  "Bytes"};

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
    right->addWidget(BuildFields());
    picture_ = new PictureArea(this);
    right->addWidget(picture_, 1);
    auto* navigation = new QHBoxLayout;
    const std::pair<const char*, void (CShpView::*)()> buttons[] = {{"| <", &CShpView::FirstIcon},
                                                                    {"<<", &CShpView::PreviousIcon},
                                                                    {">>", &CShpView::NextIcon},
                                                                    {"> |", &CShpView::NextPage}};
    for (const auto& [text, action] : buttons) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(text);
        connect(button, &QPushButton::clicked, this, action);
        navigation->addWidget(button);
    }
    iconEdit_ = new QLineEdit(this);
    iconEdit_->setValidator(new QIntValidator(-99999, 99999, iconEdit_));
    iconEdit_->setMaximumWidth(60);
    navigation->addWidget(iconEdit_);
    iconText_ = new QLabel(kNoIconsText, this);
    navigation->addWidget(iconText_, 1);
    right->addLayout(navigation);
    progressBar_ = new QProgressBar(this);
    right->addWidget(progressBar_);
    layout->addLayout(right, 1);

    connect(apply, &QPushButton::clicked, this, [this] { FillList(0); });
    connect(filterText_, &QLineEdit::returnPressed, this, [this] { FillList(0); });
    connect(filterCombo_, qOverload<int>(&QComboBox::activated), this,
            [this](int mode) { SetFilterMode(mode); });
    connect(itemList_, &QListWidget::currentRowChanged, this, &CShpView::SelectRow);
    connect(iconEdit_, &QLineEdit::editingFinished, this, &CShpView::SelectTypedIcon);
    connect(picture_, &PictureArea::Resized, this, [this] {
        if (currentItem_ >= 0) Draw();
    });
}

QWidget* CShpView::BuildFields() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 8; ++i) {
        auto* value = new QLabel("0", box);
        value->setMinimumWidth(50);
        grid->addWidget(new QLabel(kFieldLabels[i], box), i / 4 * 2, i % 4);
        grid->addWidget(value, i / 4 * 2 + 1, i % 4);
        fields_.push_back(value);
    }
    compress_ = new QCheckBox("Compress", box);
    compress_->setEnabled(false);
    reserved_ = new QLineEdit(box);
    reserved_->setEnabled(false);
    reserved_->setMaximumWidth(60);
    grid->addWidget(compress_, 0, 4);
    grid->addWidget(new QLabel("?", box), 1, 4);
    grid->addWidget(reserved_, 1, 5);
    return box;
}

void CShpView::OnUpdate() {
    FillList(0);
}

bool CShpView::HasItems() const {
    return doc_.Archive().IsLoaded() && doc_.Archive().ItemCount() > 0;
}

int CShpView::SelectedRow() const {
    return itemList_->currentRow();
}

void CShpView::ReadControls() {
    filterMode_ = filterCombo_->currentIndex();
    bool ok = false;
    const int typed = iconEdit_->text().toInt(&ok);
    if (ok) iconNumber_ = typed;
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
    iconNumber_ = doc_.Archive().SelectItem(currentItem_, iconNumber_);
    if (iconNumber_ == 0) {
        iconNumber_ = 1;
        ClearFields();
        return;
    }
    UpdateStatus(true);
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
    iconNumber_ = 1;
    iconsShown_ = 0;
    atEnd_ = false;
    itemsText_->setText(kNoItemsText);
    iconText_->setText(kNoIconsText);
    iconEdit_->clear();
    ClearFields();
    reserved_->clear();
    picture_->Paint([](Surface&, const Rect&) {});
    emit TitleChanged();
    emit StateChanged();
}

void CShpView::ClearFields() {
    for (QLabel* field : fields_)
        field->setText("0");
    compress_->setChecked(false);
}

void CShpView::ShowFields() {
    const S16Icon& r = doc_.Archive().CurrentIcon();
    const int values[] = {r.Width,  r.Height,  r.StartX, r.StartY,
                          r.TWidth, r.THeight, r.Starts, r.Bytes};
    for (int i = 0; i < 8; ++i)
        fields_[static_cast<std::size_t>(i)]->setText(QString::number(values[i]));
    compress_->setChecked(r.Compress == 1);
    reserved_->setText(QString::number(r.Reserved));
}

void CShpView::UpdateStatus(bool draw) {
    DatArchive& archive = doc_.Archive();
    if (!archive.IsLoaded()) return;
    const int count = archive.IconCount();
    iconText_->setText(QString::fromStdString(
        collage_ ? FormatText("Shown: %d-%d / %d icons", iconNumber_, iconNumber_ + iconsShown_ - 1,
                              count)
                 : FormatText("Current: %d / %d icons", iconNumber_, count)));
    std::string items = FormatText("%d / %d ", rowsShown_, archive.ItemCount());
    if (archive.CurrentIcon().Starts > kSuspiciousStarts) items += "  Error";
    itemsText_->setText(QString::fromStdString(items));
    iconEdit_->setText(QString::number(iconNumber_));
    ShowFields();
    if (draw) Draw();
    emit StateChanged();
}

void CShpView::Draw() {
    DatArchive& archive = doc_.Archive();
    if (!archive.IsLoaded() || currentItem_ < 0 || archive.CurrentIconNumber() == 0) return;
    archive.SetMirrorX(mirror_);
    picture_->Paint([&](Surface& surface, const Rect& area) {
        if (collage_) {
            iconsShown_ = DrawCollage(archive, &surface, area, iconNumber_, atEnd_);
            archive.SelectIcon(iconNumber_);  // the fields show the collage's first icon
        } else {
            archive.SelectIcon(iconNumber_);
            DrawIcon(archive, &surface, area, zoom_);
            iconsShown_ = archive.IconCount();
        }
    });
    if (collage_) UpdateStatus(false);
}

QString CShpView::FieldText(int field) const {
    return fields_[static_cast<std::size_t>(field)]->text();
}

bool CShpView::CompressShown() const {
    return compress_->isChecked();
}

void CShpView::FirstIcon() {
    if (!HasItems()) return;
    iconNumber_ = doc_.Archive().SelectIcon(1);
    UpdateStatus(true);
}

void CShpView::PreviousIcon() {
    ReadControls();
    if (!HasItems() || iconNumber_ <= 1) return;
    iconNumber_ = doc_.Archive().SelectIcon(iconNumber_ - 1);
    UpdateStatus(true);
}

void CShpView::NextIcon() {
    ReadControls();
    if (!HasItems() || atEnd_ || iconNumber_ > doc_.Archive().IconCount()) return;
    iconNumber_ = doc_.Archive().SelectIcon(iconNumber_ + 1);
    UpdateStatus(true);
}

void CShpView::NextPage() {
    ReadControls();
    if (!HasItems() || atEnd_) return;
    iconNumber_ = doc_.Archive().SelectIcon(iconNumber_ + iconsShown_);
    UpdateStatus(true);
}

void CShpView::SelectTypedIcon() {
    ReadControls();
    if (!HasItems() || doc_.Archive().CurrentIconNumber() == 0) return;
    iconNumber_ = doc_.Archive().SelectIcon(iconNumber_);
    UpdateStatus(true);
}
