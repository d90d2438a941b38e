#include "media/ProcAmpChoice.h"

#include "media/ColourAdjust_CL.h"

ProcAmpChoice ChooseProcAmp(const ProcAmpSource& record, const ProcAmpSource& application) {
    ProcAmpChoice choice;
    const ProcAmpSource* source = nullptr;
    if (record.enable == 1) {
        source = &record;
        choice.fromRecord = true;
    } else if (application.enable == 1) {
        source = &application;
        choice.fromApplication = true;
    }
    const int masks[4] = {kProcAmpBrightness, kProcAmpContrast, kProcAmpHue, kProcAmpSaturation};
    for (int i = 0; i < 4; ++i) {
        const int32_t value = source ? source->values[i] : kProcAmpUnset;
        choice.values[i] =
            value == kProcAmpUnset ? NominalProcAmpRange(masks[i]).defaultValue : ClampProcAmpValue(masks[i], value);
    }
    return choice;
}
