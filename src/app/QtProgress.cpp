#include "app/QtProgress.h"

#include <QCoreApplication>
#include <QProgressBar>

void QtProgress::Show() {
    bar_->show();
    shownPercent_ = -1;
    Repaint();
}

void QtProgress::SetRange(int maximum) {
    bar_->setRange(0, maximum > 0 ? maximum : 1);
    bar_->setValue(0);
}

void QtProgress::Step(int count) {
    bar_->setValue(std::min(bar_->value() + count, bar_->maximum()));
    // Painting costs: only a visible change of the bar is worth it.
    const int percent = static_cast<int>(100LL * bar_->value() / bar_->maximum());
    if (percent != shownPercent_) {
        shownPercent_ = percent;
        Repaint();
    }
}

void QtProgress::Hide() {
    bar_->hide();
}

void QtProgress::Repaint() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
