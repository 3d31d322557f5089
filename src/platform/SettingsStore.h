#pragma once

#include <string>

namespace lumetra {

// Per-user string values by section and entry.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string GetString(const std::string& section, const std::string& entry,
                                  const std::string& fallback = "") const = 0;
    virtual void SetString(const std::string& section, const std::string& entry,
                           const std::string& value) = 0;
    virtual bool Contains(const std::string& section, const std::string& entry) const = 0;
};

} // namespace lumetra
