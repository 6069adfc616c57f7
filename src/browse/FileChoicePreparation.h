#pragma once
// How a file dialog is prepared from what its caller asks for: the folder it
// opens in, the name it proposes, and the defaults for title, filter and
// default extension. Free of widgets.

#include <string>

#include "support/UserInterface.h"

struct PreparedFileChoice {
    std::string folder;       // the folder the dialog opens in
    std::string initialPath;  // folder + name + extension, "*" and ".*" when missing
    std::string title;
    std::string filter;  // "Name|pattern|" pairs
    std::string defaultExtension;
};

PreparedFileChoice PrepareFileChoice(const FileChoice& choice, bool multipleSelection);

// The filter in Qt's syntax: "Name|*.ext|..." becomes "Name (*.ext *.EXT);;...".
std::string ToQtFilter(const std::string& filter);
