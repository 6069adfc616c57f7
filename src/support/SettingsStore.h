#pragma once
// The seam for the per-user settings: string and integer values by section
// and name.

#include <string>
#include <vector>

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string GetString(const std::string& section, const std::string& name,
                                  const std::string& fallback) const = 0;
    virtual int GetInt(const std::string& section, const std::string& name, int fallback) const = 0;
    virtual void SetString(const std::string& section, const std::string& name,
                           const std::string& value) = 0;
    virtual void SetInt(const std::string& section, const std::string& name, int value) = 0;
    virtual void Remove(const std::string& section, const std::string& name) = 0;
    // Names of the values a section holds.
    virtual std::vector<std::string> Names(const std::string& section) const = 0;
};
