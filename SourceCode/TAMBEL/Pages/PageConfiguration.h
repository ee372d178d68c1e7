// The configuration page: the user-interface language, automatic recalculation, the update
// settings (the update library's settings panel inside the page), the default units, the
// user-defined units and the default norm flow condition. Entering loads the controls from the
// application configuration, the update settings file and the units manager; every leaving
// writes the configuration, the user units and the update settings back, changed or not.
#pragma once

#include "TAMBEL/Pages/ShownNumbers.h"
#include "TAMBEL/Pages/TemplatePage.h"

#include <memory>
#include <string>
#include <vector>

class CDataComboBox;
class CGridWindow;
class CNormFlowCondition;
class CRenovixSettingsDlg;
class CUnit;
class wxCommandEvent;

class CPageConfiguration : public CTemplatePage {
public:
    enum {
        IDC_LANGUAGE = 369,
        IDC_LBL_PROGRAM_SETTINGS = 374,
        IDC_LBL_UPDATE_SETTINGS = 376,
        IDC_LBL_USER_UNITS = 377,
        IDC_LBL_DEFAULT_UNITS = 378,
        IDC_LBL_DEFAULT_NORM_CONDITIONS = 379,
        IDC_AUTORECALC = 1084,
        IDC_TEMPERATURE_UNIT = 1005,
        IDC_PRESSURE_UNIT = 1007,
        IDC_PRESSURE_REFERENCE = 1015,
        IDC_DENSITY_UNIT = 1009,
        IDC_VISCOSITY_UNIT = 1011,
        IDC_FLOW_TYPE = 1018,
        IDC_FLOW_UNIT = 1021,
        IDC_FLOW_REFERENCE = 1055,
        IDC_VELOCITY_UNIT = 1012,
        IDC_UNIT_LIST = 478,
        IDC_ADD_UNIT = 303,
        IDC_DELETE_UNIT = 340,
        IDC_NORM_SYSTEM = 1054,
        IDC_NORM_TEMPERATURE = 1047,
        IDC_NORM_TEMPERATURE_UNIT = 1048,
        IDC_NORM_PRESSURE = 1049,
        IDC_NORM_PRESSURE_UNIT = 1050,
        IDC_NORM_PRESSURE_REFERENCE = 1051,
    };
    // Grid columns of a user unit.
    enum { COLUMN_NAME, COLUMN_TYPE, COLUMN_FACTOR, COLUMN_OFFSET };

    CPageConfiguration();
    ~CPageConfiguration() override;

    // A hidden child page of the main window.
    bool Create(wxWindow* parent);

    bool OnEnterPage() override;
    // Stores the controls and writes the three files. False, with nothing stored, when the typed
    // update schedule does not fit: the settings panel has told the user why.
    bool OnLeavePage() override;
    // Refuses, with the settings panel's message, while the typed update schedule does not fit.
    bool CanLeavePage(int* reason) override;
    void OnDestroy() override;

    // The default flow unit list for the chosen flow type and reference: the unit chosen before
    // stays when the list still offers it, else the first unit is taken.
    void FillFlowUnits();
    // A new, empty user-unit row.
    void OnAddUnit();
    // The selected user-unit row after the user confirmed; the header row never.
    void OnDeleteUnit();
    // Shows the chosen norm condition: a listed one read-only, "Custom" as configured.
    void OnNormSystemChanged();

    CGridWindow* GetUnitGrid() const { return m_grid; }
    CRenovixSettingsDlg* GetSettingsDialog() const { return m_settingsDialog.get(); }
    CDataComboBox* GetList(int id) const;

    // The six quantity names of the type column (quantity types 1 to 6), translated.
    static std::vector<std::string> QuantityNames();

private:
    void OnInitDialog();
    void FillLanguages();
    // The unit lists of the default units and the norm condition, nothing selected.
    void FillUnitLists();
    void SelectLanguage();
    void StoreLanguage();
    void BuildUnitGrid();
    // Type, factor and offset cells of a row as the user edits them.
    void PrepareUnitRow(int row);
    void StoreUserUnits();
    void StoreNormCondition();
    void EnableNormControls(int id);
    void FillNormControls(const CNormFlowCondition& condition);
    // The unit of the list's selection into unit; false when none or unknown.
    bool SelectedUnit(int listId, CUnit& unit) const;
    int SelectedData(int listId) const;
    void Select(int listId, int data);
    std::string FieldText(int id) const;
    // The field's number; the exact one of the condition shown while the text is unedited.
    double FieldNumber(int id) const;
    void SetFieldText(int id, const std::string& text);
    void RedrawGrid();
    static std::string SettingsPath();

    void OnListChanged(wxCommandEvent& event);

    CGridWindow* m_grid = nullptr;
    // What the norm fields show of the default condition.
    CShownNumbers m_shownNumbers;
    std::unique_ptr<CRenovixSettingsDlg> m_settingsDialog;
};
