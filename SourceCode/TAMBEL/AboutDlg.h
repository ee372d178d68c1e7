// The about box: the program's name and file version, the version of the units, fluid and
// device database, and links to the customer company and the software maker.
#pragma once

#include "Harbinax/DynamicDialog.h"

class CHyperLinkStatic;

class CAboutDlg : public CDynamicDialog {
public:
    static constexpr const char* kCustomerLink = "https://www.torvel.example/";
    static constexpr const char* kMakerLink = "https://www.corvanta.example/";

    explicit CAboutDlg(wxWindow* parent);
    ~CAboutDlg() override;

    // Creates the window from its template and fills it (OnInitDialog). False when the
    // template is missing or broken.
    bool Create();
    // Create, then modal until closed; wxID_CANCEL when it could not be created.
    int DoModal();

    CHyperLinkStatic* GetCustomerLink() const { return m_customerLink; }
    CHyperLinkStatic* GetMakerLink() const { return m_makerLink; }

private:
    void OnInitDialog();

    CHyperLinkStatic* m_customerLink = nullptr;
    CHyperLinkStatic* m_makerLink = nullptr;
};
