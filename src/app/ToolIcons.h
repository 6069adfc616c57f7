#pragma once
// The toolbar icons, drawn by the program itself: a coloured tile with the
// command's short text.

#include <QIcon>

QIcon ToolIcon(int commandId);
