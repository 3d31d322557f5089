#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>

namespace lumetra {

// The user's settings under "Vandrel Enterprises" / "Lumetra".
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();
    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& fallback = "") const override;
    void SetString(const std::string& section, const std::string& entry,
                   const std::string& value) override;
    bool Contains(const std::string& section, const std::string& entry) const override;
    // The file the settings live in.
    QString Location() const { return m_settings.fileName(); }

private:
    static QString Key(const std::string& section, const std::string& entry);
    mutable QSettings m_settings;
};

} // namespace lumetra
