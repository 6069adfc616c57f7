#include "browse/FolderHistory.h"

#include <algorithm>

#include "support/Messages.h"
#include "support/Paths.h"
#include "support/SettingsStore.h"
#include "support/Text.h"

namespace {

constexpr int kLastKeyIndex = 999;

}  // namespace

FolderHistory::FolderHistory(SettingsStore& store, std::string section, std::string prefix)
    : store_(store), section_(std::move(section)), prefix_(std::move(prefix)) {}

std::string FolderHistory::Key(int index) const {
    return FormatText("%s%04d", prefix_.c_str(), index);
}

void FolderHistory::SetMaximum(int maximum) {
    maximum_ = maximum;
    if (static_cast<int>(entries_.size()) > maximum_)
        entries_.resize(static_cast<std::size_t>(maximum_));
}

std::string FolderHistory::Load() {
    entries_.clear();
    for (int i = 0; i < maximum_; ++i) {
        const std::string value = store_.GetString(section_, Key(i), "");
        if (value.empty()) break;
        if (!existenceCheck_ || Exists(value)) entries_.push_back(value);
    }
    const std::string last = store_.GetString(section_, prefix_, "");
    const auto found = std::find_if(
        entries_.begin(), entries_.end(),
        [&](const std::string& entry) { return !last.empty() && EqualsNoCase(entry, last); });
    selected_ = found == entries_.end() ? -1 : static_cast<int>(found - entries_.begin());
    return last;
}

int FolderHistory::Add(const std::string& text) {
    const std::string entry = Trimmed(text);
    if (entry.empty()) return -1;
    const auto same = std::find_if(entries_.begin(), entries_.end(), [&](const std::string& other) {
        return EqualsNoCase(other, entry);
    });
    if (same != entries_.end()) entries_.erase(same);
    entries_.insert(entries_.begin(), entry);
    SetMaximum(maximum_);
    selected_ = 0;
    return 0;
}

void FolderHistory::Save(const std::string& currentText, bool addCurrent) {
    if (addCurrent) Add(currentText);
    const int count = static_cast<int>(entries_.size());
    for (int i = 0; i < count; ++i)
        store_.SetString(section_, Key(i), entries_[static_cast<std::size_t>(i)]);
    for (int i = count; i <= kLastKeyIndex && !store_.GetString(section_, Key(i), "").empty();
         ++i) {
        store_.Remove(section_, Key(i));
    }
    store_.SetString(section_, prefix_, currentText);
}
