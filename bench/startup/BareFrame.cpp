// The floor of the start-up benchmark: what wx and GTK alone cost. A frame with one panel and
// 40 text controls, shown, closed at the first idle event.
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/textctrl.h>

namespace {

class CBareApp : public wxApp {
public:
    bool OnInit() override
    {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Bare frame", wxDefaultPosition, wxSize(800, 600));
        auto* panel = new wxPanel(frame);
        for (int i = 0; i < 40; ++i)
            new wxTextCtrl(panel, wxID_ANY, "", wxPoint(10 + (i % 4) * 190, 10 + (i / 4) * 30), wxSize(180, 24));
        frame->Show();
        frame->Bind(wxEVT_IDLE, [frame](wxIdleEvent&) { frame->Close(); });
        return true;
    }
};

}  // namespace

wxIMPLEMENT_APP(CBareApp);
