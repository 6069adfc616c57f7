#include "app/PictureArea.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "app/QtSurface.h"

namespace {

constexpr int kBorder = 4;

}  // namespace

PictureArea::PictureArea(QWidget* parent) : QWidget(parent) {
    setMinimumSize(200, 160);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

int PictureArea::Scale() const {
    return std::max(1, static_cast<int>(std::floor(devicePixelRatioF() + 0.01)));
}

namespace {

QSize DeviceSize(const QWidget& widget) {
    return (QSizeF(widget.size()) * widget.devicePixelRatioF()).toSize();
}

}  // namespace

Rect PictureArea::Area() const {
    const QSize device = DeviceSize(*this) / Scale();
    return Rect{kBorder, kBorder, device.width() - kBorder, device.height() - kBorder};
}

void PictureArea::Paint(const std::function<void(Surface&, const Rect&)>& draw) {
    if (width() <= 0 || height() <= 0) return;  // not laid out yet: nothing to paint on
    const QSize device = DeviceSize(*this);
    if (picture_.size() != device) picture_ = QImage(device, QImage::Format_RGB32);
    picture_.fill(palette().color(QPalette::Window));
    {
        QPainter painter(&picture_);
        const int scale = Scale();
        painter.scale(scale, scale);
        const QSize drawn = device / scale;
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(1, 1, drawn.width() - 3, drawn.height() - 3);
        QtSurface surface(painter);
        draw(surface, Area());
    }
    update();
}

void PictureArea::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    // One picture pixel on one device pixel: nothing is smoothed.
    QImage shown = picture_;
    shown.setDevicePixelRatio(devicePixelRatioF());
    painter.drawImage(0, 0, shown);
}

void PictureArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit Resized();
}
