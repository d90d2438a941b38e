#pragma once
// The one place commands go through. Each command number (or range of numbers) has a handler
// and a state answer; menus, the tool bar, the keys and the on-screen control bar all run
// commands here and ask here whether a command is available or checked, so no two of them
// can disagree. Before every command the router runs the "before each" step (the main window
// ends a pending window drag and notes user activity).
// Pure logic: no window; handlers are whatever the owner registers.
// Thread: UI (owned by the main window).

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

struct CommandState {
    bool enabled = false;  // the command would run now (menus show it greyed otherwise)
    bool checked = false;  // the state the command stands for is on (check marks, pressed buttons)
};

class CommandRouter_CL {
public:
    using Handler = std::function<void(WORD command, LPARAM lParam)>;
    using StateQuery = std::function<CommandState(WORD command)>;

    // Thread: UI. Registers commands first ... last (inclusive). A later registration of a
    // number takes precedence. Without a state query the commands are always enabled and never
    // checked.
    void Register(WORD first, WORD last, Handler run, StateQuery state = nullptr);
    void Register(WORD command, Handler run, StateQuery state = nullptr) {
        Register(command, command, std::move(run), std::move(state));
    }
    // Thread: UI. Runs before every command that is run (not for greyed or unknown ones), with
    // the command's number.
    void SetBeforeEach(std::function<void(WORD command)> step) { m_beforeEach = std::move(step); }

    // Thread: UI. Runs the command; false when no handler knows it or it is greyed now.
    bool Run(WORD command, LPARAM lParam = 0) const;
    // Thread: UI. What the menus and buttons show; an unknown command is greyed.
    CommandState State(WORD command) const;
    bool Knows(WORD command) const { return Find(command) != nullptr; }

private:
    struct Entry {
        WORD first;
        WORD last;
        Handler run;
        StateQuery state;
    };
    const Entry* Find(WORD command) const;

    std::vector<Entry> m_entries;
    std::function<void(WORD command)> m_beforeEach;
};
