// A dark desktop theme for part of a test: GTK's theme asked for its dark variant, so the
// desktop's window text is light, restored when the object goes.
#pragma once

class CDarkDesktopScope {
public:
    CDarkDesktopScope();
    ~CDarkDesktopScope();
    CDarkDesktopScope(const CDarkDesktopScope&) = delete;
    CDarkDesktopScope& operator=(const CDarkDesktopScope&) = delete;

private:
    int m_wasDark = 0;
};
