#pragma once
// Labels that show a folder or file path: the path may wrap after any
// separator, so that a deep folder does not make its window wider than the
// screen; the tooltip holds it whole.

#include <string>

class QLabel;

void ShowPathIn(QLabel* label, const std::string& path);
