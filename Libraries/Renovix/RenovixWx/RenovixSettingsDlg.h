// Edits the update settings: transfer protocol, remote path and schedule. Its template is put
// together at run time for the options chosen, and it speaks English, or German when its
// language is "de", by itself. Two uses: a panel inside another dialog (the sizing program's
// configuration page shows only the schedule) and a modal dialog with Save and Cancel (the
// updater's settings command). In both, Enter moves on like Tab and Escape does nothing.
#pragma once

#include "HarbinaxCore/DialogTemplate.h"
#include "Quillet/Logger.h"
#include "Renovix/RenovixLib/RenovixSettings.h"

#include <wx/weakref.h>
#include <wx/window.h>

#include <memory>
#include <string>

class wxComboBox;
class wxKeyEvent;

class CRenovixSettingsDlg {
public:
    enum {
        IDC_PROTOCOL_LABEL = 1000,
        IDC_PROTOCOL = 1001,
        IDC_REMOTE_PATH_LABEL = 1002,
        IDC_REMOTE_PATH = 1003,
        IDC_SCHEDULE_LABEL = 1004,
        IDC_SCHEDULE = 1005,
        IDC_TIME_LABEL = 1006,
        IDC_TIME = 1007,
        IDC_NUMBER_LABEL = 1008,
        IDC_NUMBER = 1009,
        IDC_MONDAY = 1010,  // to IDC_SUNDAY, Monday first
        IDC_SUNDAY = 1016,
        IDC_SAVE = 1017,
    };
    // The item data of the schedule list.
    enum ESchedule { SCHEDULE_MANUALLY = 1, SCHEDULE_EVERYSTART, SCHEDULE_DAILY, SCHEDULE_WEEKLY, SCHEDULE_MONTHLY,
                     SCHEDULE_INTERVAL };

    // Makes the window at once: in child mode a panel inside parent, else a dialog owned by
    // parent (null: none) that DoModal runs. The rows of protocol and remote path appear only when
    // asked for; their settings then pass through unchanged. Null (logged) when the window
    // cannot be made.
    static std::unique_ptr<CRenovixSettingsDlg> Create(const std::string& language, wxWindow* parent, bool childMode,
                                                       bool showProtocol, bool showRemotePath);
    // Destroys the window, unless its parent has done so already.
    ~CRenovixSettingsDlg();
    CRenovixSettingsDlg(const CRenovixSettingsDlg&) = delete;
    CRenovixSettingsDlg& operator=(const CRenovixSettingsDlg&) = delete;

    // Modal mode: wxID_OK once Save took the settings, wxID_CANCEL otherwise.
    int DoModal();
    wxWindow* GetWindow() const { return m_window.get(); }
    // The control of an item id; null when the options left it out.
    wxWindow* GetItem(int itemId) const;

    // Copies the settings in and shows them.
    void SetSettings(const CRenovixSettings& settings);
    // The settings as the controls show them; a changed schedule gets its next run counted from
    // now. A schedule whose time or number does not fit is not taken: the one before stays.
    CRenovixSettings GetSettings();

    // Which protocols the list offers ("none" always); the list follows at once.
    void EnableFtp(bool enable);
    void EnableHttp(bool enable);
    void EnableFileSystem(bool enable);
    void EnableProtocolSelection(bool enable);
    void EnableRemotePath(bool enable);

    // Whether the time and the number the schedule needs are usable; when not, the user is told
    // so and the field gets the focus.
    bool CheckInput();

    // "H:MM" or "HH:MM" (blanks around allowed) as "HH:MM"; false for anything else.
    static bool NormalizeTime(const std::string& typed, std::string& normalized);

private:
    CRenovixSettingsDlg(const std::string& language, bool childMode, bool showProtocol, bool showRemotePath);

    const char* Text(int id) const;
    // The template for a window of that width in dialog units.
    void BuildTemplate(int windowWidth);
    bool CreateWindow(wxWindow* parent, std::string* error);
    void OnInitDialog();
    void FillProtocolCombo();
    void FillScheduleCombo();
    void ShowSettings();
    // False, with the settings as before, when the schedule's time or number does not fit.
    bool ReadSettings();
    // The schedule text of the controls; false when its time or number does not fit, with the
    // field at fault in *field.
    bool ScheduleText(std::string& schedule, int* field) const;
    void OnSelchangeSchedule();
    void OnSave();
    void OnCharHook(wxKeyEvent& event);
    wxComboBox* Combo(int itemId) const;

    CLogger m_log;
    CRenovixSettings m_settings;
    bool m_german;
    bool m_childMode;
    bool m_showProtocol;
    bool m_showRemotePath;
    bool m_offerFtp = true;
    bool m_offerHttp = true;
    bool m_offerFileSystem = true;
    CDialogTemplate m_template;
    wxWeakRef<wxWindow> m_window;
};
