// The updater's application object. Its start-up (InitInstance) decides the mode: with the
// program to start again as its one argument it replaces the files the program handed over and
// starts it again; without one it shows its window for a manual update and the update settings.
// There is no main loop: the program ends when InitInstance returns, with a status that tells
// whoever started it whether the update, the restart or the start-up failed.
#pragma once

#include "Harbinax/Harbinax.h"
#include "Quillet/Logger.h"

#include <string>

class wxWindow;

class CRenovixApp : public CHarbinax {
public:
    CRenovixApp();

    // The running application object; null when there is none or it is not ours.
    static CRenovixApp* GetApp();

    bool OnInit() override { return true; }
    // The exit status: 0, or kFailed.
    int OnRun() override;
    // Always false.
    bool InitInstance();
    // The program's exit status after InitInstance: kFailed when the start-up, the command line,
    // the hand-over's update or the restart failed; 0 otherwise, and always after a manual run.
    int GetExitStatus() const { return m_exitStatus; }
    static constexpr int kFailed = 1;

    // The translation table of the program, in the user-interface language.
    void LoadTexts();
    // A message box whose caption is the program's name and the title text (string ids).
    static int ShowBox(wxWindow* owner, const std::string& text, int titleId, long style);
    // The argument without blanks and double quotes at either end.
    static std::string StripArgument(const std::string& argument);

private:
    CLogger m_log;
    int m_exitStatus = 0;
};

// The text of the string id in the current language; "?" without our application object.
std::string RenovixText(int id);
