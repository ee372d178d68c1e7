#include "TAMBEL/GasMixDataDlg.h"

#include "CommonFiles/DataFormat.h"
#include "CommonFiles/Fluids/FluidManager.h"
#include "Harbinax/FilterEdit.h"
#include "Harbinax/Harbinax.h"
#include "Harbinax/MessageBox.h"
#include "HarbinaxCore/StyleNames.h"
#include "PolyglottaWx/WindowIds.h"
#include "TAMBEL/NumberInput.h"
#include "TAMBEL/TextFormat.h"
#include "TAMBEL/ValueRangeCheck.h"

#include <algorithm>
#include <cmath>
#include <utility>

using namespace DialogStyle;

namespace {

constexpr int kRows = 10;
constexpr int kColumnWidth = 118;
constexpr int kRowHeight = 17;
constexpr int kHeight = 214;
constexpr int kFieldRight = 99;  // within a column
constexpr int kMargin = 5;

double RoundToHundredths(double value)
{
    return std::round(value * 100.0) / 100.0;
}

}  // namespace

CGasMixDataDlg::CGasMixDataDlg(wxWindow* parent)
    : CDynamicDialog(parent)
{
}

CGasMixDataDlg::~CGasMixDataDlg() = default;

int CGasMixDataDlg::TemplateWidth(int lastColumn)
{
    const int width = std::max(104, 116 * lastColumn + 96) + 10;
    // From the fifth column on that width ends before the last field does; only then is the
    // dialog widened to the field's end and a margin.
    const int fieldEnd = kColumnWidth * lastColumn + kFieldRight;
    return fieldEnd > width ? fieldEnd + kMargin : width;
}

bool CGasMixDataDlg::CreateTemplate()
{
    std::vector<SGas> gases;
    CFluidManager* manager = CFluidManager::GetInstance();
    if (manager) {
        const std::string language = GetAppLanguage();
        CFluidPtrArray fluids;
        manager->GetFluidList(fluids, FLUID_TYPE_GAS, FALSE, language);
        for (const CFluid* fluid : fluids) {
            if (!fluid || fluid->HideInGui || fluid->DbIndex == FLUID_INDEX_AIR)
                continue;
            // The list gives the names in the language already.
            gases.push_back({fluid->DbIndex, fluid->Name});
        }
    }
    return CreateTemplate(gases);
}

bool CGasMixDataDlg::CreateTemplate(const std::vector<SGas>& gases)
{
    SDialogHeader& header = Header();
    header.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_CENTER | DS_SETFOREGROUND | DS_SETFONT;
    header.pointSize = 8;
    header.weight = 400;
    header.charset = 1;
    header.typeface = "MS Shell Dlg";

    int lastColumn = 0;
    for (std::size_t i = 0; i < gases.size(); ++i) {
        const int row = static_cast<int>(i) % kRows;
        const int column = static_cast<int>(i) / kRows;
        const int left = kColumnWidth * column;
        const int top = kRowHeight * row;
        AddStatic({left + 5, top + 5, left + 65, top + 19}, gases[i].id + kLabelOffset, gases[i].name,
                  SS_CENTERIMAGE);
        const int fieldId = gases[i].id + kFieldOffset;
        AddEdit({left + 69, top + 5, left + kFieldRight, top + 19}, fieldId, DataFormat::Format(0.0, 0, false),
                ES_RIGHT);
        m_fieldIds.push_back(fieldId);
        SetControlFactory(fieldId, [](wxWindow* parent, int windowId, const SDialogItem&, const wxPoint& position,
                                      const wxSize& size) -> wxWindow* {
            auto* edit = new CFilterEdit(parent, windowId, wxString(), position, size, wxTE_RIGHT);
            edit->SetNumeric(true, true);
            edit->SetMaxLength(8);
            return edit;
        });
        lastColumn = column;
    }
    const int width = TemplateWidth(lastColumn);
    header.width = static_cast<std::int16_t>(width);
    header.height = kHeight;
    AddStatic({5, 178, width - 5, 190}, kTotalSumId, std::string());
    const int x0 = (width - 104) / 2;
    AddButton({x0, 192, x0 + 50, 206}, 1, TranslateText("&OK"));
    AddButton({x0 + 54, 192, x0 + 104, 206}, 2, TranslateText("&Cancel"));
    if (!BuildTemplate() || !CreateFromTemplate(true))
        return false;

    SetTitle(wxString::FromUTF8(TranslateText("Enter gas mix data")));
    Bind(wxEVT_TEXT, &CGasMixDataDlg::OnText, this);
    Bind(wxEVT_BUTTON, &CGasMixDataDlg::OnOk, this, wxID_OK);
    return true;
}

int CGasMixDataDlg::GetGasMixElements(std::vector<GasMixElement>& elements) const
{
    elements = m_elements;
    return 1;
}

int CGasMixDataDlg::DoModal()
{
    if (!GetHandle())
        return wxID_CANCEL;
    FillFields();
    return ShowModal();
}

void CGasMixDataDlg::FillFields()
{
    m_shown.Clear();
    for (int id : m_fieldIds) {
        if (wxTextCtrl* field = Field(id))
            field->ChangeValue(wxString());
    }
    for (const GasMixElement& element : m_elements) {
        const int id = element.GasId + kFieldOffset;
        if (wxTextCtrl* field = Field(id))
            field->ChangeValue(wxString::FromUTF8(m_shown.ShowFixed(id, element.Percentage, 2)));
    }
    UpdateTotalSum();
}

wxTextCtrl* CGasMixDataDlg::Field(int fieldId) const
{
    return dynamic_cast<wxTextCtrl*>(GetItem(fieldId));
}

double CGasMixDataDlg::GetTotalSum() const
{
    double sum = 0.0;
    for (int id : m_fieldIds) {
        if (const wxTextCtrl* field = Field(id))
            sum += ReadDecimalInput(field->GetValue().utf8_string());
    }
    // Shares typed with two decimals must not miss the bounds by a rounding error
    // (33.33 + 33.33 + 33.32).
    return RoundToHundredths(sum);
}

void CGasMixDataDlg::UpdateTotalSum()
{
    wxWindow* total = GetItem(kTotalSumId);
    if (!total)
        return;
    total->SetLabel(wxString::FromUTF8(
        FillText(TranslateText("Total sum: %.02f %%"), {DataFormat::FormatFixed(GetTotalSum(), 2)})));
}

bool CGasMixDataDlg::CheckField(int fieldId)
{
    wxTextCtrl* field = Field(fieldId);
    if (!field || m_checking)
        return true;
    m_checking = true;
    const wxWindow* label = GetItem(fieldId - kFieldOffset + kLabelOffset);
    const bool inRange =
        CheckEditValueRange(label ? label->GetLabel().utf8_string() : std::string(), field, 0.0, 100.0, 4);
    m_checking = false;
    return inRange;
}

void CGasMixDataDlg::OnText(wxCommandEvent& event)
{
    const int id = CWindowIds::ToResourceId(event.GetId());
    if (id < 1000 || id > 6000)
        return;
    UpdateTotalSum();
    // The message box and the focus it gives back must not run inside GTK's text signal.
    CallAfter([this, id] { CheckField(id); });
}

void CGasMixDataDlg::OnOk(wxCommandEvent&)
{
    // A share outside 0 to 100 is refused even when the sum comes out right.
    for (int id : m_fieldIds) {
        if (!CheckField(id))
            return;
    }
    const double sum = GetTotalSum();
    if (sum < 99.98 || sum > 100.02) {
        ShowMessageBox(this, "The total sum of gases must be 100.0!", "Invalid data", wxOK | wxICON_WARNING);
        return;
    }
    std::vector<GasMixElement> elements;
    for (int id : m_fieldIds) {
        const wxTextCtrl* field = Field(id);
        const std::string text = field ? field->GetValue().utf8_string() : std::string();
        const double value = m_shown.Stored(id, text, ReadDecimalInput(text));
        if (value != 0.0)
            elements.push_back({id - kFieldOffset, value});
    }
    // The same shares in another order are the mixture as it was, kept in its own order.
    if (!std::is_permutation(elements.begin(), elements.end(), m_elements.begin(), m_elements.end()))
        m_elements = std::move(elements);
    EndModal(wxID_OK);
}
