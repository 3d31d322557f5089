#pragma once

#include <string>
#include <string_view>

namespace lumetra {

// The rules that decide whether a start may hand its files to a running Lumetra. Anyone who can
// put a channel where a start looks for one receives the names of the files it opens, so the
// channel lives only in a folder that is the user's alone, and each desktop display and settings
// location has a channel of its own.

// What the file system says about the folder meant to hold the channel (lstat: a link is not a
// folder).
struct FolderFacts {
    bool exists = false;
    bool isFolder = false;
    unsigned owner = 0;
    unsigned mode = 0; // the permission bits
};

enum class FolderTrust { Private, NotAbsolute, Missing, NotAFolder, ForeignOwner, OpenToOthers };

// Private only for an absolute folder the user owns and no one else may enter (mode 0700 or
// less).
FolderTrust CheckChannelFolder(std::string_view folder, const FolderFacts& facts, unsigned uid);

// The line written to the error stream when a start runs on its own for want of a channel.
std::string FolderRefusal(FolderTrust trust, std::string_view folder);
std::string ForeignChannelNote(std::string_view channel);
std::string NoAnswerNote();
std::string BadInstanceNameNote(std::string_view name);

// Where the channel's folder is when the desktop gives the user no runtime folder.
std::string FallbackChannelFolder(std::string_view tempFolder, unsigned uid);

// The channel's name inside its folder for a display and a settings location. The Wayland display
// counts when there is one (the toolkit then draws there), else the X display without its screen
// number.
std::string ChannelName(std::string_view waylandDisplay, std::string_view xDisplay,
                        std::string_view settingsLocation);

// True when `name` can name the channel inside its folder: no folder of its own, no "." or "..".
bool IsPlainChannelName(std::string_view name);

} // namespace lumetra
