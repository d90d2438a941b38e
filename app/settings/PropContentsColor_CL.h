#pragma once
// The page 色調整: the loaded movie's own colour adjustment, section PROC_AMP of its record.
// With no movie loaded the record is an unbound one and nothing reaches any file.
// Thread: UI only.

#include "app/settings/PropColorPage_CL.h"

class ContentInfo;

class PropContentsColor_CL : public PropColorPage_CL {
public:
    // Nothing is written once recordCurrent answers false (another movie loaded meanwhile).
    PropContentsColor_CL(ContentInfo& record, RangeOf rangeOf, std::function<bool()> recordCurrent = nullptr);

protected:
    ColourValues Stored() const override;
    void Store(const ColourValues& values) override;

private:
    ContentInfo& m_record;
    std::function<bool()> m_recordCurrent;
};
