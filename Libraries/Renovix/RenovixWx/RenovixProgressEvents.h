// Hands the update client's download progress to a window as the progress events of
// Harbinax/ProgressEvents.h (the splash screen, the updater's dialog).
#pragma once

#include "Renovix/RenovixLib/RenovixProgress.h"

class wxEvtHandler;

class CRenovixProgressEvents : public IRenovixProgress {
public:
    // Null target: the progress goes nowhere.
    explicit CRenovixProgressEvents(wxEvtHandler* target = nullptr) : m_target(target) {}
    void SetTarget(wxEvtHandler* target) { m_target = target; }

    void OnDownloadFile(const std::string& fileName) override;
    void OnSetFileSize(long kilobytes) override;
    void OnDownloaded1KB() override;

private:
    wxEvtHandler* m_target;
};
