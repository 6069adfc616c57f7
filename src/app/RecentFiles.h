#pragma once
// The list of the last archives opened (at most 6, most recent first), kept
// in the settings store's section "Recent File List" as "File1" to "File6".

#include <string>
#include <vector>

class SettingsStore;

class RecentFiles {
public:
    static constexpr int kMaximum = 6;

    void Load(const SettingsStore& store);
    void Save(SettingsStore& store) const;
    // Puts `path` first; an equal entry moves rather than repeats.
    void Add(const std::string& path);
    const std::vector<std::string>& Paths() const { return paths_; }

private:
    std::vector<std::string> paths_;
};
