#include <windows.h>

#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "core/base/SystemTextWindows.h"
#include "core/base/TempFiles.h"

namespace tovarin {
namespace {

// The temporary file is open with delete sharing: deleting it marks it,
// and the system removes it when the ending process closes it.
void Delete(const char* path) {
    try {
        DeleteFileW(Utf8ToWide(path).c_str());
    } catch (const ECodecError&) {
        // A name that was never UTF-8 was never created either.
    }
}

// Runs on a thread of its own, not inside a signal, so converting the
// names is allowed. FALSE hands the event on to the default handler,
// which ends the process as it would have.
BOOL WINAPI RemoveTemporariesAndEnd(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
        RemoveHeldTemporaries(Delete);
    }
    return FALSE;
}

}  // namespace

// Windows has no file-size limit signal to ignore; Ctrl+C, Ctrl+Break and
// closing the console window take the place of SIGINT, SIGQUIT and SIGTERM
// or SIGHUP.
void PrepareProcessForFileWrites() { SetConsoleCtrlHandler(RemoveTemporariesAndEnd, TRUE); }

}  // namespace tovarin
