#pragma once
// Settings kept in memory: for tests and for the command line.

#include <map>
#include <utility>

#include "support/SettingsStore.h"

class MemorySettingsStore final : public SettingsStore {
public:
    std::string GetString(const std::string& section, const std::string& name,
                          const std::string& fallback) const override;
    int GetInt(const std::string& section, const std::string& name, int fallback) const override;
    void SetString(const std::string& section, const std::string& name,
                   const std::string& value) override;
    void SetInt(const std::string& section, const std::string& name, int value) override;
    void Remove(const std::string& section, const std::string& name) override;
    std::vector<std::string> Names(const std::string& section) const override;

private:
    std::map<std::pair<std::string, std::string>, std::string> values_;
};
