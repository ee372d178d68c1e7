#include "Harbinax/ProgressEvents.h"

#include <wx/app.h>
#include <wx/apptrait.h>
#include <wx/evtloop.h>

#include <memory>

wxDEFINE_EVENT(RENOVIX_DOWNLOAD_FILE, wxCommandEvent);
wxDEFINE_EVENT(RENOVIX_SET_FILESIZE, wxCommandEvent);
wxDEFINE_EVENT(RENOVIX_DOWNLOADED_1KB, wxCommandEvent);

void SendDownloadFile(wxEvtHandler* target, const std::string& fileName)
{
    if (!target)
        return;
    wxCommandEvent event(RENOVIX_DOWNLOAD_FILE);
    event.SetString(wxString::FromUTF8(fileName));
    target->SafelyProcessEvent(event);
}

void SendSetFileSize(wxEvtHandler* target, long kilobytes)
{
    if (!target)
        return;
    wxCommandEvent event(RENOVIX_SET_FILESIZE);
    event.SetExtraLong(kilobytes);
    target->SafelyProcessEvent(event);
}

void SendDownloaded1KB(wxEvtHandler* target)
{
    if (!target)
        return;
    wxCommandEvent event(RENOVIX_DOWNLOADED_1KB);
    target->SafelyProcessEvent(event);
}

void YieldForUi()
{
    if (!wxTheApp)
        return;
    if (wxEventLoopBase* active = wxEventLoopBase::GetActive()) {
        if (!active->IsYielding())
            active->YieldFor(wxEVT_CATEGORY_UI);
        return;
    }
    // Before the main loop runs (start-up happens in OnInit) a loop of our own does it.
    std::unique_ptr<wxEventLoopBase> loop(wxTheApp->GetTraits()->CreateEventLoop());
    wxEventLoopActivator activate(loop.get());
    loop->YieldFor(wxEVT_CATEGORY_UI);
}
