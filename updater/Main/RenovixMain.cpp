// The updater's entry: the crash report handler before anything else can fail, the log, then
// wx's start-up with the application object, whose OnRun does the whole work.
//
// ZEPHRIN_MESSAGE_LOG=<file> appends every message box (caption, a tab, the text on one line)
// to that file instead of showing it, answering OK: for runs without anyone at the screen.
#include "Harbinax/MessageBox.h"
#include "HarbinaxCore/CrashReport.h"
#include "Quillet/LogManager.h"
#include "updater/RenovixApp.h"

#include <wx/app.h>
#include <wx/defs.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// Opened before anything else runs, at level info unless a logger configuration says otherwise.
const bool logOpened = CLogManager::GetInstance()->Open(nullptr, LOGLEVEL_INFO);

void LogMessagesTo(const std::string& path)
{
    SetMessageBoxSinkForTesting([path](const SMessageBox& box) {
        std::string text = box.text;
        for (char& c : text) {
            if (c == '\n')
                c = ' ';
        }
        std::ofstream(path, std::ios::app) << box.caption << '\t' << text << '\n';
        return (box.style & wxYES_NO) ? wxID_YES : wxID_OK;
    });
}

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(CRenovixApp);

int main(int argc, char** argv)
{
    InstallUnhandledExceptionFilter();
    const char* messageLog = std::getenv("ZEPHRIN_MESSAGE_LOG");
    if (messageLog && *messageLog)
        LogMessagesTo(messageLog);
    return wxEntry(argc, argv);
}
