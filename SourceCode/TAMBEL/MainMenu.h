// The main window's menu bar with its English texts; the translator puts the user's language
// over them (menu IDR_MAIN_MENU). Items carry the window ids of their commands (CWindowIds).
#pragma once

class wxMenuBar;

wxMenuBar* CreateMainMenu();
