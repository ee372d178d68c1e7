// The updater's entry: the crash report handler before anything else can fail, the log, then
// wx's start-up with the application object, whose OnRun does the whole work.
#include "Harbinax/MessageBox.h"
#include "HarbinaxCore/CrashReport.h"
#include "Platform/FileSizeSignal.h"
#include "Quillet/LogManager.h"
#include "updater/RenovixApp.h"

#include <wx/app.h>

namespace {

// Before the log or anything else writes: a file past the size limit is then a failed write,
// reported where it happens, rather than the end of the program.
const bool fileSizeSignalIgnored = Platform::IgnoreFileSizeSignal();

// Opened before anything else runs, at level info unless a logger configuration says otherwise.
const bool logOpened = CLogManager::GetInstance()->Open(nullptr, LOGLEVEL_INFO);

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(CRenovixApp);

int main(int argc, char** argv)
{
    InstallUnhandledExceptionFilter();
    LogMessageBoxesWhenAsked();
    return wxEntry(argc, argv);
}
