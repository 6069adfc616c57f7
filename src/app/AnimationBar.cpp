#include "app/AnimationBar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "app/CommandIds.h"
#include "app/IconPanel.h"
#include "sprite/S16Image.h"

AnimationBar::AnimationBar(IconPanel& panel, S16Image& image, QWidget* parent)
    : QWidget(parent), panel_(panel), image_(image) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    play_ = new QPushButton("Play", this);
    play_->setToolTip("Play the icons one after the other (F9)");
    play_->setShortcut(QKeySequence(Qt::Key_F9));
    speed_ = new QSpinBox(this);
    speed_->setRange(1, 60);
    speed_->setValue(8);
    speed_->setSuffix(" icons/s");
    speed_->setToolTip("Speed of the animation");
    loop_ = new QCheckBox("Loop", this);
    loop_->setChecked(true);
    layout->addWidget(new QLabel("Animation", this));
    layout->addWidget(play_);
    layout->addWidget(speed_);
    layout->addWidget(loop_);
    layout->addStretch(1);
    SetInterval();
    connect(play_, &QPushButton::clicked, this, [this] { Playing() ? Stop() : Play(); });
    connect(speed_, &QSpinBox::valueChanged, this, &AnimationBar::SetInterval);
    connect(&timer_, &QTimer::timeout, this, &AnimationBar::Advance);
}

void AnimationBar::SetInterval() {
    timer_.setInterval(1000 / speed_->value());
}

void AnimationBar::Play() {
    if (image_.IconCount() < 1) return;
    // One icon at a time: a collage shows them all at once.
    if (panel_.Collage()) panel_.Run(kCmdCollage);
    play_->setText("Stop");
    play_->setShortcut(QKeySequence(Qt::Key_F9));
    timer_.start();
}

void AnimationBar::Stop() {
    timer_.stop();
    play_->setText("Play");
    play_->setShortcut(QKeySequence(Qt::Key_F9));
}

void AnimationBar::Advance() {
    const int count = image_.IconCount();
    if (count < 1) {
        Stop();
        return;
    }
    int next = panel_.IconNumber() + 1;
    if (next > count) {
        if (!loop_->isChecked()) {
            Stop();
            return;
        }
        next = 1;
    }
    panel_.ShowIcon(next);
}
