#pragma once

#include <string>
#include <vector>

namespace lumetra {

// When a command is enabled. Each window that handles a command answers the rules of the facts
// it owns (a listing its pages, the main frame its windows); a rule nobody answers is false.
enum class EnableRule {
    Always,
    HaveReport,     // the document's report has a line, and nothing runs in the document
    NextPage,       // a display page follows the one shown
    PrevPage,       // a display page comes before the one shown
    SeveralPages,   // the report has more than one display page
    DocumentIdle,   // a document window is active and nothing runs in its document
    DocumentWindow, // a document window is active
    AnyWindow,      // a document window is open
    SeveralWindows, // more than one document window is open
    CopyableText,   // the active window holds text to copy
    HavePairs,      // the document holds pairs
    CanUndo,        // the document has a step to undo, and no Options sheet is open on it
    CanRedo,        // the document has a step to redo, and no Options sheet is open on it
};

enum class Menu { None, File, Edit, Options, View, Window, Help };

// One user action, defined once: menus, toolbar, keys, status prompts, the enabling at idle time
// and the help are all made from its row.
struct CommandDef {
    int id = 0;
    Menu menu = Menu::None;       // Menu::None: reached by its key, or by the program, only
    bool separatorBefore = false; // a line above it in its menu
    bool documentOnly = false;    // in the menu only while a document window is open
    const char* text = "";        // menu text with its mnemonic
    const char* shortcut = "";    // "Ctrl+S"; a second key after "; "
    const char* prompt = "";      // the status prompt; the tool tip follows a newline, if any
    const char* image = "";       // the toolbar glyph's name
    int toolbar = 0;              // the button's place: group * 10 + place in the group; 0: none
    int helpContext = 0;          // the help topic the command opens
    EnableRule rule = EnableRule::Always; // as the listing has it where several windows do
    bool checkable = false;               // shows a check mark, as its handler's state says
    const char* cliVerb = "";             // the lumetra-cli command that does the same
};

struct MenuDef {
    Menu menu;
    const char* title;
    bool documentOnly;
};

// One entry of a menu as shown: a command, or a separator (id 0).
struct MenuEntry {
    int id;
    bool documentOnly;
};

// Every command, menu by menu in menu order, then those reached only by key or by the program.
const std::vector<CommandDef>& Commands();
// The row of a command; nullptr for an id without one.
const CommandDef* FindCommand(int id);

// The menu bar, left to right.
const std::vector<MenuDef>& Menus();
// The entries of a menu, top to bottom. A separator is shown only with a document when every
// command after it, up to the next one, is.
std::vector<MenuEntry> MenuEntries(Menu menu);

// The toolbar, left to right; 0 is a gap.
const std::vector<int>& ToolbarLayout();

// The status prompt of a command, and the tool tip after its newline; "" when it has none.
std::string CommandPrompt(int id);
std::string CommandToolTip(int id);

// The menu text of a command without its shortcut.
std::string CommandMenuText(int id);

} // namespace lumetra
