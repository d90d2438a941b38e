#include "app/commands/CommandRouter_CL.h"

#include <utility>

void CommandRouter_CL::Register(WORD first, WORD last, Handler run, StateQuery state) {
    m_entries.push_back(Entry{first, last, std::move(run), std::move(state)});
}

const CommandRouter_CL::Entry* CommandRouter_CL::Find(WORD command) const {
    // Newest first: a later registration overrides an earlier range.
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (command >= it->first && command <= it->last && it->run) return &*it;
    }
    return nullptr;
}

CommandState CommandRouter_CL::State(WORD command) const {
    const Entry* entry = Find(command);
    if (!entry) return CommandState{};
    if (!entry->state) return CommandState{true, false};
    return entry->state(command);
}

bool CommandRouter_CL::Run(WORD command, LPARAM lParam) const {
    const Entry* entry = Find(command);
    if (!entry) return false;
    if (entry->state && !entry->state(command).enabled) return false;
    if (m_beforeEach) m_beforeEach(command);
    entry->run(command, lParam);
    return true;
}
