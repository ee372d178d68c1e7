#include "support/DarkDesktopScope.h"

#include "support/WxTestSupport.h"

// GTK's development headers are not installed with wx's.
extern "C" {
void* gtk_settings_get_default();
void g_object_set(void* object, const char* name, ...);
void g_object_get(void* object, const char* name, ...);
void g_free(void* memory);
}

namespace {

constexpr const char* kPreferDark = "gtk-application-prefer-dark-theme";

// wx keeps the desktop's colours until it hears of a new theme name: the name is set again.
void UseDarkVariant(int dark)
{
    void* settings = gtk_settings_get_default();
    g_object_set(settings, kPreferDark, dark, nullptr);
    char* theme = nullptr;
    g_object_get(settings, "gtk-theme-name", &theme, nullptr);
    g_object_set(settings, "gtk-theme-name", theme, nullptr);
    g_free(theme);
    Pump();
}

}  // namespace

CDarkDesktopScope::CDarkDesktopScope()
{
    g_object_get(gtk_settings_get_default(), kPreferDark, &m_wasDark, nullptr);
    UseDarkVariant(1);
}

CDarkDesktopScope::~CDarkDesktopScope()
{
    UseDarkVariant(m_wasDark);
}
