#pragma once
// The S16 Maker's ordered list of bitmaps that become one S16 file, entries
// "#%03d : name" numbered from 1, and the file spec rule of its bitmap list.
// Free of widgets.

#include <string>
#include <vector>

class IconListModel {
public:
    // Appends one entry per base name.
    void Add(const std::vector<std::string>& baseNames);
    // Removes entry `index` and renumbers; false when there is none.
    bool Remove(int index);
    // Moves entry `index` one place (step -1 up, +1 down); returns its new
    // index, or `index` when it cannot move.
    int Move(int index, int step);
    void Clear() { names_.clear(); }

    int Count() const { return static_cast<int>(names_.size()); }
    // The entry texts, "#001 : tree", ...
    std::vector<std::string> Entries() const;

private:
    std::vector<std::string> names_;
};

// The file spec as the bitmap list uses it: patterns separated by ";"; empty
// gives "*.bmp;*.png"; a pattern without extension gets ".bmp" and ".png", a
// trailing space first becoming "*".
std::string NormalizeFileSpec(const std::string& spec);
// The patterns of a file spec, in order.
std::vector<std::string> FileSpecPatterns(const std::string& spec);
