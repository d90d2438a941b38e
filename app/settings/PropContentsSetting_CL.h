#pragma once
// The page コンテンツ設定: the loaded movie's record. Sharing (a copy of the record beside the
// movie), the title, no resume, the volume offset and the star rating. Apply writes the four
// values through the record at once and passes play count and rating on to the album copies;
// sharing is left to the sheet's caller, who reads SharingWanted once the sheet has closed.
// With no movie loaded the record is an unbound one and nothing reaches any file.
// Thread: UI only.

#include <functional>
#include <optional>
#include <string>

#include "ui/PropertyPage_CL.h"

class ContentInfo;

class PropContentsSetting_CL : public PropertyPage_CL {
public:
    using AfterApply = std::function<void(const ContentInfo& record)>;
    // True while record still holds the movie the sheet opened on (another may load meanwhile).
    using RecordCurrent = std::function<bool()>;

    // sharedNow: the record file lies beside the movie. afterApply runs after each apply;
    // nothing is written once recordCurrent answers false (null: always current).
    PropContentsSetting_CL(ContentInfo& record, bool sharedNow, AfterApply afterApply,
                           RecordCurrent recordCurrent = nullptr);

    SIZE BuildControls(HWND parent) override;
    // The state of the sharing box at the last apply; empty when never applied.
    std::optional<bool> SharingWanted() const { return m_sharingWanted; }

    // Pure: a title as a record keeps it: one line, line breaks dropped.
    static std::wstring SingleLineTitle(const std::wstring& text);

    enum Control { kShare, kTitle, kNoResume, kVolume, kVolumeCaption, kStars, kControlCount };
    // While the page is open.
    ControlBase_CL* ControlOf(Control which) const { return Controls().At(m_indexes[which]); }

protected:
    void LoadValues() override;
    void ApplyValues() override;
    void OnSlider(HWND slider) override;

private:
    void ShowVolumeCaption();

    ContentInfo& m_record;
    bool m_sharedNow;
    AfterApply m_afterApply;
    RecordCurrent m_recordCurrent;
    std::optional<bool> m_sharingWanted;
    int m_indexes[kControlCount] = {-1, -1, -1, -1, -1, -1};
};
