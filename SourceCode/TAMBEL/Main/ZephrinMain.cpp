// The sizing program's entry: the crash report handler before anything else can fail, then
// wx's start-up with the application object, whose OnRun performs the whole start-up.
//
// ZEPHRIN_MESSAGE_LOG=<file> appends every message box (caption, a tab, the text on one line)
// to that file instead of showing it, answering OK: for runs without anyone at the screen.
#include "Harbinax/MessageBox.h"
#include "HarbinaxCore/CrashReport.h"
#include "Quillet/LogManager.h"
#include "TAMBEL/TAMBELApp.h"

#include <wx/app.h>
#include <wx/defs.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// The log opens as the program's first static object is made, so every later step can log;
// without a logger configuration every level from trace up is written.
const bool logOpened = CLogManager::GetInstance()->Open(nullptr, 0);

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

wxIMPLEMENT_APP_NO_MAIN(CTAMBELApp);

int main(int argc, char** argv)
{
    InstallUnhandledExceptionFilter();
    const char* messageLog = std::getenv("ZEPHRIN_MESSAGE_LOG");
    if (messageLog && *messageLog)
        LogMessagesTo(messageLog);
    return wxEntry(argc, argv);
}
