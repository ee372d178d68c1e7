// A static text that behaves as a web-style link: drawn in link blue, the hand cursor while the
// pointer is over it, and a click hands its target to the desktop, which opens it with its
// default handler (a web address, a file, anything the desktop can open).
#pragma once

#include <wx/control.h>

#include <functional>
#include <string>

class CHyperLinkStatic : public wxControl {
public:
    CHyperLinkStatic(wxWindow* parent, wxWindowID id, const wxString& label,
                     const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize, long style = 0);
    ~CHyperLinkStatic() override;

    void SetLabel(const wxString& label) override;

    // What a click opens.
    void SetLink(const wxString& target) { m_link = target; }
    const wxString& GetLink() const { return m_link; }

    // Ends the hovering and hands the target to the desktop; false when it could not be handed
    // over.
    bool OpenLink();

    bool IsHovering() const { return m_hovering; }

    // What hands a target (UTF-8) to the desktop; OpenWithDesktop unless a test sets another.
    // An empty function restores that.
    using Launcher = std::function<bool(const std::string& target)>;
    static void SetLauncherForTesting(Launcher launcher);

protected:
    wxSize DoGetBestClientSize() const override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnMouseMove(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);

    void BeginHover();
    // Gives back the capture and the cursor that was there before the hand.
    void EndHover();

    wxString m_link;
    bool m_hovering = false;
};
