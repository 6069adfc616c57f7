#include "app/IconPanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/PictureArea.h"
#include "sprite/IconRenderer.h"
#include "sprite/S16Image.h"
#include "support/Messages.h"

namespace {

// What the counter says while no sprite is shown.
const char* const kNoIconsText = "Icon";

constexpr int kFieldCount = 8;
const char* const kRecordOrderLabels[kFieldCount] = {
    "Width", "Height", "Start X", "Start Y", "Total Width", "Total Height", "Starts", "Bytes"};
const char* const kTotalFirstLabels[kFieldCount] = {
    "Total Width", "Total Height", "Start X", "Start Y", "Width", "Height", "Starts", "Bytes"};

}  // namespace

IconPanelStyle IconPanelStyle::DatTool() {
    IconPanelStyle style;
    style.recordOrder = true;
    style.navigation = true;
    style.zoom = 1;
    style.collageResetsZoom = true;
    style.namesWithIconNumber = true;
    return style;
}

IconPanelStyle IconPanelStyle::S16Tool() {
    IconPanelStyle style;
    style.modeRow = true;
    return style;
}

IconPanel::IconPanel(IconPanelSprite sprite, AppSettings& settings, const IconPanelStyle& style,
                     QWidget* parent)
    : QWidget(parent),
      sprite_(std::move(sprite)),
      settings_(settings),
      style_(style),
      zoom_(style.zoom) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(BuildFields());
    if (style_.modeRow) layout->addLayout(BuildModeRow());
    picture_ = new PictureArea(this);
    layout->addWidget(picture_, 1);
    if (style_.navigation) layout->addLayout(BuildNavigation());
    connect(picture_, &PictureArea::Resized, this, &IconPanel::Draw);
}

QWidget* IconPanel::BuildFields() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    const char* const* labels = style_.recordOrder ? kRecordOrderLabels : kTotalFirstLabels;
    for (int i = 0; i < kFieldCount; ++i) {
        auto* value = new QLabel("0", box);
        value->setMinimumWidth(50);
        grid->addWidget(new QLabel(labels[i], box), i / 4 * 2, i % 4);
        grid->addWidget(value, i / 4 * 2 + 1, i % 4);
        fields_.push_back(value);
    }
    compress_ = new QCheckBox("Compress", box);
    compress_->setEnabled(false);
    grid->addWidget(compress_, 0, 4);
    if (style_.recordOrder) {
        reserved_ = new QLineEdit(box);
        reserved_->setEnabled(false);
        reserved_->setMaximumWidth(60);
        grid->addWidget(new QLabel("?", box), 1, 4);
        grid->addWidget(reserved_, 1, 5);
    }
    return box;
}

QLayout* IconPanel::BuildModeRow() {
    auto* modes = new QHBoxLayout;
    modes->addWidget(new QLabel("Draw as : ", this));
    iconMode_ = new QRadioButton("Icon", this);
    collageMode_ = new QRadioButton("Collage", this);
    mirrorBox_ = new QCheckBox("Mirror", this);
    modes->addWidget(iconMode_);
    modes->addWidget(collageMode_);
    modes->addWidget(mirrorBox_);
    modes->addStretch(1);
    SyncModeRow();
    for (QRadioButton* mode : {iconMode_, collageMode_}) {
        connect(mode, &QRadioButton::clicked, this, [this] {
            SetCollage(collageMode_->isChecked());
            emit StateChanged();
        });
    }
    connect(mirrorBox_, &QCheckBox::clicked, this, [this] {
        SetMirror(mirrorBox_->isChecked());
        emit StateChanged();
    });
    return modes;
}

QLayout* IconPanel::BuildNavigation() {
    auto* navigation = new QHBoxLayout;
    const std::pair<const char*, void (IconPanel::*)()> buttons[] = {
        {"| <", &IconPanel::FirstIcon},
        {"<<", &IconPanel::PreviousIcon},
        {">>", &IconPanel::NextIcon},
        {"> |", &IconPanel::NextPage}};
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
    connect(iconEdit_, &QLineEdit::editingFinished, this, &IconPanel::SelectTypedIcon);
    return navigation;
}

void IconPanel::ShowIcon(int number) {
    iconNumber_ = sprite_.image.SelectIcon(number);
    Refresh(true);
}

void IconPanel::Clear() {
    iconNumber_ = 1;
    iconsShown_ = 0;
    atEnd_ = false;
    if (iconText_) {
        iconText_->setText(kNoIconsText);
        iconEdit_->clear();
    }
    ClearFields();
    picture_->Paint([](Surface&, const Rect&) {});
    emit StateChanged();
}

void IconPanel::Refresh(bool draw) {
    if (iconText_) {
        const int count = sprite_.image.IconCount();
        iconText_->setText(QString::fromStdString(
            collage_ ? FormatText("Shown: %d-%d / %d icons", iconNumber_,
                                  iconNumber_ + iconsShown_ - 1, count)
                     : FormatText("Current: %d / %d icons", iconNumber_, count)));
        iconEdit_->setText(QString::number(iconNumber_));
    }
    ShowFields();
    emit Shown();
    if (draw) Draw();
    emit StateChanged();
}

void IconPanel::ShowFields() {
    const S16Icon& r = sprite_.image.CurrentIcon();
    const int recordOrder[kFieldCount] = {r.Width,  r.Height,  r.StartX, r.StartY,
                                          r.TWidth, r.THeight, r.Starts, r.Bytes};
    const int totalFirst[kFieldCount] = {r.TWidth, r.THeight, r.StartX, r.StartY,
                                         r.Width,  r.Height,  r.Starts, r.Bytes};
    const int* values = style_.recordOrder ? recordOrder : totalFirst;
    for (int i = 0; i < kFieldCount; ++i)
        fields_[static_cast<std::size_t>(i)]->setText(QString::number(values[i]));
    compress_->setChecked(r.IsRunLength());
    if (reserved_) reserved_->setText(QString::number(r.Reserved));
}

void IconPanel::ClearFields() {
    for (QLabel* field : fields_)
        field->setText("0");
    compress_->setChecked(false);
    if (reserved_) reserved_->clear();
}

void IconPanel::Draw() {
    S16Image& image = sprite_.image;
    if (!Shows() || image.CurrentIconNumber() == 0) return;
    image.SetMirrorX(mirror_);
    picture_->Paint([&](Surface& surface, const Rect& area) {
        if (collage_) {
            iconsShown_ = DrawCollage(image, &surface, area, iconNumber_, atEnd_);
        } else {
            image.SelectIcon(iconNumber_);
            DrawIcon(image, &surface, area, zoom_);
            iconsShown_ = image.IconCount();
        }
    });
    emit Drawn();
    image.SelectIcon(iconNumber_);  // the fields show the collage's first icon
    if (collage_) Refresh(false);
}

QString IconPanel::FieldText(int field) const {
    return fields_[static_cast<std::size_t>(field)]->text();
}

QString IconPanel::ReservedText() const {
    return reserved_ ? reserved_->text() : QString();
}

bool IconPanel::CompressShown() const {
    return compress_->isChecked();
}

void IconPanel::ReadTypedIcon() {
    if (!iconEdit_) return;
    bool ok = false;
    const int typed = iconEdit_->text().toInt(&ok);
    if (ok) iconNumber_ = typed;
}

void IconPanel::FirstIcon() {
    if (!Shows()) return;
    iconNumber_ = sprite_.image.SelectIcon(1);
    Refresh(true);
}

void IconPanel::PreviousIcon() {
    ReadTypedIcon();
    if (!Shows() || iconNumber_ <= 1) return;
    iconNumber_ = sprite_.image.SelectIcon(iconNumber_ - 1);
    Refresh(true);
}

void IconPanel::NextIcon() {
    ReadTypedIcon();
    if (!Shows() || atEnd_ || iconNumber_ > sprite_.image.IconCount()) return;
    iconNumber_ = sprite_.image.SelectIcon(iconNumber_ + 1);
    Refresh(true);
}

void IconPanel::NextPage() {
    ReadTypedIcon();
    if (!Shows() || atEnd_) return;
    iconNumber_ = sprite_.image.SelectIcon(iconNumber_ + iconsShown_);
    Refresh(true);
}

void IconPanel::SelectTypedIcon() {
    ReadTypedIcon();
    if (!Shows() || sprite_.image.CurrentIconNumber() == 0) return;
    iconNumber_ = sprite_.image.SelectIcon(iconNumber_);
    Refresh(true);
}
