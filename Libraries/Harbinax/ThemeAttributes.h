// The theme's default colours and font for one kind of control, asked of GTK once and again
// after a theme change. GTK answers by building a widget or resolving its style, which costs
// more than making the control itself; a dialog full of one kind asks for the same answer.
#pragma once

#include <wx/window.h>

#include <functional>
#include <optional>

class CThemeAttributes {
public:
    // The attributes, asked with ask when not known.
    const wxVisualAttributes& Get(const std::function<wxVisualAttributes()>& ask);
    // After a theme change they are asked again.
    void Forget() { m_attributes.reset(); }

private:
    std::optional<wxVisualAttributes> m_attributes;
};
