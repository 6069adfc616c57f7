#pragma once
// The first size of a window: what it would like, but never more than the
// screen it opens on has room for.

#include <QSize>

class QWidget;

void FitToScreen(QWidget* window, QSize preferred);
