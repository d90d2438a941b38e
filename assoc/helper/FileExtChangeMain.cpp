// Lumikino_FileExtChange: the elevated association helper. No window, no arguments; it writes
// the registry from the player's request and always ends with 0, as the player never reads
// its result.

#include <windows.h>
#include <objbase.h>

#include "assoc/helper/AssocFile_CL.h"
#include "base/Platform.h"
#include "base/ScopedCom_CL.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ScopedCom_CL com;
    AssocFile_CL assoc(AssocFile_CL::DefaultRequestPath(), AssocFile_CL::OwnFolder());
    (void)assoc.Run(OperatingSystemMajorVersion());
    return 0;
}
