// Download progress of the update library, delivered as wx events to the window that shows it
// (the splash screen, the updater's dialog). Delivery is synchronous: the receiver has handled
// the event when the call returns, so a download that keeps the user-interface thread busy
// still shows its progress.
#pragma once

#include <wx/event.h>

#include <string>

// A download starts; GetString() names the file (copied into the event). Sent once more with an
// empty name when the download has finished.
wxDECLARE_EVENT(RENOVIX_DOWNLOAD_FILE, wxCommandEvent);
// Right after the start; GetExtraLong() is the file's size in kilobytes.
wxDECLARE_EVENT(RENOVIX_SET_FILESIZE, wxCommandEvent);
// Each time the number of whole kilobytes received grows by one.
wxDECLARE_EVENT(RENOVIX_DOWNLOADED_1KB, wxCommandEvent);

// Each does nothing for a null target. fileName is UTF-8.
void SendDownloadFile(wxEvtHandler* target, const std::string& fileName);
void SendSetFileSize(wxEvtHandler* target, long kilobytes);
void SendDownloaded1KB(wxEvtHandler* target);

// Handles the pending window-system events that draw and map windows, and no input, so that a
// window busy with a download still shows its progress without letting the user act early.
void YieldForUi();
