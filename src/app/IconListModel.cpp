#include "app/IconListModel.h"

#include <algorithm>
#include <utility>

#include "sprite/S16Builder.h"
#include "support/Paths.h"

void IconListModel::Add(const std::vector<std::string>& baseNames) {
    names_.insert(names_.end(), baseNames.begin(), baseNames.end());
}

bool IconListModel::Remove(int index) {
    if (index < 0 || index >= Count()) return false;
    names_.erase(names_.begin() + index);
    return true;
}

int IconListModel::Move(int index, int step) {
    const int target = index + step;
    if (index < 0 || index >= Count() || target < 0 || target >= Count()) return index;
    std::swap(names_[static_cast<std::size_t>(index)], names_[static_cast<std::size_t>(target)]);
    return target;
}

std::vector<std::string> IconListModel::Entries() const {
    std::vector<std::string> entries;
    for (int i = 0; i < Count(); ++i)
        entries.push_back(IconListEntry(i + 1, names_[static_cast<std::size_t>(i)]));
    return entries;
}

std::string NormalizeFileSpec(const std::string& spec) {
    std::string result;
    for (std::string pattern : FileSpecPatterns(spec)) {
        if (!result.empty()) result += ";";
        if (!SplitPath(pattern, kPathExtension).empty()) {
            result += pattern;
            continue;
        }
        if (pattern.back() == ' ') pattern.back() = '*';
        result += pattern + ".bmp;" + pattern + ".png";
    }
    return result.empty() ? "*.bmp;*.png" : result;
}

std::vector<std::string> FileSpecPatterns(const std::string& spec) {
    std::vector<std::string> patterns;
    std::size_t at = 0;
    while (at <= spec.size()) {
        const std::size_t end = std::min(spec.find(';', at), spec.size());
        if (end > at) patterns.push_back(spec.substr(at, end - at));
        at = end + 1;
    }
    return patterns;
}
