#pragma once
// The framed picture area of the tool views. Drawing goes into a picture of
// the area's size through a Surface; the widget shows that picture.

#include <QImage>
#include <QWidget>
#include <functional>

#include "bitmap/Surface.h"

class PictureArea : public QWidget {
    Q_OBJECT
public:
    explicit PictureArea(QWidget* parent = nullptr);

    // The drawing rectangle: the widget less a 4-pixel border.
    Rect Area() const;
    // Runs `draw` on a Surface over the picture and shows the result.
    void Paint(const std::function<void(Surface&, const Rect&)>& draw);
    // What is shown now.
    const QImage& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

signals:
    void Resized();

private:
    QImage picture_;
};
