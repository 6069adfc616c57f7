#pragma once
// Choosing files: the only code that runs Qt's file dialog. The caller's
// request is prepared (folder, proposed name, defaults) before it is shown.

#include <string>
#include <vector>

#include "support/UserInterface.h"

class QWidget;

// An open dialog (`open`) or a save dialog; the chosen path, or empty.
std::string SelectFile(const FileChoice& choice, bool open, QWidget* parent = nullptr);
std::string SelectSaveFile(const FileChoice& choice, QWidget* parent = nullptr);
// An open dialog choosing several files; empty when cancelled.
std::vector<std::string> SelectFiles(const FileChoice& choice, QWidget* parent = nullptr);
