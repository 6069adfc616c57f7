#pragma once
// One problem that a check of a whole file found: where (an archive item, an
// icon or frame) and what.

#include <string>
#include <vector>

struct FileProblem {
    std::string item;  // the archive item; empty for the file itself
    int icon = 0;      // the icon or frame number; 0 for none
    std::string what;
};

// What a check of a file found: the problems, and how much it read.
struct FileCheck {
    std::vector<FileProblem> problems;
    int items = 0;  // archive items read (0 for a file that is no archive)
    int icons = 0;  // icons or frames decoded

    bool Sound() const { return problems.empty(); }
};
