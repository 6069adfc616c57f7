#include "app/RecentFiles.h"

#include <algorithm>

#include "support/Messages.h"
#include "support/SettingsStore.h"

namespace {

constexpr const char* kSection = "Recent File List";

std::string Key(int index) {
    return FormatText("File%d", index + 1);
}

}  // namespace

void RecentFiles::Load(const SettingsStore& store) {
    paths_.clear();
    for (int i = 0; i < kMaximum; ++i) {
        const std::string path = store.GetString(kSection, Key(i), "");
        if (!path.empty()) paths_.push_back(path);
    }
}

void RecentFiles::Save(SettingsStore& store) const {
    for (int i = 0; i < kMaximum; ++i) {
        if (i < static_cast<int>(paths_.size())) {
            store.SetString(kSection, Key(i), paths_[static_cast<std::size_t>(i)]);
        } else {
            store.Remove(kSection, Key(i));
        }
    }
}

void RecentFiles::Add(const std::string& path) {
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
    paths_.insert(paths_.begin(), path);
    if (static_cast<int>(paths_.size()) > kMaximum) paths_.resize(kMaximum);
}
