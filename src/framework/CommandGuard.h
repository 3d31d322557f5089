#pragma once

namespace lumetra {

class Ui;

inline constexpr const char* kEscapedOutOfMemory = "Out of Memory!\nSHUT DOWN APPLICATION NOW!";
inline constexpr const char* kCommandFailed = "Command failed.";

// Call only inside a catch block: shows the exception being handled through the Ui (out of
// memory with the program's own text, anything else as a failed command with its reason).
void ShowEscapedException(Ui& ui);

// The last catch of a command: an exception that escaped every handler is shown and the
// program goes on, its documents intact. False when the command ended that way.
template <typename Command> bool RunGuarded(Ui& ui, Command&& command) {
    try {
        command();
        return true;
    } catch (...) {
        ShowEscapedException(ui);
        return false;
    }
}

} // namespace lumetra
