#pragma once
// The application's icon, in every size drawn at build time, for the window
// title, the task bar and the About box.

#include <QIcon>

QIcon ApplicationIcon();
