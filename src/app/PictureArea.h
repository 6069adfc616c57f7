#pragma once
// The framed picture area of the tool views. Drawing goes into a picture of
// the area's size in device pixels through a Surface; the widget shows that
// picture one to one, so that icons stay sharp on a scaled screen.

#include <QImage>
#include <QWidget>
#include <functional>

#include "bitmap/Surface.h"

class PictureArea : public QWidget {
    Q_OBJECT
public:
    explicit PictureArea(QWidget* parent = nullptr);

    // The drawing rectangle: the widget less a 4-pixel border, in the
    // picture's pixels divided by Scale().
    Rect Area() const;
    // How many device pixels one drawn pixel covers: the whole part of the
    // screen's scale, so that every pixel of an icon is a square of whole
    // device pixels (2 x 2 at 200 %, 1 x 1 at 125 %).
    int Scale() const;
    // Runs `draw` on a Surface over the picture and shows the result.
    void Paint(const std::function<void(Surface&, const Rect&)>& draw);
    // What is shown now, in device pixels.
    const QImage& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

signals:
    void Resized();

private:
    QImage picture_;
};
