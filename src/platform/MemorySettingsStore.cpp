#include "platform/MemorySettingsStore.h"

namespace lumetra {

std::string MemorySettingsStore::GetString(const std::string& section, const std::string& entry,
                                           const std::string& fallback) const {
    auto it = m_values.find({section, entry});
    return it == m_values.end() ? fallback : it->second;
}

void MemorySettingsStore::SetString(const std::string& section, const std::string& entry,
                                    const std::string& value) {
    m_values[{section, entry}] = value;
}

bool MemorySettingsStore::Contains(const std::string& section, const std::string& entry) const {
    return m_values.count({section, entry}) != 0;
}

} // namespace lumetra
