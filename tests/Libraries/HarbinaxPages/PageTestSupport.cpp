#include "PageTestSupport.h"

#include "support/WxTestEnvironment.h"

#include <wx/dcmemory.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <utility>

namespace {

::testing::Environment* const wx =
    ::testing::AddGlobalTestEnvironment(new CWxTestEnvironment({"HarbinaxPagesTests"}));

}  // namespace

std::map<int, wxPoint> ToolCentres(wxToolBar* toolBar)
{
    // The toolkit does not tell where a tool is, but it says which tool the pointer enters:
    // sweep the pointer along the toolbar and take the middle of the stretch under each tool.
    int current = -1;
    auto entered = [&current](wxCommandEvent& event) {
        current = event.GetInt();
        event.Skip();
    };
    toolBar->Bind(wxEVT_TOOL_ENTER, entered);
    wxUIActionSimulator mouse;
    const wxRect rect = toolBar->GetScreenRect();
    const int y = rect.y + rect.height / 2;
    std::map<int, std::pair<int, int>> spans;
    for (int x = rect.x + 1; x < rect.GetRight(); x += 6) {
        mouse.MouseMove(x, y);
        wxYield();
        wxYield();
        if (current < 0)
            continue;
        auto found = spans.emplace(current, std::make_pair(x, x)).first;
        found->second.second = x;
    }
    toolBar->Unbind(wxEVT_TOOL_ENTER, entered);
    std::map<int, wxPoint> centres;
    for (const auto& [id, span] : spans)
        centres[id] = wxPoint((span.first + span.second) / 2, y);
    return centres;
}

wxBitmap SquareIcon(const wxColour& colour)
{
    wxBitmap bitmap(32, 32);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(colour));
    dc.Clear();
    dc.SetPen(*wxBLACK_PEN);
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(0, 0, 32, 32);
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}
