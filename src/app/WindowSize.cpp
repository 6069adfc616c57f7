#include "app/WindowSize.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void FitToScreen(QWidget* window, QSize preferred) {
    const QWidget* anchor = window->parentWidget() ? window->parentWidget() : window;
    const QScreen* screen = anchor->screen() ? anchor->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        // Room is left for the frame the window manager draws around the window.
        const QSize room = screen->availableGeometry().size() - QSize(16, 48);
        preferred = preferred.boundedTo(room);
    }
    window->resize(preferred.expandedTo(window->minimumSizeHint()));
}
