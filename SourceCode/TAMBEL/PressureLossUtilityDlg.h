// The pressure-loss utility: a small calculator beside the sizing for the loss through a straight
// pipe run or a conical expander or reducer. Every input in a unit of the user's choice, the
// pipe material's roughness from the units database, the result in a chosen pressure unit.
#pragma once

#include "CommonFiles/TAMBELCalculator/PressureLossCalculator.h"
#include "Harbinax/DynamicDialog.h"
#include "Quillet/Logger.h"

#include <map>
#include <string>

class CDataComboBox;
class CFilterEdit;
class wxCommandEvent;

class CPressureLossUtilityDlg : public CDynamicDialog {
public:
    static constexpr int IDD_PRESSURE_LOSS_UTILITY = 141;
    static constexpr int IDC_STRAIGHT = 1214;
    static constexpr int IDC_EXPANDER = 1215;
    static constexpr int IDC_REDUCER = 1233;
    static constexpr int IDC_LENGTH_FLAG = 1216;
    static constexpr int IDC_ANGLE_FLAG = 1217;
    static constexpr int IDC_MATERIAL = 1222;
    static constexpr int IDC_FRICTION_FACTOR = 1229;
    static constexpr int IDC_DENSITY = 1008;
    static constexpr int IDC_DENSITY_UNIT = 1223;
    static constexpr int IDC_FLOW = 1231;
    static constexpr int IDC_FLOW_UNIT = 1224;
    static constexpr int IDC_LARGER_DIAMETER = 1225;
    static constexpr int IDC_LARGER_DIAMETER_UNIT = 1218;
    static constexpr int IDC_SMALLER_DIAMETER = 1226;
    static constexpr int IDC_SMALLER_DIAMETER_UNIT = 1219;
    static constexpr int IDC_LENGTH = 1227;
    static constexpr int IDC_LENGTH_UNIT = 1220;
    static constexpr int IDC_ANGLE = 1228;
    static constexpr int IDC_ANGLE_UNIT = 1221;
    static constexpr int IDC_RESULT_UNIT = 1234;
    static constexpr int IDC_RESULT = 1232;
    static constexpr int IDC_CALCULATE = 1235;
    // Why a fitting has no result.
    static constexpr int IDC_RESULT_NOTE = 1236;

    explicit CPressureLossUtilityDlg(wxWindow* parent);
    ~CPressureLossUtilityDlg() override;

    bool Create();
    int DoModal();

    // The buttons' and lists' actions, also for tests.
    void UpdateControls();
    void OnMaterialChanged();
    void Calculate();
    // The kept result in the selected unit; nothing while there is none.
    void ShowResult();

    CFilterEdit* GetEdit(int id) const;
    CDataComboBox* GetList(int id) const;

private:
    void OnInitDialog();
    void LoadMaterials();
    void FillUnitLists();
    // The selected material's roughness; 0 when it has none.
    double Roughness() const;
    // The field's number in the base unit of the list's unit; false when the unit is unknown.
    bool ReadInput(int editId, int unitId, double& base) const;
    bool IsChecked(int id) const;
    void SetText(int id, const std::string& text);

    void OnControlUpdate(wxCommandEvent& event);

    CLogger m_log;
    std::map<int, double> m_roughness;
    // In the base pressure unit.
    double m_result = 0.0;
    bool m_hasResult = false;
};
