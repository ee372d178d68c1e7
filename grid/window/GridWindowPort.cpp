#include "grid/window/GridWindowPort.h"

#include "Harbinax/ClippedTextTip.h"
#include "grid/window/GridComboList.h"
#include "grid/window/GridDcPainter.h"
#include "grid/window/GridInPlaceEdit.h"
#include "grid/window/GridNotifyEvent.h"
#include "grid/window/GridWindow.h"

#include <wx/clipbrd.h>
#include <wx/dcclient.h>
#include <wx/imaglist.h>
#include <wx/settings.h>

namespace {
int Orientation(int bar)
{
    return bar == SB_HORZ ? wxHORIZONTAL : wxVERTICAL;
}
} // namespace

CGridSize CGridWindowPort::GetClientSize()
{
    const wxSize size = m_window.wxWindow::GetClientSize();
    return CGridSize{size.x, size.y};
}

CGridScrollMetrics CGridWindowPort::GetScrollMetrics()
{
    CGridScrollMetrics metrics;
    metrics.vScrollWidth = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, &m_window);
    metrics.hScrollHeight = wxSystemSettings::GetMetric(wxSYS_HSCROLL_Y, &m_window);
    return metrics;
}

void CGridWindowPort::Invalidate(const CGridRect& rect)
{
    m_window.RefreshRect(wxRect(wxPoint(rect.left, rect.top), wxPoint(rect.right, rect.bottom)), false);
}

void CGridWindowPort::InvalidateAll()
{
    m_window.Refresh(false);
}

void CGridWindowPort::ShowScrollBar(int bar, bool show)
{
    if (!show)
        m_window.SetScrollbar(Orientation(bar), 0, 0, 0);
}

void CGridWindowPort::SetScrollRange(int bar, int max, int page)
{
    if (max <= 0 || page <= 0)
        m_window.SetScrollbar(Orientation(bar), 0, 0, 0);
    else
        m_window.SetScrollbar(Orientation(bar), m_window.GetScrollPosition(bar), page, max + 1);
}

void CGridWindowPort::SetScrollPos(int bar, int position)
{
    m_window.wxWindow::SetScrollPos(Orientation(bar), position);
}

void CGridWindowPort::SetCapture(bool capture)
{
    if (capture && !m_window.HasCapture())
        m_window.CaptureMouse();
    else if (!capture && m_window.HasCapture())
        m_window.ReleaseMouse();
}

void CGridWindowPort::StartTimer(int milliseconds)
{
    m_window.m_timer.Start(milliseconds);
}

void CGridWindowPort::StopTimer()
{
    m_window.m_timer.Stop();
}

void CGridWindowPort::StartEditor(const CGridEditRequest& request)
{
    HideTitleTip();
    if (m_window.m_editor)
        m_window.m_editor->EndEdit();
    auto onEnd = [this](int row, int col, const std::string& text, int key) {
        m_window.EditorEnded(row, col, text, key);
    };
    if (request.combo)
        m_window.m_editor = new CGridComboList(&m_window, request, onEnd);
    else
        m_window.m_editor = new CGridInPlaceEdit(&m_window, request, onEnd);
}

void CGridWindowPort::TypeIntoEditor(unsigned character)
{
    if (m_window.m_editor)
        m_window.m_editor->Type(character);
}

void CGridWindowPort::EndEditor()
{
    if (m_window.m_editor)
        m_window.m_editor->EndEdit();
}

void CGridWindowPort::ShowTitleTip(const CGridRect& rect, const std::string& text, const CGridFont* font)
{
    // Over another program's window the tip would stand in its way, and nothing of ours would
    // take it away again.
    if (!wxWindow::FindFocus())
        return;
    if (!m_window.m_tip) {
        m_window.m_tip = new CClippedTextTip(&m_window, true);
        m_window.m_tip->Bind(wxEVT_LEAVE_WINDOW, &CGridWindow::HandleLeave, &m_window);
    }
    auto colour = [](GridColour colour, wxSystemColour fallback) {
        return colour == kGridDefaultColour ? wxSystemSettings::GetColour(fallback) : CGridDcPainter::ToColour(colour);
    };
    const wxString padded = " " + wxString::FromUTF8(text) + " ";
    if (m_window.m_tip->IsTipShown() && m_window.m_tip->GetText() == padded)
        return;
    // The font the core measured the cut-off text with.
    const wxFont shown = font ? CGridDcPainter::MakeFont(*font, m_window.GetFont()) : m_window.GetFont();
    m_window.m_tip->ShowTip(padded, m_window.ClientToScreen(wxPoint(rect.left, rect.top)), shown,
                            colour(m_window.GetTitleTipTextClr(), wxSYS_COLOUR_INFOTEXT),
                            colour(m_window.GetTitleTipBackClr(), wxSYS_COLOUR_INFOBK));
}

void CGridWindowPort::HideTitleTip()
{
    if (m_window.m_tip)
        m_window.m_tip->HideTip();
}

long CGridWindowPort::NotifyOwner(int code, int row, int col)
{
    CGridNotifyEvent event(EVT_GRIDCTRL_NOTIFY, m_window.GetId(), code, row, col);
    event.SetEventObject(&m_window);
    m_window.GetEventHandler()->ProcessEvent(event);
    return event.IsAllowed() ? event.GetReply() : -1;
}

void CGridWindowPort::RequestDisplayInfo(GridItemInfo& info)
{
    CGridNotifyEvent event(EVT_GRIDCTRL_NOTIFY, m_window.GetId(), GridNotifyGetDispInfo, info.row, info.col);
    event.SetEventObject(&m_window);
    event.SetItemInfo(&info);
    m_window.GetEventHandler()->ProcessEvent(event);
}

void CGridWindowPort::SendCacheHint(const CCellRange& range)
{
    CGridNotifyEvent event(EVT_GRIDCTRL_NOTIFY, m_window.GetId(), GridNotifyCacheHint, range.GetMinRow(),
                           range.GetMinCol());
    event.SetEventObject(&m_window);
    event.SetCacheRange(range);
    m_window.GetEventHandler()->ProcessEvent(event);
}

bool CGridWindowPort::SetClipboardText(const std::string& text)
{
    wxClipboardLocker lock;
    if (!lock || !wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8(text))))
        return false;
    m_window.m_putOnClipboard = true;
    return true;
}

bool CGridWindowPort::HasClipboardText()
{
    wxClipboardLocker lock;
    return !!lock && wxTheClipboard->IsSupported(wxDF_UNICODETEXT);
}

IGridEditor* CGridWindowPort::GetOpenEditor()
{
    return m_window.m_editor;
}

void CGridWindowPort::PasteIntoEditor()
{
    if (m_window.m_editor)
        m_window.m_editor->Paste();
}

bool CGridWindowPort::GetClipboardText(std::string& text)
{
    wxClipboardLocker lock;
    if (!lock || !wxTheClipboard->IsSupported(wxDF_UNICODETEXT))
        return false;
    wxTextDataObject data;
    if (!wxTheClipboard->GetData(data))
        return false;
    text = data.GetText().ToStdString(wxConvUTF8);
    return true;
}

void CGridWindowPort::PostClicked()
{
    wxWindow* owner = m_window.GetParent();
    if (!owner)
        return;
    auto* event = new wxCommandEvent(wxEVT_BUTTON, m_window.GetId());
    event->SetEventObject(&m_window);
    wxQueueEvent(owner->GetEventHandler(), event);
}

CGridSize CGridWindowPort::TextExtent(const std::string& text, const CGridFont* font)
{
    const wxFont shown = font ? CGridDcPainter::MakeFont(*font, m_window.GetFont()) : m_window.GetFont();
    int width = 0;
    int height = 0;
    m_window.GetTextExtent(wxString::FromUTF8(text), &width, &height, nullptr, nullptr, &shown);
    return CGridSize{width, height};
}

CGridSize CGridWindowPort::WrappedExtent(const std::string& text, const CGridFont* font, int width)
{
    wxClientDC dc(&m_window);
    dc.SetFont(font ? CGridDcPainter::MakeFont(*font, m_window.GetFont()) : m_window.GetFont());
    const wxSize size = dc.GetMultiLineTextExtent(CGridDcPainter::WrapText(dc, wxString::FromUTF8(text), width));
    return CGridSize{size.x, size.y};
}

bool CGridWindowPort::ImageSize(int image, CGridSize& size)
{
    wxImageList* images = m_window.m_images;
    if (!images || image < 0 || image >= images->GetImageCount())
        return false;
    return images->GetSize(image, size.cx, size.cy);
}
