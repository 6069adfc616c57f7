#pragma once
// Plays the icons of the sprite an icon panel shows, one after the other:
// Play / Stop, a speed in icons per second and a Loop switch. The panel is
// put into single-icon mode while it plays.

#include <QTimer>
#include <QWidget>

class IconPanel;
class QCheckBox;
class QPushButton;
class QSpinBox;
class S16Image;

class AnimationBar : public QWidget {
    Q_OBJECT
public:
    AnimationBar(IconPanel& panel, S16Image& image, QWidget* parent = nullptr);

    void Play();
    void Stop();
    bool Playing() const { return timer_.isActive(); }
    // Shows the next icon; past the last one, the first (looping) or stops.
    void Advance();

    QPushButton* PlayButton() const { return play_; }
    QSpinBox* Speed() const { return speed_; }
    QCheckBox* Loop() const { return loop_; }

private:
    void SetInterval();

    IconPanel& panel_;
    S16Image& image_;
    QTimer timer_;
    QPushButton* play_;
    QSpinBox* speed_;
    QCheckBox* loop_;
};
