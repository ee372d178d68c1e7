// The fluid data page, the program's main input: customer and order, the process fluid, its
// operating point, the flow and the norm flow conditions, with each operating value repeated
// in a second unit of the user's choice. The page keeps no data: entering loads the project's
// physical data and customer record, leaving stores them, and every derived value (density,
// norm density, viscosity) is computed on the stored data and then loaded again.
#pragma once

#include "CommonFiles/ComboItem.h"
#include "TAMBEL/GasMixDataDlg.h"
#include "TAMBEL/Pages/ShownNumbers.h"
#include "TAMBEL/Pages/TemplatePage.h"

#include <wx/colour.h>
#include <wx/weakref.h>

#include <string>

class CDataComboBox;
class CCustomerData;
class CNormFlowCondition;
class CPhysicalData;
class CUnitValue;
class wxCommandEvent;
class wxFocusEvent;
class wxTextCtrl;

class CPageFluid : public CTemplatePage {
public:
    // Viscosity states: typed (nothing computed), computed from the fluid tables, computed at
    // the edge of a table.
    enum { VISCOSITY_TYPED = 0, VISCOSITY_COMPUTED = 1, VISCOSITY_TABLE_EDGE = 2 };

    CPageFluid();
    ~CPageFluid() override;

    // A hidden child page of the main window, filled (OnInitDialog).
    bool Create(wxWindow* parent);

    // Loads the controls; false, with the edits emptied, when the fluid's Type is not offered.
    bool OnEnterPage() override;
    // Stores the controls into the project; false, with the project unchanged, when a database
    // fluid cannot be copied or an order number does not fit (which the user is told).
    bool OnLeavePage() override;
    // Stores and checks: order numbers in range, superheated steam above saturation, a norm
    // density for norm flow.
    bool CanLeavePage(int* reason) override;

    // Refills every list, e.g. after the user units changed.
    void FillCombos(bool selectDefaults, bool keepSelection, bool notify);

    // The steam check of superheated steam against the saturation line; shows its message.
    bool CheckSteam();
    // Whether the engine gives the operating state a density; if not, says why (boiling water
    // against its saturation line, else the density's result) and gives false. A gas mix whose
    // composition is still to come is told by the density's tip alone.
    bool CheckDensity();
    // What the project's fluid still lacks before it can be sized, translated: the composition
    // of a gas mix whose shares have not been entered. Empty when nothing is missing.
    static std::string MissingFluidData();
    // Whether the maximum flow's field shows anything: an empty one gives no flow.
    bool ShowsFlow() const;
    // The Type whose controls are shown; choosing it again does nothing.
    void OnStateChanged(int type);

    int GetViscosityState() const { return m_viscosityState; }
    static wxColour ViscosityColour(int state);
    CGasMixDataDlg* GetGasMixDialog() const { return m_gasMixDialog; }

private:
    bool OnInitDialog();

    // Control access.
    wxWindow* Item(int id) const;
    wxTextCtrl* Edit(int id) const;
    CDataComboBox* Combo(int id) const;
    std::string Text(int id) const;
    // The number the field shows, as the conversions and checks read it.
    double Number(int id) const;
    // The number the field stores: the project's exact one while the field shows it unedited.
    double StoredNumber(int id) const;
    void SetText(int id, const std::string& text);
    void SetNumber(int id, double value, int digits);
    int Data(int id) const;
    bool Select(int id, int data);
    void SelectFirst(int id);
    void ShowItem(int id, bool show);
    void EnableItem(int id, bool enable);
    bool IsCustomFluid() const;
    bool Loading() const { return m_fillingCombos || m_loadingData; }

    // Filling lists: keep the old selection, else with selectDefaults the default (or the first).
    void FillUnitList(int id, int type, int system, bool exact, bool selectDefaults, bool keepSelection,
                      int defaultData);
    void FillList(int id, const CComboItems& items, bool selectDefaults, bool keepSelection, int defaultData);

    void ClearEdits();
    // OnLeavePage without telling the user about an order number that does not fit.
    bool Store();
    bool StoreInto(CPhysicalData& physical, CCustomerData& customer);
    // The value of the field valueId in the unit of unitId; current is the project's.
    void StoreUnitValue(int unitId, int valueId, int reference, const CUnitValue& current,
                        CUnitValue& target) const;

    void ShowStateControls(int type, bool show);
    void FillMediumList(int type);
    void ResetFlowReference(int referenceId, int typeId, int unitId);
    void UpdateSaturationMode();
    void OnMediumChanged();

    enum EConverted { CONVERTED_TEMPERATURE, CONVERTED_PRESSURE, CONVERTED_DENSITY, CONVERTED_VISCOSITY };
    void UpdateConvertedValue(EConverted row);
    void UpdateConvertedFlow();
    // The converted maximum flow, or the short text saying why there is none; converts is false
    // when the flow itself does not convert ("n.a.").
    std::string ConvertedFlowText(bool& converts) const;
    void FillFlowUnits(bool converted, bool keepSelection = false);
    void OnFlowReferenceChanged();
    void OnNormSystemChanged();
    void ShowNormCondition(const CNormFlowCondition& condition);
    void FillNormControls(const CNormFlowCondition& condition);
    void UpdateNormEnable(int conditionId);
    void EnableNormControls(bool conditionValues, bool density);

    void RecalcDensity();
    // A density the engine refuses for the stored state gets the reason as tip; one that a
    // recalculation cleared shows as none.
    void MarkRefusedDensity();
    // An operating pressure at or below 0 absolute gets the invalid-input message, the field the
    // focus with focusField.
    bool CheckPressure(bool focusField);
    // After the field id of the operating state was left: the message of the first thing wrong.
    void ExplainRefusedState(int id);
    // The number of the edit id converts: it is not too large to read, and for the flow the
    // converted column can give it. Else the message names the field, which gets the focus
    // with focusField.
    bool CheckNumberConverts(int id, bool focusField);
    // Every number shown converts.
    bool CheckNumbersConvert();
    void RecalcNormDensity();
    void CalculateViscosity();
    void ApplyViscosityColour();

    void OnConvertToNorm();
    void OnConvertToOperational();
    void OnGasMix();
    // Order numbers that fit an int, else the invalid-input message and the field focused.
    bool CheckOrderNumbers();

    void OnComboChanged(wxCommandEvent& event);
    void OnButton(wxCommandEvent& event);
    void OnEditKillFocus(wxFocusEvent& event);
    // What leaving a field does; deferred from the focus event so that its message boxes and
    // the focus they move do not run inside GTK's focus change. checkState: say what is wrong
    // with the operating state.
    void OnFieldLeft(int id, bool checkState);

    // What the edits show of the project, for reading back its exact values.
    CShownNumbers m_shownNumbers;
    bool m_fillingCombos = false;
    bool m_loadingData = false;
    bool m_inFieldLeft = false;
    int m_typeShown = -1;
    int m_normIdShown = -1;
    int m_viscosityState = VISCOSITY_TYPED;
    // A child of the main window, so it goes with that window; the page deletes it when the
    // window outlives the page.
    wxWeakRef<CGasMixDataDlg> m_gasMixDialog;
    // Its template is built once, also when that fails.
    bool m_gasMixWindowTried = false;
};
