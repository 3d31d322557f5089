#pragma once

#include <string>
#include <vector>

namespace lumetra {

class SettingsStore;

// The most recently opened or saved data files, newest first, kept under "Recent File List".
class CRecentFileList {
public:
    static constexpr int kSize = 4;
    static constexpr size_t kMenuChars = 30;

    explicit CRecentFileList(SettingsStore& settings);

    void ReadList();
    void WriteList() const;
    void Add(const std::string& path);
    void Remove(const std::string& path);
    const std::vector<std::string>& Files() const { return m_files; }

    // The menu text of entry index (0-based): "&1 " and the path shortened to 30 characters.
    std::string MenuText(size_t index) const;

    // A path shortened to at most maxChars: the root, "...", and as many of the last folders as
    // fit before the file name; the file name alone when even one folder does not fit.
    static std::string Abbreviate(const std::string& path, size_t maxChars);

private:
    SettingsStore& m_settings;
    std::vector<std::string> m_files;
};

} // namespace lumetra
