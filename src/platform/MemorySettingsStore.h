#pragma once

#include "platform/SettingsStore.h"

#include <map>
#include <utility>

namespace lumetra {

// Settings that live only as long as the process: tests, and lumetra-cli, which must not touch
// the desktop user's remembered paths.
class MemorySettingsStore : public SettingsStore {
public:
    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& fallback = "") const override;
    void SetString(const std::string& section, const std::string& entry,
                   const std::string& value) override;
    bool Contains(const std::string& section, const std::string& entry) const override;

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};

} // namespace lumetra
