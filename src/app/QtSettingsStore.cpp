#include "app/QtSettingsStore.h"

namespace {

QString KeyOf(const std::string& section, const std::string& name) {
    return QString::fromStdString(section + "/" + name);
}

}  // namespace

QtSettingsStore::QtSettingsStore() : settings_("Zentrik_Tools", "Varnok Dat Tool") {}

std::string QtSettingsStore::GetString(const std::string& section, const std::string& name,
                                       const std::string& fallback) const {
    const QVariant value = settings_.value(KeyOf(section, name));
    return value.isValid() ? value.toString().toStdString() : fallback;
}

int QtSettingsStore::GetInt(const std::string& section, const std::string& name,
                            int fallback) const {
    bool ok = false;
    const int value = settings_.value(KeyOf(section, name)).toInt(&ok);
    return ok ? value : fallback;
}

void QtSettingsStore::SetString(const std::string& section, const std::string& name,
                                const std::string& value) {
    settings_.setValue(KeyOf(section, name), QString::fromStdString(value));
}

void QtSettingsStore::SetInt(const std::string& section, const std::string& name, int value) {
    settings_.setValue(KeyOf(section, name), value);
}

void QtSettingsStore::Remove(const std::string& section, const std::string& name) {
    settings_.remove(KeyOf(section, name));
}

std::vector<std::string> QtSettingsStore::Names(const std::string& section) const {
    settings_.beginGroup(QString::fromStdString(section));
    std::vector<std::string> names;
    for (const QString& key : settings_.childKeys())
        names.push_back(key.toStdString());
    settings_.endGroup();
    return names;
}
