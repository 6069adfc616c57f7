#pragma once
// The settings store over QSettings("Zentrik_Tools", "Varnok Dat Tool").

#include <QSettings>

#include "support/SettingsStore.h"

class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();

    std::string GetString(const std::string& section, const std::string& name,
                          const std::string& fallback) const override;
    int GetInt(const std::string& section, const std::string& name, int fallback) const override;
    void SetString(const std::string& section, const std::string& name,
                   const std::string& value) override;
    void SetInt(const std::string& section, const std::string& name, int value) override;
    void Remove(const std::string& section, const std::string& name) override;
    std::vector<std::string> Names(const std::string& section) const override;

private:
    mutable QSettings settings_;
};
