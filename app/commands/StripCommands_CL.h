#pragma once
// The commands of the thumbnail strip's menu that act on its selection or its interval: the
// six thumbnail intervals, skip ranges and favourites set from the selected cells (the
// favourite's name asked for first) and the A-B loop over them. The moves, clears and sizes
// the picture menu shares are PlayerCommands_CL's. Also gives the strip menu its state.
// Thread: UI (owned by the main window).

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/commands/StripMenu.h"

class AppSettings;
class CommandHost_CL;
class CommandRouter_CL;
class StripHost_CL;

// The skip range or loop a selection of cells stands for: from the first cell's time to the
// end of the last cell (first <= last, interval > 0).
struct SelectionSpan {
    int64_t begin = 0;
    int64_t end = 0;
};
SelectionSpan SpanOfCells(int first, int last, int64_t interval);

class StripCommands_CL {
public:
    // The prompt of the favourite's name.
    static constexpr wchar_t kFavoriteNamePrompt[] =
        L"お気に入りの名称を入力してください。（省略する場合はそのままＯＫを押してください）";
    // A name longer than this is cut by the field.
    static constexpr int kFavoriteNameLimit = 256;

    StripCommands_CL(CommandHost_CL& host, StripHost_CL& strip, AppSettings& settings)
        : m_host(host), m_strip(strip), m_settings(settings) {}

    void Register(CommandRouter_CL& router);
    StripMenuState StripMenuStateNow() const;

    // Asks for a favourite's name (modal). Tests replace it; the default shows SingleEdit_CL.
    using NamePrompt = bool (*)(HWND owner, std::wstring* name);
    void SetNamePrompt(NamePrompt prompt) { m_prompt = prompt; }

private:
    bool RecordLoaded() const;
    bool Selection(int* first, int* last) const;
    void SetInterval(int index);
    void SetSkipRange(int index);
    void SetFavorite(int index);
    void StartLoop();

    CommandHost_CL& m_host;
    StripHost_CL& m_strip;
    AppSettings& m_settings;
    NamePrompt m_prompt = nullptr;
};
