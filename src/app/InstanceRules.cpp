#include "app/InstanceRules.h"

#include <cstdint>
#include <cstdio>

namespace lumetra {
namespace {

constexpr unsigned kOthersBits = 077;

std::string_view WithoutScreen(std::string_view display) {
    const size_t colon = display.rfind(':');
    const size_t dot = display.rfind('.');
    if (colon != std::string_view::npos && dot != std::string_view::npos && dot > colon)
        return display.substr(0, dot);
    return display;
}

// FNV-1a: short, stable from run to run and from build to build; the folder, not the name,
// keeps the channel safe.
std::uint64_t Fingerprint(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace

FolderTrust CheckChannelFolder(std::string_view folder, const FolderFacts& facts, unsigned uid) {
    if (folder.empty() || folder.front() != '/')
        return FolderTrust::NotAbsolute;
    if (!facts.exists)
        return FolderTrust::Missing;
    if (!facts.isFolder)
        return FolderTrust::NotAFolder;
    if (facts.owner != uid)
        return FolderTrust::ForeignOwner;
    if (facts.mode & kOthersBits)
        return FolderTrust::OpenToOthers;
    return FolderTrust::Private;
}

std::string FolderRefusal(FolderTrust trust, std::string_view folder) {
    const char* why = "";
    switch (trust) {
    case FolderTrust::Private:
        return "";
    case FolderTrust::NotAbsolute:
        why = "is not an absolute path";
        break;
    case FolderTrust::Missing:
        why = "does not exist";
        break;
    case FolderTrust::NotAFolder:
        why = "is not a folder";
        break;
    case FolderTrust::ForeignOwner:
        why = "belongs to another user";
        break;
    case FolderTrust::OpenToOthers:
        why = "is open to other users";
        break;
    }
    return "Lumetra: the channel folder \"" + std::string(folder) + "\" " + why +
           "; starting on its own.";
}

std::string ForeignChannelNote(std::string_view channel) {
    return "Lumetra: the channel \"" + std::string(channel) +
           "\" is held by another user; starting on its own.";
}

std::string NoAnswerNote() {
    return "Lumetra: the running Lumetra did not answer; starting on its own.";
}

std::string BadInstanceNameNote(std::string_view name) {
    return "Lumetra: LUMETRA_INSTANCE \"" + std::string(name) +
           "\" is not a plain name; starting on its own.";
}

std::string FallbackChannelFolder(std::string_view tempFolder, unsigned uid) {
    return std::string(tempFolder) + "/lumetra-runtime-" + std::to_string(uid);
}

std::string ChannelName(std::string_view waylandDisplay, std::string_view xDisplay,
                        std::string_view settingsLocation) {
    std::string key = waylandDisplay.empty() ? "x11:" + std::string(WithoutScreen(xDisplay))
                                             : "wayland:" + std::string(waylandDisplay);
    key += '\n';
    key += settingsLocation;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(Fingerprint(key)));
    return std::string("lumetra-") + hex;
}

bool IsPlainChannelName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

} // namespace lumetra
