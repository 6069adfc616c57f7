#include "app/PictureArea.h"

#include <QPainter>

#include "app/QtSurface.h"

namespace {

constexpr int kBorder = 4;

}  // namespace

PictureArea::PictureArea(QWidget* parent) : QWidget(parent) {
    setMinimumSize(200, 160);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

Rect PictureArea::Area() const {
    return Rect{kBorder, kBorder, width() - kBorder, height() - kBorder};
}

void PictureArea::Paint(const std::function<void(Surface&, const Rect&)>& draw) {
    if (width() <= 0 || height() <= 0) return;  // not laid out yet: nothing to paint on
    if (picture_.size() != size()) picture_ = QImage(size(), QImage::Format_RGB32);
    picture_.fill(palette().color(QPalette::Window));
    {
        QPainter painter(&picture_);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(1, 1, width() - 3, height() - 3);
        QtSurface surface(painter);
        draw(surface, Area());
    }
    update();
}

void PictureArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!picture_.isNull()) painter.drawImage(0, 0, picture_);
}

void PictureArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit Resized();
}
