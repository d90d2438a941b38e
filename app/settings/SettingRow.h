#pragma once
// The rows of the settings pages whose controls edit one integer key of the settings each:
// what the control shows, which field of the settings record it edits and how a control
// position maps to the value stored. Pure data and rules; the pages make the controls.

#include <string>
#include <vector>

#include "store/AppSettings.h"

enum class RowKind {
    Label,   // a text only
    Check,   // ticked stores 1, clear stores 0
    Combo,   // the item chosen; stored as the item's value (its index unless given)
    Slider,  // the position, minimum ... maximum
};

struct SettingRow {
    RowKind kind = RowKind::Label;
    std::wstring text;                  // the label's or check box's text; a combo's label
    std::vector<std::wstring> items;    // a combo's items
    std::vector<int> itemValues;        // the value each item stores; empty: the item's index
    int AppSettings::*field = nullptr;  // null for a label
    int minimum = 0, maximum = 0;       // a slider's range
    int width96 = 0;                    // a slider's width at 96 dots per inch

    static SettingRow Label(std::wstring text);
    static SettingRow Check(std::wstring text, int AppSettings::*field);
    static SettingRow Combo(std::wstring label, std::vector<std::wstring> items, int AppSettings::*field,
                            std::vector<int> itemValues = {});
    static SettingRow Slider(int minimum, int maximum, int width96, int AppSettings::*field);
};

struct SettingGroup {
    std::wstring caption;
    std::vector<SettingRow> rows;
};

// Pure: the value a row stores for a control position (check 0/1, item index, slider
// position); a position outside the control's range stores the nearest one.
int StoredValueOf(const SettingRow& row, int controlValue);
// Pure: the control position that shows a stored value. A value no item stores shows the
// first item; a slider shows the nearest position of its range; a check box is ticked by 1.
int ControlValueOf(const SettingRow& row, int storedValue);

// The thumbnail intervals the strip can show, in seconds.
constexpr int kThumbIntervalMin = 1;
constexpr int kThumbIntervalMax = 600;
// Pure: a typed interval read as a decimal integer ("abc" reads 0), then kept within
// 1 ... 600: an interval of 0 would divide by zero wherever the strip counts its cells.
int ThumbIntervalFromText(const std::wstring& text);

// Pure: the sound page's text under the balance slider: "左右スピーカー均等(±0)dB" at 0,
// "右スピーカ(＋%d)dB" for the right, "左スピーカ(＋%d)dB" with the negated value for the left.
std::wstring BalanceCaption(int balanceDb);
// Pure: the content page's text beside the volume offset slider, "(%2d)".
std::wstring VolumeOffsetCaption(int offset);
