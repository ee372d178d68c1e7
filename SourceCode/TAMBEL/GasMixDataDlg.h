// The shares of the gases of a gas mixture, in per cent: one labelled entry field per gas of
// the fluid database, ten to a column, and the running total below them. OK takes the fields
// into the mixture when they add up to 100 %, a share still shown as it was filled in with all
// its digits; Cancel leaves the mixture as it was. The fluid page builds the dialog once and
// keeps the mixture in it between openings.
#pragma once

#include "CommonFiles/Fluids/FluidGasMix.h"
#include "Harbinax/DynamicDialog.h"
#include "TAMBEL/Pages/ShownNumbers.h"

#include <string>
#include <vector>

class wxCommandEvent;

class CGasMixDataDlg : public CDynamicDialog {
public:
    // A gas that gets a field: its database index and its name as shown.
    struct SGas {
        int id;
        std::string name;
    };

    // Item ids: a gas's label and field are its database index plus these; the total below.
    static constexpr int kLabelOffset = 10000;
    static constexpr int kFieldOffset = 1000;
    static constexpr int kTotalSumId = 100;

    explicit CGasMixDataDlg(wxWindow* parent);
    ~CGasMixDataDlg() override;

    // The template for the gases of the fluid manager (shown ones except air, names in the
    // user-interface language), then the window, hidden. False when it cannot be made.
    bool CreateTemplate();
    // The same for the given gases (tests).
    bool CreateTemplate(const std::vector<SGas>& gases);
    // The dialog width in dialog units for gases in columns 0 to lastColumn.
    static int TemplateWidth(int lastColumn);

    void SetGasMixElements(const std::vector<GasMixElement>& elements) { m_elements = elements; }
    // Replaces elements by the mixture; 1.
    int GetGasMixElements(std::vector<GasMixElement>& elements) const;

    // Fills the fields from the mixture and runs the dialog: wxID_OK or wxID_CANCEL.
    int DoModal();
    // The sum of the fields as shown, rounded to hundredths.
    double GetTotalSum() const;
    // Fills the fields from the mixture and shows the total (DoModal does it first).
    void FillFields();

private:
    wxTextCtrl* Field(int fieldId) const;
    void UpdateTotalSum();
    // The range check of the field (true while another check's message is up).
    bool CheckField(int fieldId);
    void OnText(wxCommandEvent& event);
    void OnOk(wxCommandEvent& event);

    std::vector<int> m_fieldIds;
    std::vector<GasMixElement> m_elements;
    // The shares as filled in: an unedited field keeps the mixture's exact share.
    CShownNumbers m_shown;
    // A range message is up: the refocus it causes must not check again.
    bool m_checking = false;
};
