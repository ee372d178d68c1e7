// The sizing program's entry: the crash report handler before anything else can fail, then
// wx's start-up with the application object, whose OnRun performs the whole start-up.
#include "Harbinax/MessageBox.h"
#include "HarbinaxCore/CrashReport.h"
#include "Platform/FileSizeSignal.h"
#include "Quillet/LogManager.h"
#include "TAMBEL/TAMBELApp.h"

#include <wx/app.h>

namespace {

// Before the log or anything else writes: a file past the size limit is then a failed write,
// reported where it happens, rather than the end of the program.
const bool fileSizeSignalIgnored = Platform::IgnoreFileSizeSignal();

// The log opens as the program's first static object is made, so every later step can log;
// without a logger configuration every level from trace up is written.
const bool logOpened = CLogManager::GetInstance()->Open(nullptr, 0);

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(CTAMBELApp);

int main(int argc, char** argv)
{
    InstallUnhandledExceptionFilter();
    LogMessageBoxesWhenAsked();
    return wxEntry(argc, argv);
}
