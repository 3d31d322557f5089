#pragma once

#include "framework/CommandTable.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace lumetra {

// What a command looks like in menus and on the toolbar right now.
struct CommandState {
    bool enabled = true;
    bool checked = false;
    std::string text; // the menu text when the handler names what the command acts on
};

// How one target takes one command: what it runs and what its menu entry shows.
class CommandHandler {
public:
    explicit CommandHandler(std::function<void()> run) : m_run(std::move(run)) {}
    // Another rule than the command's own, for this target only.
    CommandHandler& EnabledBy(EnableRule rule) {
        m_rule = rule;
        return *this;
    }
    CommandHandler& Checked(std::function<bool()> checked) {
        m_checked = std::move(checked);
        return *this;
    }
    // A menu text of the moment ("&Undo Paste"); "" keeps the table's.
    CommandHandler& Named(std::function<std::string()> text) {
        m_text = std::move(text);
        return *this;
    }
    // Runs whenever the command's state is asked for (at idle time).
    CommandHandler& OnUpdate(std::function<void()> onUpdate) {
        m_onUpdate = std::move(onUpdate);
        return *this;
    }

private:
    friend class CCommandTarget;
    std::function<void()> m_run;
    std::optional<EnableRule> m_rule;
    std::function<bool()> m_checked;
    std::function<std::string()> m_text;
    std::function<void()> m_onUpdate;
};

// Something that takes commands: a view, the main frame, the application. Each registers the
// commands it handles and answers the enable rules of the facts it owns; the command table says
// which rule enables which command.
class CCommandTarget {
public:
    virtual ~CCommandTarget() = default;
    // True when this target handled the command.
    bool OnCommand(int id);
    // The command's state when this target handles it; nothing when it does not.
    std::optional<CommandState> OnUpdateCommand(int id) const;

protected:
    CommandHandler& Handle(int id, std::function<void()> run);
    // The handler registered for a command, to change how this target shows it.
    CommandHandler& Handler(int id) { return m_handlers.at(id); }
    void Answer(EnableRule rule, std::function<bool()> holds);

private:
    std::map<int, CommandHandler> m_handlers;
    std::map<EnableRule, std::function<bool()>> m_answers;
};

// The commands of the active view, the main frame and the application, asked in this order: the
// first that handles a command takes it. While the active view's document is busy its view is
// passed over, and its commands are greyed.
struct CommandRoute {
    CCommandTarget* view = nullptr;
    bool viewBusy = false;
    CCommandTarget* frame = nullptr;
    CCommandTarget* app = nullptr;

    // False when nobody handled the command.
    bool Run(int id) const;
    // A command nobody handles is unavailable.
    CommandState State(int id) const;
};

} // namespace lumetra
