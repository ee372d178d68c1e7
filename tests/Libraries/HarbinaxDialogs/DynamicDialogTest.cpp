#include "DialogsGuiEnvironment.h"
#include "Harbinax/DialogControls.h"
#include "Harbinax/DynamicDialog.h"
#include "Harbinax/FilterEdit.h"
#include "HarbinaxCore/DialogItemKind.h"
#include "HarbinaxCore/StyleNames.h"
#include "Platform/ResourceRegistry.h"
#include "PolyglottaWx/WindowIds.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/hyperlink.h>
#include <wx/listbox.h>
#include <wx/listctrl.h>
#include <wx/log.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <cstdlib>
#include <memory>
#include <string>

using namespace DialogStyle;

namespace {

std::string AllControlsXml()
{
    std::string_view bytes;
    EXPECT_TRUE(CResourceRegistry::Find("DIALOG", 100, bytes));
    return std::string(bytes);
}

UniqueWindow<CDynamicDialog> BuiltDialog(const std::string& xml)
{
    UniqueWindow<CDynamicDialog> dialog(new CDynamicDialog(nullptr));
    std::string error;
    EXPECT_TRUE(dialog->LoadFromXml(xml, &error)) << error;
    EXPECT_NE(dialog->BuildTemplate(), nullptr);
    return dialog;
}

template <class T>
T* ItemAs(const CDynamicDialog& dialog, int id)
{
    wxWindow* window = dialog.GetItem(id);
    EXPECT_NE(window, nullptr) << "no control " << id;
    T* control = dynamic_cast<T*>(window);
    EXPECT_NE(control, nullptr) << "control " << id << " is a " << (window ? window->GetClassInfo()->GetClassName() : L"");
    return control;
}

TEST(DynamicDialog, ControlsFromXmlAtTheirIdsAndPlaces)
{
    auto dialog = BuiltDialog(AllControlsXml());
    ASSERT_TRUE(dialog->CreateFromTemplate(false));
    EXPECT_TRUE(dialog->IsShown() == false) << "shown without WS_VISIBLE";
    EXPECT_EQ(dialog->GetTitle(), "Every control");
    // The template's size, or larger where the controls needed more room.
    const wxSize designed = dialog->ConvertDialogToPixels(wxSize(320, 220));
    EXPECT_GE(dialog->GetClientSize().x, designed.x);
    EXPECT_GE(dialog->GetClientSize().y, designed.y);
    EXPECT_EQ(dialog->GetFont().GetPointSize(), 8);

    ItemAs<wxStaticBitmap>(*dialog, 131);
    EXPECT_EQ(ItemAs<wxStaticText>(*dialog, 1000)->GetLabel(), "Version 1.2.3.4");
    EXPECT_EQ(ItemAs<wxHyperlinkCtrl>(*dialog, 1002)->GetLabelText(), "Maker & Sons");
    EXPECT_EQ(ItemAs<wxStaticBox>(*dialog, 1100)->GetLabel(), "Options");
    EXPECT_EQ(ItemAs<wxRadioButton>(*dialog, 1101)->GetLabelText(), "Graph");
    ItemAs<wxCheckBox>(*dialog, 1105);
    ItemAs<CFilterEdit>(*dialog, 1059);
    EXPECT_TRUE(ItemAs<wxComboBox>(*dialog, 1016)->HasFlag(wxCB_READONLY));
    auto* customer = ItemAs<wxTextCtrl>(*dialog, 1041);
    EXPECT_TRUE(customer->IsMultiLine());
    EXPECT_EQ(customer->GetValue(), "Customer\nStreet");
    auto* list = ItemAs<wxListCtrl>(*dialog, 1054);
    EXPECT_TRUE(list->InReportView());
    EXPECT_TRUE(list->HasFlag(wxLC_SINGLE_SEL));
    ItemAs<wxNotebook>(*dialog, 1048);
    ItemAs<wxListBox>(*dialog, 1070);
    ItemAs<wxGauge>(*dialog, 1009);
    EXPECT_FALSE(ItemAs<wxTextCtrl>(*dialog, 1043)->IsEnabled());
    auto* ok = ItemAs<wxButton>(*dialog, 1);
    auto* cancel = ItemAs<wxButton>(*dialog, 2);
    EXPECT_EQ(ok->GetId(), wxID_OK);
    EXPECT_EQ(cancel->GetId(), wxID_CANCEL);
    EXPECT_EQ(dialog->GetDefaultItem(), ok);

    // The placeholder frame is there, hidden, for its owner to take its rectangle.
    wxWindow* frame = dialog->GetItem(1061);
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->IsShown());
    const wxRect placeholder(dialog->ConvertDialogToPixels(wxPoint(170, 124)),
                             dialog->ConvertDialogToPixels(wxSize(138, 28)));
    EXPECT_GE(frame->GetRect().x, placeholder.x);
    EXPECT_GE(frame->GetRect().y, placeholder.y);
    EXPECT_EQ(frame->GetSize(), placeholder.GetSize());

    // Every control in template order, at its place in dialog units or, where a control before
    // it needed more room, further right and down; never smaller than the template.
    const SDialogTemplate& built = *dialog->GetTemplate();
    const wxWindowList& children = dialog->GetChildren();
    ASSERT_EQ(children.size(), built.items.size());
    std::size_t index = 0;
    for (const wxWindow* child : children) {
        const SDialogItem& item = built.items[index++];
        const wxRect expected(dialog->ConvertDialogToPixels(wxPoint(item.x, item.y)),
                              dialog->ConvertDialogToPixels(wxSize(item.width, item.height)));
        const wxRect rect = child->GetRect();
        EXPECT_GE(rect.x, expected.x) << item.id;
        switch (DialogItemKind(item)) {
        case EDialogItemKind::Icon:
        case EDialogItemKind::HorizontalLine:
        case EDialogItemKind::VerticalLine:
            EXPECT_GE(rect.y, expected.y) << item.id;
            break;  // their own size or thickness
        case EDialogItemKind::ComboBox:
            // the height of a field (at least its own), not of the dropped-down list
            EXPECT_GE(rect.width, expected.width) << item.id;
            EXPECT_GE(rect.height, std::min(expected.height, dialog->ConvertDialogToPixels(wxSize(0, 14)).y));
            EXPECT_GE(rect.height, child->GetBestSize().y) << item.id;
            EXPECT_LT(rect.height, expected.height) << item.id;
            break;
        case EDialogItemKind::CheckBox:
        case EDialogItemKind::RadioButton:
        case EDialogItemKind::PushButton:
            // their own height where the theme needs more
            EXPECT_GE(rect.y, expected.y) << item.id;
            EXPECT_GE(rect.width, expected.width) << item.id;
            EXPECT_GE(rect.height, std::max(expected.height, child->GetBestSize().y)) << item.id;
            break;
        case EDialogItemKind::Text:
            if (item.style & SS_CENTERIMAGE)
                break;
            [[fallthrough]];
        default:
            EXPECT_GE(rect.y, expected.y) << item.id;
            EXPECT_GE(rect.width, expected.width) << item.id;
            EXPECT_GE(rect.height, expected.height) << item.id;
            break;
        }
    }
}

// GTK's fields and boxes are taller, and its fonts wider, than the templates were drawn for: the
// rows and columns behind a control make room for it, aligned controls stay aligned, and the
// window grows; after a change of texts (a translation) the layout fits again.
TEST(DialogControls, RowsAndColumnsMakeRoomForWhatTheControlsNeed)
{
    auto dialog = BuiltDialog(
        "<dialog style='WS_POPUP WS_CAPTION DS_SETFONT' pointsize='8' width='120' height='60'>"
        "<item class='STATIC' id='10' x='5' y='5' width='20' height='8' title='A rather long label' style='WS_CHILD WS_VISIBLE'/>"
        "<item class='COMBOBOX' id='11' x='30' y='4' width='60' height='80' style='WS_CHILD WS_VISIBLE CBS_DROPDOWNLIST'/>"
        "<item class='STATIC' id='12' x='5' y='21' width='20' height='8' title='B' style='WS_CHILD WS_VISIBLE'/>"
        "<item class='EDIT' id='13' x='30' y='20' width='60' height='10' style='WS_CHILD WS_VISIBLE WS_BORDER'/>"
        "<item class='BUTTON' id='14' x='5' y='34' width='50' height='8' title='Check box with a long text'"
        " style='WS_CHILD WS_VISIBLE BS_AUTOCHECKBOX'/>"
        "<item class='BUTTON' id='1' x='30' y='46' width='12' height='10' title='OK' style='WS_CHILD WS_VISIBLE'/>"
        "<item class='BUTTON' id='2' x='44' y='46' width='12' height='10' title='+' style='WS_CHILD WS_VISIBLE'/>"
        "</dialog>");
    ASSERT_TRUE(dialog->CreateFromTemplate(false));
    const auto rect = [&dialog](int id) { return dialog->GetItem(id)->GetRect(); };
    const auto textWidth = [&dialog](int id) {
        return dialog->GetItem(id)->GetTextExtent(wxControl::RemoveMnemonics(dialog->GetItem(id)->GetLabel())).x;
    };
    // The label shows its whole text, and the fields beside it move right, still aligned.
    EXPECT_GE(rect(10).width, textWidth(10));
    EXPECT_GE(rect(11).x, rect(10).GetRight());
    EXPECT_EQ(rect(13).x, rect(11).x);
    // The combo box and the edit are as tall as GTK draws them, and the rows below make room.
    EXPECT_GE(rect(11).height, dialog->GetItem(11)->GetBestSize().y);
    EXPECT_GE(rect(13).height, dialog->GetItem(13)->GetBestSize().y);
    EXPECT_GT(rect(13).y, rect(11).GetBottom());
    EXPECT_GT(rect(14).y, rect(13).GetBottom());
    EXPECT_GE(rect(14).width, dialog->GetItem(14)->GetBestSize().x);
    // Buttons show their texts side by side.
    EXPECT_GE(rect(1).width, textWidth(1));
    EXPECT_GE(rect(2).width, textWidth(2));
    EXPECT_GT(rect(2).x, rect(1).GetRight());
    EXPECT_GT(rect(1).y, rect(14).GetBottom());
    // The window holds them all.
    const wxSize client = dialog->GetClientSize();
    EXPECT_GT(client.x, dialog->ConvertDialogToPixels(wxSize(120, 0)).x);
    for (int id : {10, 11, 12, 13, 14, 1, 2}) {
        EXPECT_LE(rect(id).GetRight(), client.x) << id;
        EXPECT_LE(rect(id).GetBottom(), client.y) << id;
    }

    // A longer text after creation gets its room when the layout is fitted again.
    dialog->GetItem(12)->SetLabel("An even longer label than the first one");
    CDialogControls::FitControls(dialog.get());
    EXPECT_GE(rect(12).width, textWidth(12));
    EXPECT_GE(rect(13).x, rect(12).GetRight());
    EXPECT_EQ(rect(11).x, rect(13).x);
    // Fitting again changes nothing more.
    const wxRect before = rect(13);
    CDialogControls::FitControls(dialog.get());
    EXPECT_EQ(rect(13), before);
}

TEST(DynamicDialog, IconComesFromTheResources)
{
    auto dialog = BuiltDialog(AllControlsXml());
    ASSERT_TRUE(dialog->CreateFromTemplate(false));
    const wxBitmap bitmap = ItemAs<wxStaticBitmap>(*dialog, 131)->GetBitmap();
    ASSERT_TRUE(bitmap.IsOk());
    EXPECT_EQ(bitmap.GetSize(), wxSize(32, 32));
}

// Counts what wx logs while it is the log target.
class CLogCounter : public wxLog {
public:
    CLogCounter() : m_previous(wxLog::SetActiveTarget(this)) {}
    ~CLogCounter() override { wxLog::SetActiveTarget(m_previous); }

    int messages = 0;

protected:
    void DoLogTextAtLevel(wxLogLevel, const wxString&) override { ++messages; }

private:
    wxLog* m_previous;
};

// A damaged image among the resources leaves the control empty; the user gets no message box
// about it when the dialog opens.
TEST(DynamicDialog, BrokenImageResourceLeavesTheControlEmptyAndQuiet)
{
    auto dialog = BuiltDialog("<dialog><item class='STATIC' id='132' x='8' y='8' width='20' height='20'"
                              " title='#132' style='WS_CHILD WS_VISIBLE SS_ICON'/></dialog>");
    CLogCounter log;
    ASSERT_TRUE(dialog->CreateFromTemplate(false));
    EXPECT_FALSE(ItemAs<wxStaticBitmap>(*dialog, 132)->GetBitmap().IsOk());
    EXPECT_EQ(log.messages, 0);
}

TEST(DynamicDialog, RadioButtonsFormTheirGroups)
{
    auto dialog = BuiltDialog(AllControlsXml());
    ASSERT_TRUE(dialog->CreateFromTemplate(false));
    auto* graph = ItemAs<wxRadioButton>(*dialog, 1101);
    auto* data = ItemAs<wxRadioButton>(*dialog, 1102);
    auto* metric = ItemAs<wxRadioButton>(*dialog, 1103);
    auto* imperial = ItemAs<wxRadioButton>(*dialog, 1104);
    graph->SetValue(true);
    metric->SetValue(true);
    data->SetValue(true);
    EXPECT_FALSE(graph->GetValue());
    EXPECT_TRUE(metric->GetValue()) << "the second group follows the first";
    imperial->SetValue(true);
    EXPECT_FALSE(metric->GetValue());
    EXPECT_TRUE(data->GetValue());
}

TEST(DynamicDialog, OkButtonEndsTheModalDialogWithOk)
{
    auto dialog = BuiltDialog(AllControlsXml());
    ASSERT_TRUE(dialog->CreateFromTemplate(true));
    EXPECT_FALSE(dialog->IsShown());
    wxTimer guard;
    guard.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { dialog->EndModal(-1); });
    guard.StartOnce(10000);
    dialog->CallAfter([&] {
        PumpFor(300);
        wxUIActionSimulator simulator;
        wxWindow* ok = dialog->GetItem(1);
        simulator.MouseMove(ok->GetScreenRect().GetPosition() + ok->GetSize() / 2);
        PumpFor(100);
        simulator.MouseClick();
    });
    EXPECT_EQ(dialog->ShowModal(), wxID_OK);
}

TEST(DynamicDialog, CreationIsRefusedWithoutAUsableTemplate)
{
    {
        CDynamicDialog dialog(nullptr);
        EXPECT_FALSE(dialog.CreateFromTemplate(true)) << "not built";
    }
    {
        auto dialog = BuiltDialog("<dialog style='WS_POPUP WS_CAPTION'/>");
        EXPECT_TRUE(dialog->CreateFromTemplate(true));
        EXPECT_FALSE(dialog->CreateFromTemplate(true)) << "twice";
    }
    {
        auto dialog = BuiltDialog("<dialog style='WS_CHILD DS_CONTROL'/>");
        EXPECT_FALSE(dialog->CreateFromTemplate(false)) << "a child belongs in a panel";
    }
    // A control of a class no control stands for.
    auto dialog = BuiltDialog("<dialog><item class='BUTTON' id='1' style='WS_CHILD WS_VISIBLE'/>"
                              "<item class='SCROLLBAR' id='10' style='WS_CHILD WS_VISIBLE'/></dialog>");
    EXPECT_FALSE(dialog->CreateFromTemplate(false));
    EXPECT_TRUE(dialog->GetChildren().empty());
}

TEST(DynamicDialog, ControlIdsInWxsReservedRangeMoveOutOfIt)
{
    // 5100 is wxID_OK's value: a control with it would close the dialog.
    auto dialog = BuiltDialog("<dialog><item class='BUTTON' id='5100' style='WS_CHILD WS_VISIBLE'/>"
                              "<item class='BUTTON' id='1' style='WS_CHILD WS_VISIBLE'/></dialog>");
    ASSERT_TRUE(dialog->CreateFromTemplate(false));
    wxWindow* button = dialog->GetItem(5100);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->GetId() < wxID_LOWEST || button->GetId() > wxID_HIGHEST) << button->GetId();
    EXPECT_EQ(CWindowIds::ToResourceId(button->GetId()), 5100);
    EXPECT_EQ(dialog->GetItem(1)->GetId(), wxID_OK);
}

TEST(DynamicDialog, CentredLabelStandsInTheMiddleOfItsLine)
{
    auto dialog = BuiltDialog("<dialog style='DS_SETFONT' pointsize='8' typeface='MS Shell Dlg'>"
                              "<item class='STATIC' id='10' x='5' y='20' width='90' height='24' title='Size:'"
                              " style='WS_CHILD WS_VISIBLE SS_CENTERIMAGE'/>"
                              "<item class='STATIC' id='11' x='5' y='40' width='90' height='14' title='Size:'"
                              " style='WS_CHILD WS_VISIBLE'/></dialog>");
    ASSERT_TRUE(dialog->CreateFromTemplate(false));
    const wxRect line(dialog->ConvertDialogToPixels(wxPoint(5, 20)), dialog->ConvertDialogToPixels(wxSize(90, 24)));
    const wxRect centred = dialog->GetItem(10)->GetRect();
    EXPECT_LT(centred.height, line.height);
    EXPECT_LE(std::abs((centred.y + centred.height / 2) - (line.y + line.height / 2)), 1) << centred.y;
    EXPECT_EQ(centred.x, line.x);
    EXPECT_EQ(centred.width, line.width);
    // Without the style the label keeps the top of its line.
    EXPECT_EQ(dialog->GetItem(11)->GetPosition(), dialog->ConvertDialogToPixels(wxPoint(5, 40)));
}

TEST(DynamicDialog, FactoryMakesTheControlOfAnItem)
{
    auto dialog = BuiltDialog(AllControlsXml());
    dialog->SetControlFactory(1043, [](wxWindow* parent, int id, const SDialogItem& item, const wxPoint& pos,
                                       const wxSize& size) {
        auto* edit = new CFilterEdit(parent, id, wxString(), pos, size);
        edit->SetUpperCase(true);
        edit->SetText(wxString::FromUTF8(item.title));
        return edit;
    });
    ASSERT_TRUE(dialog->CreateFromTemplate(false));
    EXPECT_EQ(ItemAs<CFilterEdit>(*dialog, 1043)->GetValue(), "READ ONLY");
    EXPECT_FALSE(dialog->GetItem(1043)->IsEnabled());
}

TEST(DynamicDialog, AddedItemsAndTheHeaderSetInCode)
{
    UniqueWindow<CDynamicDialog> dialog(new CDynamicDialog(nullptr));
    SDialogHeader& header = dialog->Header();
    header.style = WS_POPUP | WS_CAPTION | DS_SETFONT | DS_CENTER;
    header.width = 180;
    header.height = 60;
    header.pointSize = 10;
    header.title = "Gas mix";
    dialog->AddStatic({5, 7, 60, 15}, -1, "Component:");
    dialog->AddComboBox({65, 5, 175, 100}, 1200, "");
    dialog->AddDefButton({65, 40, 115, 54}, 1, "OK");
    dialog->AddButton({120, 40, 170, 54}, 2, "Cancel");
    ASSERT_NE(dialog->BuildTemplate(), nullptr);
    ASSERT_EQ(dialog->BuildTemplate(), nullptr);
    ASSERT_TRUE(dialog->CreateFromTemplate(false));
    EXPECT_EQ(dialog->GetFont().GetPointSize(), 10);
    EXPECT_GE(dialog->GetClientSize().x, dialog->ConvertDialogToPixels(wxSize(180, 60)).x);
    EXPECT_GE(dialog->GetClientSize().y, dialog->ConvertDialogToPixels(wxSize(180, 60)).y);
    EXPECT_EQ(dialog->GetItem(1200)->GetPosition(), dialog->ConvertDialogToPixels(wxPoint(65, 5)));
    EXPECT_EQ(dialog->GetDefaultItem(), dialog->GetItem(1));
}

// A page or an embedded dialog: the template's controls in a panel.
TEST(DialogControls, ChildTemplateInAPanel)
{
    UniqueWindow<wxFrame> frame(new wxFrame(nullptr, wxID_ANY, "Host"));
    auto* panel = new wxPanel(frame.get(), wxID_ANY);
    CDialogTemplate page;
    ASSERT_TRUE(page.LoadFromXml("<dialog style='WS_CHILD DS_CONTROL DS_SETFONT' pointsize='9' width='100' height='40'>"
                                 "<item class='EDIT' id='1047' x='10' y='10' width='40' height='12'"
                                 " style='WS_CHILD WS_VISIBLE WS_BORDER ES_UPPERCASE'/></dialog>"));
    std::string error;
    ASSERT_TRUE(CDialogControls::CreateControls(*page.BuildTemplate(), panel, {}, &error)) << error;
    EXPECT_EQ(panel->GetFont().GetPointSize(), 9);
    // As large as the template, or as the edit's own height needed.
    EXPECT_EQ(panel->GetClientSize().x, panel->ConvertDialogToPixels(wxSize(100, 40)).x);
    EXPECT_GE(panel->GetClientSize().y, panel->ConvertDialogToPixels(wxSize(100, 40)).y);
    auto* edit = dynamic_cast<CFilterEdit*>(CDialogControls::FindItem(panel, 1047));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetPosition(), panel->ConvertDialogToPixels(wxPoint(10, 10)));
    edit->SetText("dn 50");
    EXPECT_EQ(edit->GetValue(), "DN 50");
    EXPECT_EQ(CDialogControls::FindItem(panel, 1048), nullptr);
}

TEST(DialogControls, DialogResourceById)
{
    CDialogTemplate resource;
    std::string error;
    ASSERT_TRUE(CDialogControls::LoadResource(100, resource, &error)) << error;
    EXPECT_EQ(resource.Header().title, "Every control");
    EXPECT_TRUE(resource.UnknownStyleNames().empty());
    EXPECT_FALSE(CDialogControls::LoadResource(101, resource, &error));
    EXPECT_NE(error.find("101"), std::string::npos) << error;
    EXPECT_EQ(resource.Header().title, "Every control");
}

TEST(DialogControls, WindowIds)
{
    EXPECT_EQ(CDialogControls::WindowId(1), wxID_OK);
    EXPECT_EQ(CDialogControls::WindowId(2), wxID_CANCEL);
    EXPECT_EQ(CDialogControls::WindowId(0xFFFF), wxID_ANY);
    EXPECT_EQ(CDialogControls::WindowId(1054), 1054);
    EXPECT_EQ(CDialogControls::WindowId(5100), CWindowIds::FromResourceId(5100));
}

}  // namespace
