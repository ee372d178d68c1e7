#include "Stretchkit/GripSupport.h"

#include <memory>

bool CGripSupport::CreateGrip(wxWindow* parent, bool visible, bool triangular, bool transparent)
{
    auto grip = std::make_unique<CGripBar>();
    if (!parent || !grip->Create(parent))
        return false;
    grip->EnableTriangleRegion(triangular);
    grip->EnableTransparentPaint(transparent);
    m_grip = grip.release();  // the parent owns it now
    m_visibility.SetShown(visible);
    PlaceGrip();
    return true;
}

void CGripSupport::PlaceGrip()
{
    CGripBar* grip = m_grip.get();
    if (!grip)
        return;
    const wxSize client = grip->GetParent()->GetClientSize();
    const wxSize size = grip->GetSize();
    grip->Move(client.x - size.x, client.y - size.y);
    grip->Show(IsGripShown());
    // Pages fill the client area; the grip has to stay on top of them to be seen.
    if (IsGripShown())
        grip->Raise();
}

bool CGripSupport::SetGripBackground(int mode)
{
    CGripBar* grip = m_grip.get();
    if (!grip || (mode != 1 && mode != 2))
        return false;
    grip->EnableTransparentPaint(mode == 1);
    return true;
}

bool CGripSupport::SetGripTriangle(bool on)
{
    CGripBar* grip = m_grip.get();
    if (!grip)
        return false;
    grip->EnableTriangleRegion(on);
    return true;
}
