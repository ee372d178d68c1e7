// Pages and dialogs that write every call of the page protocol into one shared log.
#pragma once

#include "Harbinax/BaseDialog.h"

#include <wx/toolbar.h>

#include <map>
#include <string>
#include <vector>

using CallLog = std::vector<std::string>;

class CLoggingDialog : public cvBaseDialog {
public:
    CLoggingDialog(std::string name, CallLog& log, bool scrollable = false)
        : cvBaseDialog(scrollable)
        , m_name(std::move(name))
        , m_log(log)
    {
    }

    // Non-zero: the page refuses with that reason.
    int refuseLeave = 0;
    int refuseEnter = 0;

    bool OnEnterPage() override
    {
        Log("OnEnterPage");
        return true;
    }
    bool OnLeavePage() override
    {
        Log("OnLeavePage");
        return true;
    }
    bool CanEnterPage(int* reason) override
    {
        Log("CanEnterPage");
        *reason = refuseEnter;
        return refuseEnter == 0;
    }
    bool CanLeavePage(int* reason) override
    {
        Log("CanLeavePage");
        *reason = refuseLeave;
        return refuseLeave == 0;
    }
    void OnPageChanged() override { Log("OnPageChanged"); }
    void ShowPageRefusal(int reason) override { Log("ShowPageRefusal " + std::to_string(reason)); }

private:
    // With the window's visibility at the time of the call.
    void Log(const std::string& call)
    {
        const wxWindow* window = GetWindow();
        m_log.push_back(m_name + "." + call + (window && window->IsShown() ? " shown" : ""));
    }

    std::string m_name;
    CallLog& m_log;
};

// Screen positions of the middle of each tool that shows, by tool id. Moves the pointer.
std::map<int, wxPoint> ToolCentres(wxToolBar* toolBar);

// A 32 x 32 square of one colour in a black frame.
wxBitmap SquareIcon(const wxColour& colour);
