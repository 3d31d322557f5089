#include "app/QtSettingsStore.h"

namespace lumetra {

QtSettingsStore::QtSettingsStore() : m_settings("Vandrel Enterprises", "Lumetra") {}

QString QtSettingsStore::Key(const std::string& section, const std::string& entry) {
    return QString::fromStdString(section + "/" + entry);
}

std::string QtSettingsStore::GetString(const std::string& section, const std::string& entry,
                                       const std::string& fallback) const {
    return m_settings.value(Key(section, entry), QString::fromStdString(fallback))
        .toString()
        .toStdString();
}

void QtSettingsStore::SetString(const std::string& section, const std::string& entry,
                                const std::string& value) {
    m_settings.setValue(Key(section, entry), QString::fromStdString(value));
}

bool QtSettingsStore::Contains(const std::string& section, const std::string& entry) const {
    return m_settings.contains(Key(section, entry));
}

} // namespace lumetra
