#pragma once
// The remembered folder history of the folder browser, kept in the settings
// store as "Folder0000", "Folder0001", ... (most recent first) and "Folder"
// (the text last shown). Free of widgets, so that its rules are tested alone.

#include <string>
#include <vector>

class SettingsStore;

class FolderHistory {
public:
    explicit FolderHistory(SettingsStore& store, std::string section = "FolderHistory",
                           std::string prefix = "Folder");

    // At most this many entries; extra ones are dropped from the end at once.
    void SetMaximum(int maximum);
    // Entries naming nothing that exists are not loaded.
    void SetExistenceCheck(bool on) { existenceCheck_ = on; }

    // Reads the entries, stopping at the first empty value; returns the last
    // value saved. `SelectedIndex()` is the entry equal to it, or -1.
    std::string Load();
    // Puts `text` (trimmed) first, removing an equal entry (any case).
    // Returns the index of the text, or -1 when it is empty.
    int Add(const std::string& text);
    // Writes the entries and removes the stale keys after them; with
    // `addCurrent`, `currentText` is added first. `currentText` is saved as
    // the last value.
    void Save(const std::string& currentText, bool addCurrent);

    const std::vector<std::string>& Entries() const { return entries_; }
    int SelectedIndex() const { return selected_; }
    int Maximum() const { return maximum_; }

private:
    std::string Key(int index) const;

    SettingsStore& store_;
    std::string section_;
    std::string prefix_;
    std::vector<std::string> entries_;
    int maximum_ = 100;
    bool existenceCheck_ = false;
    int selected_ = -1;
};
