#include "app/settings/SettingRow.h"

#include "app/settings/SettingsTexts.h"

#include <algorithm>
#include <cwchar>

SettingRow SettingRow::Label(std::wstring text) {
    SettingRow row;
    row.kind = RowKind::Label;
    row.text = std::move(text);
    return row;
}

SettingRow SettingRow::Check(std::wstring text, int AppSettings::*field) {
    SettingRow row;
    row.kind = RowKind::Check;
    row.text = std::move(text);
    row.field = field;
    return row;
}

SettingRow SettingRow::Combo(std::wstring label, std::vector<std::wstring> items, int AppSettings::*field,
                             std::vector<int> itemValues) {
    SettingRow row;
    row.kind = RowKind::Combo;
    row.text = std::move(label);
    row.items = std::move(items);
    row.itemValues = std::move(itemValues);
    row.field = field;
    return row;
}

SettingRow SettingRow::Slider(int minimum, int maximum, int width96, int AppSettings::*field) {
    SettingRow row;
    row.kind = RowKind::Slider;
    row.minimum = minimum;
    row.maximum = maximum;
    row.width96 = width96;
    row.field = field;
    return row;
}

int StoredValueOf(const SettingRow& row, int controlValue) {
    switch (row.kind) {
    case RowKind::Check:
        return controlValue != 0 ? 1 : 0;
    case RowKind::Combo: {
        const int count = static_cast<int>(row.items.size());
        if (count == 0) return 0;
        const int item = std::clamp(controlValue, 0, count - 1);
        return item < static_cast<int>(row.itemValues.size()) ? row.itemValues[static_cast<size_t>(item)] : item;
    }
    case RowKind::Slider:
        return std::clamp(controlValue, row.minimum, row.maximum);
    case RowKind::Label:
        break;
    }
    return 0;
}

int ControlValueOf(const SettingRow& row, int storedValue) {
    switch (row.kind) {
    case RowKind::Check:
        return storedValue == 1 ? 1 : 0;
    case RowKind::Combo: {
        const int count = static_cast<int>(row.items.size());
        for (int item = 0; item < count; ++item) {
            const int value =
                item < static_cast<int>(row.itemValues.size()) ? row.itemValues[static_cast<size_t>(item)] : item;
            if (value == storedValue) return item;
        }
        return 0;
    }
    case RowKind::Slider:
        return std::clamp(storedValue, row.minimum, row.maximum);
    case RowKind::Label:
        break;
    }
    return 0;
}

int ThumbIntervalFromText(const std::wstring& text) {
    const long value = std::wcstol(text.c_str(), nullptr, 10);  // stops at the first non-digit; none reads 0
    if (value < kThumbIntervalMin) return kThumbIntervalMin;
    if (value > kThumbIntervalMax) return kThumbIntervalMax;
    return static_cast<int>(value);
}

std::wstring BalanceCaption(int balanceDb) {
    if (balanceDb == 0) return kBalanceEven;
    wchar_t text[64];
    std::swprintf(text, 64, balanceDb > 0 ? kBalanceRightFormat : kBalanceLeftFormat,
                  balanceDb > 0 ? balanceDb : -balanceDb);
    return text;
}

std::wstring VolumeOffsetCaption(int offset) {
    wchar_t text[32];
    std::swprintf(text, 32, kVolumeOffsetFormat, offset);
    return text;
}
