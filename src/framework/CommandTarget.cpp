#include "framework/CommandTarget.h"

namespace lumetra {

CommandHandler& CCommandTarget::Handle(int id, std::function<void()> run) {
    return m_handlers.insert_or_assign(id, CommandHandler(std::move(run))).first->second;
}

void CCommandTarget::Answer(EnableRule rule, std::function<bool()> holds) {
    m_answers[rule] = std::move(holds);
}

bool CCommandTarget::OnCommand(int id) {
    const auto it = m_handlers.find(id);
    if (it == m_handlers.end())
        return false;
    // A copy: the command may register handlers again, or end the target's registrations.
    const std::function<void()> run = it->second.m_run;
    run();
    return true;
}

std::optional<CommandState> CCommandTarget::OnUpdateCommand(int id) const {
    const auto it = m_handlers.find(id);
    if (it == m_handlers.end())
        return std::nullopt;
    const CommandHandler& handler = it->second;
    if (handler.m_onUpdate)
        handler.m_onUpdate();
    const CommandDef* def = FindCommand(id);
    const EnableRule rule = handler.m_rule.value_or(def ? def->rule : EnableRule::Always);
    CommandState state;
    if (rule != EnableRule::Always) {
        const auto answer = m_answers.find(rule);
        state.enabled = answer != m_answers.end() && answer->second();
    }
    state.checked = handler.m_checked && handler.m_checked();
    if (handler.m_text)
        state.text = handler.m_text();
    return state;
}

bool CommandRoute::Run(int id) const {
    CCommandTarget* chain[] = {viewBusy ? nullptr : view, frame, app};
    for (CCommandTarget* target : chain)
        if (target && target->OnCommand(id))
            return true;
    return false;
}

CommandState CommandRoute::State(int id) const {
    if (view)
        if (std::optional<CommandState> state = view->OnUpdateCommand(id)) {
            state->enabled = state->enabled && !viewBusy;
            return *state;
        }
    for (CCommandTarget* target : {frame, app})
        if (target)
            if (std::optional<CommandState> state = target->OnUpdateCommand(id))
                return *state;
    return {false, false, {}};
}

} // namespace lumetra
