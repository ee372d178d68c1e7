// The updater's about box: its version, the update library's version, a copyright line and a
// link to the maker (neutral placeholders).
#pragma once

#include "Harbinax/DynamicDialog.h"

class CHyperLinkStatic;

class CAboutDlg : public CDynamicDialog {
public:
    static constexpr const char* kMakerLink = "https://www.example.com/";

    explicit CAboutDlg(wxWindow* parent);
    ~CAboutDlg() override;

    // Creates the window from its template and fills it. False when the template is missing or
    // broken.
    bool Create();
    // Create, then modal until closed; wxID_CANCEL when it could not be created.
    int DoModal();

    CHyperLinkStatic* GetMakerLink() const { return m_makerLink; }

private:
    void OnInitDialog();

    CHyperLinkStatic* m_makerLink = nullptr;
};
