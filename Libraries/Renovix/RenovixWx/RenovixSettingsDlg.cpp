#include "Renovix/RenovixWx/RenovixSettingsDlg.h"

#include "Harbinax/MessageBox.h"
#include "Harbinax/DialogControls.h"
#include "HarbinaxCore/StyleNames.h"
#include "Platform/AsciiText.h"
#include "Quillet/LogManager.h"
#include "Renovix/RenovixLib/RenovixSchedule.h"

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/panel.h>
#include <wx/textctrl.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

using namespace DialogStyle;

namespace {

enum ETextKey {
    T_PROTOCOL, T_REMOTE_PATH, T_SCHEDULE, T_TIME, T_DAY, T_INTERVAL,
    T_MONDAY, T_TUESDAY, T_WEDNESDAY, T_THURSDAY, T_FRIDAY, T_SATURDAY, T_SUNDAY,
    T_SAVE, T_CANCEL, T_TITLE, T_NONE, T_FILESYSTEM,
    T_MANUALLY, T_EVERYSTART, T_DAILY, T_WEEKLY, T_MONTHLY, T_EVERY_X_DAYS,
    T_ERROR, T_BAD_TIME, T_BAD_DAY, T_BAD_INTERVAL,
};

struct SText {
    const char* english;
    const char* german;
};

const SText kTexts[] = {
    {"Transfer protocol:", "Transfer Protokoll:"},
    {"Remote path:", "Serverpfad:"},
    {"Schedule:", "Update-Plan:"},
    {"Time:", "Uhrzeit:"},
    {"Day:", "Tag:"},
    {"Interval:", "Intervall:"},
    {"Monday", "Montag"},
    {"Tuesday", "Dienstag"},
    {"Wednesday", "Mittwoch"},
    {"Thursday", "Donnerstag"},
    {"Friday", "Freitag"},
    {"Saturday", "Samstag"},
    {"Sunday", "Sonntag"},
    {"&Save", "&Sichern"},
    {"&Cancel", "&Abbrechen"},
    {"Renovix Settings", "Renovix Einstellungen"},
    {"none", "keines"},
    {"Filesystem", "Dateisystem"},
    {"manually", "manuell"},
    {"every start", "jeden Programmstart"},
    {"daily", "täglich"},
    {"weekly", "wöchentlich"},
    {"monthly", "monatlich"},
    {"every X days", "alle X Tage"},
    {"Error", "Fehler"},
    {"Please enter the time as HH:MM, for example 08:00.", "Bitte die Uhrzeit als HH:MM eingeben, zum Beispiel 08:00."},
    {"Please enter a day of the month from 1 to 31.", "Bitte einen Tag des Monats von 1 bis 31 eingeben."},
    {"Please enter a number of days from 1 to 9999.", "Bitte eine Anzahl Tage von 1 bis 9999 eingeben."},
};

// Template layout in dialog units: rows of a label above its control, then the time row (label
// left, field right), then in the same place the number row or the day check boxes in two
// columns. Controls one above the other keep kGap between them, so that they stay apart when GTK
// makes them taller.
constexpr int kWidth = 130;
constexpr int kHeight = 140;
constexpr int kModalExtra = 15;
constexpr int kGap = 2;
constexpr int kLabelHeight = 7;
constexpr int kLabeledRow = 25;
constexpr int kFieldHeight = 12;
constexpr int kFieldRow = kFieldHeight + kGap;
constexpr int kCheckHeight = 7;
constexpr int kCheckRow = kCheckHeight + kGap;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;

const char* const kKeywords[] = {"manually", "everystart", "daily", "weekly", "monthly", "interval"};

void AddItemData(wxComboBox* combo, const wxString& text, int data)
{
    combo->Append(text, reinterpret_cast<void*>(static_cast<std::intptr_t>(data)));
}

int SelectedItemData(const wxComboBox* combo)
{
    const int selection = combo ? combo->GetSelection() : wxNOT_FOUND;
    if (selection == wxNOT_FOUND)
        return -1;
    return static_cast<int>(reinterpret_cast<std::intptr_t>(combo->GetClientData(selection)));
}

void SelectItemData(wxComboBox* combo, int data)
{
    if (!combo)
        return;
    for (unsigned int i = 0; i < combo->GetCount(); ++i) {
        if (static_cast<int>(reinterpret_cast<std::intptr_t>(combo->GetClientData(i))) == data) {
            combo->SetSelection(static_cast<int>(i));
            return;
        }
    }
    combo->SetSelection(wxNOT_FOUND);
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Whole number from first to last, nothing else.
bool ParseNumber(const std::string& text, int first, int last, int& number)
{
    const std::string digits = Trimmed(text);
    if (digits.empty() || digits.size() > 4)
        return false;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    }
    number = std::atoi(digits.c_str());
    return number >= first && number <= last;
}

}  // namespace

std::unique_ptr<CRenovixSettingsDlg> CRenovixSettingsDlg::Create(const std::string& language, wxWindow* parent,
                                                                 bool childMode, bool showProtocol, bool showRemotePath)
{
    std::unique_ptr<CRenovixSettingsDlg> dialog(
        new CRenovixSettingsDlg(language, childMode, showProtocol, showRemotePath));
    std::string error;
    if (!dialog->CreateWindow(parent, &error)) {
        QUILLET_POS(dialog->m_log);
        dialog->m_log.Error("CRenovix::CreateSettingsDialog konnte Dialog nicht initialisieren: %s", error.c_str());
        return nullptr;
    }
    return dialog;
}

CRenovixSettingsDlg::CRenovixSettingsDlg(const std::string& language, bool childMode, bool showProtocol,
                                         bool showRemotePath)
    : m_log(CLogManager::GetInstance()->GetLogger("CRenovixSettingsDlg", LOGLEVEL_PARENT)),
      m_german(language == "de"),
      m_childMode(childMode),
      m_showProtocol(showProtocol),
      m_showRemotePath(showRemotePath)
{
    CRenovixSettings::SetDefaults(m_settings);
}

CRenovixSettingsDlg::~CRenovixSettingsDlg()
{
    if (wxWindow* window = m_window.get())
        window->Destroy();
}

const char* CRenovixSettingsDlg::Text(int id) const
{
    return m_german ? kTexts[id].german : kTexts[id].english;
}

void CRenovixSettingsDlg::BuildTemplate(int windowWidth)
{
    m_template.FreeTemplate();
    m_template.ResetTemplate();
    SDialogHeader& header = m_template.Header();
    const int margin = m_childMode ? 0 : 2;
    header.style = m_childMode ? (WS_CHILD | DS_CONTROL)
                               : (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    header.style |= DS_SETFONT;
    header.pointSize = 8;
    header.weight = 400;
    header.typeface = "MS Shell Dlg";
    header.width = static_cast<std::int16_t>(windowWidth);
    header.height = static_cast<std::int16_t>(kHeight + (m_childMode ? 0 : kModalExtra) -
                                              (m_showProtocol ? 0 : kLabeledRow) -
                                              (m_showRemotePath ? 0 : kLabeledRow));
    if (!m_childMode)
        header.title = Text(T_TITLE);

    const int width = windowWidth - 2 * margin;
    const int half = width / 2;
    int y = margin;
    const auto labeledRow = [&](int labelId, int labelText, int controlId, bool combo) {
        m_template.AddStatic({margin, y, margin + width, y + kLabelHeight}, labelId, Text(labelText));
        // A combo box's height includes its dropped-down list.
        const int top = y + kLabelHeight + kGap;
        const SDialogRect field{margin, top, margin + width, top + (combo ? 80 : kFieldHeight)};
        if (combo)
            m_template.AddComboBox(field, controlId, "");
        else
            m_template.AddEdit(field, controlId, "");
        y += kLabeledRow;
    };
    if (m_showProtocol)
        labeledRow(IDC_PROTOCOL_LABEL, T_PROTOCOL, IDC_PROTOCOL, true);
    if (m_showRemotePath)
        labeledRow(IDC_REMOTE_PATH_LABEL, T_REMOTE_PATH, IDC_REMOTE_PATH, false);
    labeledRow(IDC_SCHEDULE_LABEL, T_SCHEDULE, IDC_SCHEDULE, true);

    // Each label stands in the middle of its field; a gap parts it from the field.
    m_template.AddStatic({margin, y + 2, margin + half - kGap, y + 10}, IDC_TIME_LABEL, Text(T_TIME));
    m_template.AddEdit({margin + half, y, margin + width, y + kFieldHeight}, IDC_TIME, "");
    y += kFieldRow;
    // The day or interval of a monthly or interval schedule and the days of a weekly one are never
    // shown together: they share the rows below the time.
    m_template.AddStatic({margin, y + 2, margin + half - kGap, y + 10}, IDC_NUMBER_LABEL, Text(T_DAY));
    m_template.AddEdit({margin + half, y, margin + width, y + kFieldHeight}, IDC_NUMBER, "", ES_NUMBER);
    for (int day = 0; day < 7; ++day) {
        const int column = day < 4 ? 0 : 1;
        const int row = day < 4 ? day : day - 4;
        const int left = margin + column * half;
        const int top = y + row * kCheckRow;
        m_template.AddCheckBox({left, top, left + half - kGap, top + kCheckHeight}, IDC_MONDAY + day,
                               Text(T_MONDAY + day));
    }

    if (!m_childMode) {
        const int bottom = header.height - margin;
        const int right = windowWidth - margin;
        m_template.AddDefButton({margin, bottom - kButtonHeight, margin + kButtonWidth, bottom}, IDC_SAVE, Text(T_SAVE));
        m_template.AddButton({right - kButtonWidth, bottom - kButtonHeight, right, bottom}, 2, Text(T_CANCEL));
    }
    m_template.BuildTemplate();
}

bool CRenovixSettingsDlg::CreateWindow(wxWindow* parent, std::string* error)
{
    wxWindow* window = nullptr;
    if (m_childMode) {
        if (!parent) {
            *error = "a child needs a parent window";
            return false;
        }
        window = new wxPanel(parent, wxID_ANY);
    } else {
        window = new wxDialog(parent, wxID_ANY, wxString::FromUTF8(Text(T_TITLE)), wxDefaultPosition, wxDefaultSize,
                              wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
    }
    // A window narrower than its title is laid out once more, as wide as the title needs.
    const auto* dialog = dynamic_cast<const wxDialog*>(window);
    for (int width = kWidth, pass = 0;; ++pass) {
        BuildTemplate(width);
        if (!CDialogControls::CreateControls(*m_template.GetTemplate(), window, {}, error)) {
            window->Destroy();
            return false;
        }
        const int missing = dialog ? CDialogControls::MissingTitleWidth(*dialog) : 0;
        if (missing <= 0 || pass > 0)
            break;
        window->DestroyChildren();
        width += window->ConvertPixelsToDialog(wxSize(missing, 0)).x + 1;
    }
    m_window = window;
    window->Bind(wxEVT_CHAR_HOOK, &CRenovixSettingsDlg::OnCharHook, this);
    if (wxWindow* schedule = GetItem(IDC_SCHEDULE))
        schedule->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { OnSelchangeSchedule(); });
    if (wxWindow* save = GetItem(IDC_SAVE))
        save->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnSave(); });
    OnInitDialog();
    return true;
}

void CRenovixSettingsDlg::OnInitDialog()
{
    FillProtocolCombo();
    FillScheduleCombo();
    ShowSettings();
    if (!m_childMode)
        m_window->Centre();
}

wxWindow* CRenovixSettingsDlg::GetItem(int itemId) const
{
    return m_window ? CDialogControls::FindItem(m_window.get(), itemId) : nullptr;
}

wxComboBox* CRenovixSettingsDlg::Combo(int itemId) const
{
    return dynamic_cast<wxComboBox*>(GetItem(itemId));
}

int CRenovixSettingsDlg::DoModal()
{
    auto* dialog = dynamic_cast<wxDialog*>(m_window.get());
    return dialog ? dialog->ShowModal() : wxID_CANCEL;
}

void CRenovixSettingsDlg::FillProtocolCombo()
{
    wxComboBox* combo = Combo(IDC_PROTOCOL);
    if (!combo)
        return;
    const int selected = SelectedItemData(combo);
    combo->Clear();
    AddItemData(combo, wxString::FromUTF8(Text(T_NONE)), RENOVIX_PROTOCOL_NONE);
    if (m_offerFileSystem)
        AddItemData(combo, wxString::FromUTF8(Text(T_FILESYSTEM)), RENOVIX_PROTOCOL_FILE);
    if (m_offerHttp)
        AddItemData(combo, "HTTP", RENOVIX_PROTOCOL_HTTP);
    if (m_offerFtp)
        AddItemData(combo, "FTP", RENOVIX_PROTOCOL_FTP);
    SelectItemData(combo, selected >= 0 ? selected : m_settings.protocol);
}

void CRenovixSettingsDlg::FillScheduleCombo()
{
    wxComboBox* combo = Combo(IDC_SCHEDULE);
    if (!combo)
        return;
    combo->Clear();
    for (int kind = SCHEDULE_MANUALLY; kind <= SCHEDULE_INTERVAL; ++kind)
        AddItemData(combo, wxString::FromUTF8(Text(T_MANUALLY + kind - SCHEDULE_MANUALLY)), kind);
}

void CRenovixSettingsDlg::SetSettings(const CRenovixSettings& settings)
{
    m_settings = settings;
    ShowSettings();
}

CRenovixSettings CRenovixSettingsDlg::GetSettings()
{
    const std::string before = m_settings.schedule;
    // Letter case alone makes no new schedule.
    if (m_window && ReadSettings() && !Platform::EqualsNoCase(m_settings.schedule, before))
        m_settings.nextRun = CRenovixSchedule::NextDate(m_settings.schedule, std::time(nullptr));
    return m_settings;
}

void CRenovixSettingsDlg::ShowSettings()
{
    if (!m_window)
        return;
    // ASCII case rules: under a Turkish locale tolower leaves the I of "DAILY".
    const std::string schedule = Platform::AsciiLowerText(m_settings.schedule);
    const size_t bar = schedule.find('|');
    const std::string keyword = schedule.substr(0, bar);
    const std::string rest = bar == std::string::npos ? std::string() : schedule.substr(bar + 1);
    int kind = -1;
    for (int i = 0; i < 6; ++i) {
        if (keyword == kKeywords[i])
            kind = SCHEDULE_MANUALLY + i;
    }
    std::string time;
    std::string number;
    bool days[7] = {};  // Monday first
    if (kind == SCHEDULE_DAILY && rest.size() == 5) {
        time = rest;
    } else if (kind == SCHEDULE_WEEKLY && rest.size() == 13) {
        for (int day = 0; day < 7; ++day)
            days[day] = rest[(day + 1) % 7] != '0';  // the mask starts with Sunday
        time = rest.substr(8);
    } else if (kind == SCHEDULE_MONTHLY || kind == SCHEDULE_INTERVAL) {
        const size_t next = rest.find('|');
        number = rest.substr(0, next);
        if (next != std::string::npos && rest.size() - next - 1 == 5)
            time = rest.substr(next + 1);
    }
    if (auto* edit = dynamic_cast<wxTextCtrl*>(GetItem(IDC_TIME)))
        edit->ChangeValue(wxString::FromUTF8(time));
    if (auto* edit = dynamic_cast<wxTextCtrl*>(GetItem(IDC_NUMBER)))
        edit->ChangeValue(wxString::FromUTF8(number));
    if (auto* edit = dynamic_cast<wxTextCtrl*>(GetItem(IDC_REMOTE_PATH)))
        edit->ChangeValue(wxString::FromUTF8(m_settings.baseDir));
    for (int day = 0; day < 7; ++day) {
        if (auto* box = dynamic_cast<wxCheckBox*>(GetItem(IDC_MONDAY + day)))
            box->SetValue(days[day]);
    }
    SelectItemData(Combo(IDC_SCHEDULE), kind);
    OnSelchangeSchedule();
    SelectItemData(Combo(IDC_PROTOCOL), m_settings.protocol);
}

bool CRenovixSettingsDlg::ScheduleText(std::string& schedule, int* field) const
{
    const auto edit = [this](int id) {
        const auto* window = dynamic_cast<const wxTextCtrl*>(GetItem(id));
        return window ? std::string(window->GetValue().ToUTF8()) : std::string();
    };
    const int kind = SelectedItemData(Combo(IDC_SCHEDULE));
    std::string time;
    if (kind >= SCHEDULE_DAILY && !NormalizeTime(edit(IDC_TIME), time)) {
        *field = IDC_TIME;
        return false;
    }
    int number = 0;
    if ((kind == SCHEDULE_MONTHLY && !ParseNumber(edit(IDC_NUMBER), 1, 31, number)) ||
        (kind == SCHEDULE_INTERVAL && !ParseNumber(edit(IDC_NUMBER), 1, 9999, number))) {
        *field = IDC_NUMBER;
        return false;
    }
    switch (kind) {
    case SCHEDULE_MANUALLY: schedule = "MANUALLY"; break;
    case SCHEDULE_EVERYSTART: schedule = "EVERYSTART"; break;
    case SCHEDULE_DAILY: schedule = "DAILY|" + time; break;
    case SCHEDULE_WEEKLY: {
        std::string mask = "0000000|";
        for (int day = 0; day < 7; ++day) {
            const auto* box = dynamic_cast<const wxCheckBox*>(GetItem(IDC_MONDAY + day));
            if (box && box->GetValue())
                mask[(day + 1) % 7] = '1';
        }
        schedule = "WEEKLY|" + mask + time;
        break;
    }
    case SCHEDULE_MONTHLY: schedule = "MONTHLY|" + std::to_string(number) + "|" + time; break;
    case SCHEDULE_INTERVAL: schedule = "INTERVAL|" + std::to_string(number) + "|" + time; break;
    default: schedule.clear();
    }
    return true;
}

bool CRenovixSettingsDlg::ReadSettings()
{
    std::string schedule;
    int field = 0;
    if (!ScheduleText(schedule, &field)) {
        QUILLET_POS(m_log);
        m_log.Warn("schedule not taken: %s does not fit", field == IDC_TIME ? "the time" : "the number");
        return false;
    }
    const int protocol = SelectedItemData(Combo(IDC_PROTOCOL));
    // Without the row, or with the stored protocol not offered, the protocol stays.
    if (protocol >= 0)
        m_settings.protocol = protocol;
    if (auto* edit = dynamic_cast<wxTextCtrl*>(GetItem(IDC_REMOTE_PATH))) {
        std::string baseDir(edit->GetValue().ToUTF8());
        // Every protocol takes '/': URLs, and folders on this system.
        if (!baseDir.empty() && m_settings.protocol != RENOVIX_PROTOCOL_NONE) {
            for (char& c : baseDir) {
                if (c == '\\')
                    c = '/';
            }
            if (baseDir.back() != '/')
                baseDir += '/';
        }
        m_settings.baseDir = baseDir;
    }
    m_settings.schedule = schedule;
    return true;
}

bool CRenovixSettingsDlg::NormalizeTime(const std::string& typed, std::string& normalized)
{
    const std::string text = Trimmed(typed);
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 1 || colon > 2 || text.size() != colon + 3)
        return false;
    int hours = 0;
    int minutes = 0;
    if (!ParseNumber(text.substr(0, colon), 0, 23, hours) || !ParseNumber(text.substr(colon + 1), 0, 59, minutes))
        return false;
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", hours, minutes);
    normalized = buffer;
    return true;
}

void CRenovixSettingsDlg::OnSelchangeSchedule()
{
    const int kind = SelectedItemData(Combo(IDC_SCHEDULE));
    const bool time = kind >= SCHEDULE_DAILY;
    const bool number = kind == SCHEDULE_MONTHLY || kind == SCHEDULE_INTERVAL;
    const auto show = [this](int id, bool on) {
        if (wxWindow* window = GetItem(id))
            window->Show(on);
    };
    show(IDC_TIME_LABEL, time);
    show(IDC_TIME, time);
    show(IDC_NUMBER_LABEL, number);
    show(IDC_NUMBER, number);
    if (number) {
        if (wxWindow* label = GetItem(IDC_NUMBER_LABEL))
            label->SetLabel(wxString::FromUTF8(Text(kind == SCHEDULE_MONTHLY ? T_DAY : T_INTERVAL)));
    }
    for (int day = 0; day < 7; ++day)
        show(IDC_MONDAY + day, kind == SCHEDULE_WEEKLY);
}

bool CRenovixSettingsDlg::CheckInput()
{
    std::string schedule;
    int field = 0;
    if (ScheduleText(schedule, &field))
        return true;
    const int kind = SelectedItemData(Combo(IDC_SCHEDULE));
    const int message = field == IDC_TIME ? T_BAD_TIME : kind == SCHEDULE_MONTHLY ? T_BAD_DAY : T_BAD_INTERVAL;
    ShowMessageBox(m_window.get(), Text(message), Text(T_ERROR), wxOK | wxICON_ERROR);
    if (wxWindow* window = GetItem(field))
        window->SetFocus();
    return false;
}

void CRenovixSettingsDlg::OnSave()
{
    if (!CheckInput())
        return;
    ReadSettings();
    if (auto* dialog = dynamic_cast<wxDialog*>(m_window.get()))
        dialog->EndModal(wxID_OK);
}

void CRenovixSettingsDlg::OnCharHook(wxKeyEvent& event)
{
    switch (event.GetKeyCode()) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        if (wxWindow* focus = wxWindow::FindFocus())
            focus->Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward);
        return;
    case WXK_ESCAPE:
        return;  // only Cancel closes the dialog
    default:
        event.Skip();
    }
}

void CRenovixSettingsDlg::EnableFtp(bool enable)
{
    m_offerFtp = enable;
    FillProtocolCombo();
}

void CRenovixSettingsDlg::EnableHttp(bool enable)
{
    m_offerHttp = enable;
    FillProtocolCombo();
}

void CRenovixSettingsDlg::EnableFileSystem(bool enable)
{
    m_offerFileSystem = enable;
    FillProtocolCombo();
}

void CRenovixSettingsDlg::EnableProtocolSelection(bool enable)
{
    if (wxWindow* combo = GetItem(IDC_PROTOCOL))
        combo->Enable(enable);
}

void CRenovixSettingsDlg::EnableRemotePath(bool enable)
{
    if (wxWindow* edit = GetItem(IDC_REMOTE_PATH))
        edit->Enable(enable);
}
