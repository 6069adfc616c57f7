#include "app/IconListModel.h"

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
    if (spec.empty()) return "*.bmp";
    if (!SplitPath(spec, kPathExtension).empty()) return spec;
    std::string result = spec;
    if (result.back() == ' ') result.back() = '*';
    return result + ".bmp";
}
