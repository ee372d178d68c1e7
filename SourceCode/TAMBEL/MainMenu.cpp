#include "TAMBEL/MainMenu.h"

#include "PolyglottaWx/WindowIds.h"
#include "TAMBEL/Resource.h"

#include <wx/menu.h>

namespace {

void Append(wxMenu* menu, int resourceId, const char* text)
{
    menu->Append(CWindowIds::FromResourceId(resourceId), wxString::FromUTF8(text));
}

}  // namespace

wxMenuBar* CreateMainMenu()
{
    auto* file = new wxMenu;
    Append(file, ID_FILE_OPEN, "&Open");
    Append(file, ID_FILE_SAVE, "&Save");
    file->AppendSeparator();
    Append(file, ID_FILE_SAVE_DB, "Save to data&base");
    Append(file, ID_FILE_OPEN_DB, "&Load from database");
    auto* database = new wxMenu;
    Append(database, ID_FILE_DELETE_DB, "Delete &record");
    Append(database, ID_FILE_CONFIG_DB, "&Configure DB connection");
    Append(database, ID_FILE_CREATE_DB, "Create &tables in DB");
    file->AppendSubMenu(database, "Database &functions");
    file->AppendSeparator();
    Append(file, ID_FILE_PRINT_MENU, "&Print");
    Append(file, ID_FILE_PRINT_SETUP, "Print s&ettings");
    file->AppendSeparator();
    Append(file, ID_FILE_EMAIL, "Send as &Email");
    Append(file, ID_FILE_PDF, "Export as P&DF");
    file->AppendSeparator();
    Append(file, ID_APP_EXIT, "E&xit");

    auto* utilities = new wxMenu;
    Append(utilities, ID_UTILITIES_PRESSURELOSSCALCULATOR, "&Pressure loss calculator");

    auto* help = new wxMenu;
    Append(help, ID_HELP_ABOUT, "&About...");

    auto* bar = new wxMenuBar;
    bar->Append(file, "&File");
    bar->Append(utilities, "&Utilities");
    bar->Append(help, "&Help");
    return bar;
}
