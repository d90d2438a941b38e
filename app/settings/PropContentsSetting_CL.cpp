#include "app/settings/PropContentsSetting_CL.h"

#include "app/settings/SettingRow.h"
#include "app/settings/SettingsTexts.h"
#include "base/LogFile_CL.h"
#include "store/ContentInfo.h"
#include "ui/CheckBox_CL.h"
#include "ui/ComboBox_CL.h"
#include "ui/Edit_CL.h"
#include "ui/PageLayout_CL.h"
#include "ui/TrackBar_CL.h"

namespace {
constexpr int kTitleColumns = 40;
constexpr int kVolumeMin = -10;
constexpr int kVolumeMax = 10;
constexpr int kStarItems = 6;
}  // namespace

PropContentsSetting_CL::PropContentsSetting_CL(ContentInfo& record, bool sharedNow, AfterApply afterApply,
                                               RecordCurrent recordCurrent)
    : PropertyPage_CL(kPageContent),
      m_record(record),
      m_sharedNow(sharedNow),
      m_afterApply(std::move(afterApply)),
      m_recordCurrent(std::move(recordCurrent)) {}

std::wstring PropContentsSetting_CL::SingleLineTitle(const std::wstring& text) {
    std::wstring title;
    for (wchar_t c : text) {
        if (c != L'\r' && c != L'\n') title += c;
    }
    return title;
}

SIZE PropContentsSetting_CL::BuildControls(HWND parent) {
    PageLayout_CL layout(Controls(), parent);
    layout.BeginGroup(kGroupSharing);
    m_indexes[kShare] = layout.CheckBox(kCheckShare);
    layout.EndGroup();
    layout.BeginGroup(kGroupTitle);
    m_indexes[kTitle] = layout.Edit(kTitleColumns, 1, L"");
    if (ControlBase_CL* title = Controls().At(m_indexes[kTitle])) {
        // The field is one line: Enter and Tab move on instead of breaking the title.
        title->SetMessageCallback([](ControlBase_CL&, UINT message, WPARAM wParam, LPARAM, bool& handled) -> LRESULT {
            if (message == WM_CHAR && (wParam == L'\r' || wParam == L'\n')) handled = true;
            if (message == WM_GETDLGCODE) {
                handled = true;
                return DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
            }
            return 0;
        });
    }
    layout.EndGroup();
    layout.BeginGroup(kGroupPlayControl);
    m_indexes[kNoResume] = layout.CheckBox(kCheckContentNoResume);
    layout.EndGroup();
    layout.BeginGroup(kGroupVolumeOffset);
    m_indexes[kVolume] = layout.Slider(200);
    if (auto* slider = Controls().Get<TrackBar_CL>(m_indexes[kVolume])) slider->SetRange(kVolumeMin, kVolumeMax);
    layout.SameLine();
    m_indexes[kVolumeCaption] = layout.Label(VolumeOffsetCaption(kVolumeMin));
    layout.EndGroup();
    layout.BeginGroup(kGroupStars);
    std::vector<std::wstring> stars;
    for (int count = 0; count < kStarItems; ++count) stars.push_back(StarText(count));
    m_indexes[kStars] = layout.Combo(stars);
    layout.EndGroup();
    return layout.Finish();
}

void PropContentsSetting_CL::LoadValues() {
    if (auto* share = Controls().Get<CheckBox_CL>(m_indexes[kShare])) share->SetChecked(m_sharedNow);
    if (ControlBase_CL* title = ControlOf(kTitle)) title->SetText(m_record.content_name);
    if (auto* noResume = Controls().Get<CheckBox_CL>(m_indexes[kNoResume])) noResume->SetChecked(m_record.no_resume == 1);
    if (auto* volume = Controls().Get<TrackBar_CL>(m_indexes[kVolume])) volume->SetPosition(m_record.vol_offset);
    if (auto* stars = Controls().Get<ComboBox_CL>(m_indexes[kStars])) {
        const int count = m_record.star_count;
        stars->Select(count >= 0 && count < kStarItems ? count : 0);
    }
    ShowVolumeCaption();
}

void PropContentsSetting_CL::ShowVolumeCaption() {
    const auto* volume = Controls().Get<TrackBar_CL>(m_indexes[kVolume]);
    ControlBase_CL* caption = ControlOf(kVolumeCaption);
    if (volume && caption) caption->SetText(VolumeOffsetCaption(volume->Position()));
}

void PropContentsSetting_CL::OnSlider(HWND slider) {
    const ControlBase_CL* volume = ControlOf(kVolume);
    if (volume && slider == volume->Window()) ShowVolumeCaption();
}

void PropContentsSetting_CL::ApplyValues() {
    if (m_recordCurrent && !m_recordCurrent()) {
        LogPrintf(L"%ls", L"コンテンツ設定: 別の動画が読み込まれたため書き込みません");
        return;
    }
    if (const ControlBase_CL* title = ControlOf(kTitle)) m_record.SetContentName(SingleLineTitle(title->Text()));
    if (const auto* noResume = Controls().Get<CheckBox_CL>(m_indexes[kNoResume])) {
        m_record.SetNoResume(noResume->IsChecked() ? 1 : 0);
    }
    if (const auto* volume = Controls().Get<TrackBar_CL>(m_indexes[kVolume])) m_record.SetVolOffset(volume->Position());
    if (const auto* stars = Controls().Get<ComboBox_CL>(m_indexes[kStars])) {
        const int item = stars->Selection();
        m_record.SetStarCount(item >= 0 && item < kStarItems ? item : 0);
    }
    if (const auto* share = Controls().Get<CheckBox_CL>(m_indexes[kShare])) m_sharingWanted = share->IsChecked();
    if (m_afterApply) m_afterApply(m_record);
}
