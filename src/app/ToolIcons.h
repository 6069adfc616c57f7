#pragma once
// The icons of the commands on toolbars and in menus: the desktop theme's
// icon where a standard one exists, else one of the program's own SVG icons
// (toolicons.qrc), sharp at any scale.

#include <QIcon>

QIcon ToolIcon(int commandId);
