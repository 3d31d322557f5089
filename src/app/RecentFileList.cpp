#include "app/RecentFileList.h"

#include "platform/SettingsStore.h"

#include <algorithm>

namespace lumetra {
namespace {

constexpr const char* kSection = "Recent File List";

std::string EntryName(int i) {
    return "File" + std::to_string(i + 1);
}

} // namespace

CRecentFileList::CRecentFileList(SettingsStore& settings) : m_settings(settings) {}

void CRecentFileList::ReadList() {
    m_files.clear();
    for (int i = 0; i < kSize; ++i) {
        const std::string path = m_settings.GetString(kSection, EntryName(i));
        if (!path.empty())
            m_files.push_back(path);
    }
}

void CRecentFileList::WriteList() const {
    for (int i = 0; i < kSize; ++i)
        m_settings.SetString(kSection, EntryName(i),
                             size_t(i) < m_files.size() ? m_files[size_t(i)] : "");
}

void CRecentFileList::Add(const std::string& path) {
    Remove(path);
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > size_t(kSize))
        m_files.resize(kSize);
}

void CRecentFileList::Remove(const std::string& path) {
    m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
}

std::string CRecentFileList::MenuText(size_t index) const {
    std::string text = Abbreviate(m_files.at(index), kMenuChars);
    // A lone "&" would underline the next letter instead of showing itself.
    for (size_t at = text.find('&'); at != std::string::npos; at = text.find('&', at + 2))
        text.insert(at, 1, '&');
    return "&" + std::to_string(index + 1) + " " + text;
}

std::string CRecentFileList::Abbreviate(const std::string& path, size_t maxChars) {
    if (path.size() <= maxChars)
        return path;
    const size_t nameStart = path.rfind('/') + 1; // 0 when there is no folder
    const std::string name = path.substr(nameStart);
    const std::string root = path.rfind('/', 0) == 0 ? "/" : "";
    // Walk back over the folders before the name while "root.../folders/name" fits.
    size_t tail = nameStart > 0 ? nameStart - 1 : std::string::npos; // the slash before the name
    std::string best;
    while (tail != std::string::npos && tail > root.size()) {
        const std::string candidate = root + "..." + path.substr(tail);
        if (candidate.size() > maxChars)
            break;
        best = candidate;
        tail = path.rfind('/', tail - 1);
    }
    return best.empty() ? name : best;
}

} // namespace lumetra
