#pragma once

#include <string>
#include <vector>

namespace lumetra {

// One entry of a menu: a command, a separator (id 0) or the place of the recent-file list.
struct MenuEntry {
    int id;
    const char* text;
    bool documentOnly; // shown only while a document window is open
};

struct MenuDef {
    const char* title;
    bool documentOnly;
    std::vector<MenuEntry> entries;
};

// The menu bar, top to bottom of each menu.
const std::vector<MenuDef>& MenuBar();

// Commands reached by a key alone, in no menu; the key follows the TAB of the text.
const std::vector<MenuEntry>& AcceleratorCommands();

// The toolbar, left to right; 0 is a gap.
const std::vector<int>& ToolbarLayout();

// The status prompt of a command, and the tool tip after its newline; "" when it has none.
std::string CommandPrompt(int id);
std::string CommandToolTip(int id);

// The menu text of a command without its accelerator ("&Save\tCtrl+S" gives "&Save").
std::string CommandMenuText(int id);

} // namespace lumetra
