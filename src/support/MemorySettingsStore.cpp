#include "support/MemorySettingsStore.h"

#include <charconv>

std::string MemorySettingsStore::GetString(const std::string& section, const std::string& name,
                                           const std::string& fallback) const {
    const auto found = values_.find({section, name});
    return found == values_.end() ? fallback : found->second;
}

int MemorySettingsStore::GetInt(const std::string& section, const std::string& name,
                                int fallback) const {
    const auto found = values_.find({section, name});
    if (found == values_.end()) return fallback;
    int value = fallback;
    const std::string& text = found->second;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

void MemorySettingsStore::SetString(const std::string& section, const std::string& name,
                                    const std::string& value) {
    values_[{section, name}] = value;
}

void MemorySettingsStore::SetInt(const std::string& section, const std::string& name, int value) {
    values_[{section, name}] = std::to_string(value);
}

void MemorySettingsStore::Remove(const std::string& section, const std::string& name) {
    values_.erase({section, name});
}

std::vector<std::string> MemorySettingsStore::Names(const std::string& section) const {
    std::vector<std::string> names;
    for (const auto& [key, value] : values_) {
        if (key.first == section) names.push_back(key.second);
    }
    return names;
}
