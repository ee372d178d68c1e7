// The dialog in which the user picks projects of the production database by their order-number
// key: typing the beginning of a PA number, a VK number or a position lists the matching keys
// in key order. In single-record mode (what the commands use) the action button takes the
// marked key; in several-records mode the keys are gathered in a second list with ">" and "<".
// The wording follows the command through an action text ("$ACTION" in the template).
#pragma once

#include "Harbinax/DynamicDialog.h"
#include "ProductionDb/ProductionDbKey.h"
#include "Quillet/Logger.h"

#include <string>
#include <vector>

class CProductionDb;
class wxCommandEvent;
class wxListCtrl;
class wxListEvent;
class wxTextCtrl;

class CSelectDbRecordsDlg : public CDynamicDialog {
public:
    static constexpr int IDD_MULTI_RECORD_DLG = 143;
    static constexpr int IDC_PA = 1236;
    static constexpr int IDC_VK = 1237;
    static constexpr int IDC_POSITION = 1238;
    static constexpr int IDC_MATCHING_RECORDS = 1239;
    static constexpr int IDC_SELECTED_RECORDS = 1240;
    static constexpr int IDC_ADD = 1241;
    static constexpr int IDC_REMOVE = 1242;
    static constexpr int IDC_ACTION = 1243;
    static constexpr int IDC_ACTION_TEXT = 1244;
    // The arrows that ">" and "<" show, among the program's icons.
    static constexpr int IDI_ADD = 144;
    static constexpr int IDI_REMOVE = 145;

    // The keys are looked up in db (which may be closed: the lists then stay empty).
    CSelectDbRecordsDlg(wxWindow* parent, CProductionDb* db);
    ~CSelectDbRecordsDlg() override;

    // Runs the dialog for one key; 1 with the key filled when the user took one, else 0.
    int SelectRecord(CProductionDbKey& key, const std::string& action, const std::string& button);
    // Runs it for several keys; 1 with the keys in their chosen order, 0 when none was chosen.
    int SelectRecords(std::vector<CProductionDbKey>& keys, const std::string& action, const std::string& button);
    // The chosen keys' exact conditions joined by OR, "$TABLE" replaced by table; 0 when the
    // user chose nothing.
    int GetSelectionCondition(std::string& condition, const std::string& action, const std::string& button,
                              bool several, const std::string& table);
    // The condition that selects exactly the key (see CDbRecordCondition).
    static std::string GetKeyCondition(const CProductionDbKey& key, bool includeZero);

    // Creates the window for the mode and texts (OnInitDialog); the runs above call it.
    bool Create(int mode, const std::string& action, const std::string& button);

    wxTextCtrl* PaEdit() const;
    wxTextCtrl* VkEdit() const;
    wxTextCtrl* PositionEdit() const;
    wxListCtrl* MatchingList() const { return m_matching; }
    wxListCtrl* SelectedList() const { return m_selected; }

private:
    int Run(int mode, const std::string& action, const std::string& button);
    void OnInitDialog(const std::string& action, const std::string& button);
    void AddColumns(wxListCtrl* list);
    void RefreshMatching();
    // Takes the matching row; false for an index outside the list.
    bool TakeRecord(long index);
    static CProductionDbKey KeyOfRow(const wxListCtrl* list, long index);
    static void AddRow(wxListCtrl* list, const CProductionDbKey& key);
    void Finish();

    void OnText(wxCommandEvent& event);
    void OnAction(wxCommandEvent& event);
    void OnAdd(wxCommandEvent& event);
    void OnRemove(wxCommandEvent& event);
    void OnMatchingActivated(wxListEvent& event);
    void OnSelectedActivated(wxListEvent& event);

    CLogger m_log;
    CProductionDb* m_db;
    int m_mode = 0;
    std::vector<CProductionDbKey> m_chosen;
    wxListCtrl* m_matching = nullptr;
    wxListCtrl* m_selected = nullptr;
};
