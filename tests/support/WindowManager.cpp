#include "support/WindowManager.h"

#include "support/WaitUntil.h"

bool CWindowManager::Start()
{
    if (m_process.Running())
        return true;
    // No session manager and no autostart programs: only the manager itself, its chatter aside.
    if (!m_process.Start({"openbox", "--sm-disable"}, {}, "-", "-"))
        return false;
    // It has taken the display over once it names itself on the root window; one that failed
    // has ended by then.
    return WaitUntil(std::chrono::seconds(30), [this] {
        return !m_process.Running() ||
               RunTool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).output.find("window id") != std::string::npos;
    }) && m_process.Running();
}
