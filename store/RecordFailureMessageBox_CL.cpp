#include "store/RecordFailureMessageBox_CL.h"

#include "store/StoreTexts.h"

void RecordFailureMessageBox_CL::ShowShareWriteFailure() {
    ::MessageBoxW(m_owner, kTextShareWriteFailed, kTextShareWriteFailedCaption, MB_OK);
}
