// "Filter options": which result rows the results page hides. The dialog edits a copy of the
// page's filter record and hands it back only on OK. The flow-range percentage is also a
// setting of the program: the dialog starts from the configured one and stores it on OK.
#pragma once

#include "CommonFiles/ResultFilter.h"
#include "Harbinax/DynamicDialog.h"

class CApplicationConfiguration;
class CFilterEdit;

class CResultFilterDlg : public CDynamicDialog {
public:
    // The configuration that holds the percentage: the program's own unless a test gives one.
    explicit CResultFilterDlg(wxWindow* parent, CApplicationConfiguration* configuration = nullptr);

    // Runs the dialog modally on a copy of the record; on OK the copy replaces *filter. The
    // modal result (wxID_OK, wxID_CANCEL; wxID_CANCEL also when it cannot be made).
    int Run(CResultFilter* filter);

    // Creates the window from its template and shows the record in it. False when the template
    // is missing or broken.
    bool Create(const CResultFilter& filter);
    // Reads the controls into the record, stores the percentage in the configuration file and
    // ends the dialog with OK.
    void OnOK();

    const CResultFilter& GetFilter() const { return m_filter; }

private:
    void OnInitDialog();
    void SetCheck(int itemId, int on);
    int GetCheck(int itemId) const;

    CApplicationConfiguration* m_configuration;
    CResultFilter m_filter;
    CFilterEdit* m_minTurndown = nullptr;
    CFilterEdit* m_maxFlowPercent = nullptr;
};
