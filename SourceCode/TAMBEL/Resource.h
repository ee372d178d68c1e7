// Resource ids of the sizing program: dialogs, menu, images, translation tables and the
// command ids of its menu and toolbar (as the resources name them; wx windows and menu items
// carry them through CWindowIds).
#pragma once

// Dialog templates (resources of type "DIALOG").
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_TAMBEL_DIALOG = 102;
constexpr int IDD_PAGE_FLUID = 130;
constexpr int IDD_PAGE_RESULTS = 132;
constexpr int IDD_PAGE_CONFIGURATION = 133;
constexpr int IDD_FILTER_OPTIONS = 140;

// Images.
constexpr int IDR_MAINFRAME = 128;  // application icon
constexpr int IDR_MAIN_MENU = 129;
constexpr int IDI_TOOL_FLUID = 131;
constexpr int IDI_TOOL_RESULTS = 132;
constexpr int IDI_TOOL_CONFIGURATION = 133;
constexpr int IDI_TOOL_OPEN = 134;
constexpr int IDI_TOOL_SAVE = 135;
constexpr int IDI_TOOL_PRINT = 136;
constexpr int IDI_TOOL_EMAIL = 137;
constexpr int IDI_TOOL_PDF = 138;
constexpr int IDB_SPLASH = 139;

// Translation tables (RCDATA): English, then German merged over it.
constexpr int IDR_TRANSLATION_EN = 103;
constexpr int IDR_TRANSLATION_DE = 104;

// Commands.
constexpr int ID_HELP_ABOUT = 32772;
constexpr int ID_UTILITIES_PRESSURELOSSCALCULATOR = 32773;
constexpr int ID_FILE_PRINT_MENU = 32774;
constexpr int ID_FILE_PRINT_DIRECT = 32775;  // toolbar only: straight to the default printer
constexpr int ID_FILE_EMAIL = 32776;
constexpr int ID_FILE_PDF = 32777;
constexpr int ID_FILE_OPEN_DB = 32778;
constexpr int ID_FILE_SAVE_DB = 32779;
constexpr int ID_FILE_DELETE_DB = 32780;
constexpr int ID_FILE_CONFIG_DB = 32782;
constexpr int ID_FILE_CREATE_DB = 32784;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_HELP = 57670;

// Page buttons of the main window's toolbar.
constexpr int ID_PAGE_FLUID = 100;
constexpr int ID_PAGE_RESULTS = 101;
constexpr int ID_PAGE_CONFIGURATION = 102;

// Controls of the about box.
constexpr int IDC_PROGRAM_VERSION = 1064;
constexpr int IDC_DB_VERSION = 1066;
constexpr int IDC_TORVEL = 1071;
constexpr int IDC_MAKER_LINK = 1072;
constexpr int IDC_DB_LBL = 1075;
constexpr int IDC_SOFTWARE_LBL = 1078;
constexpr int IDC_TAMBEL_LBL = 1083;

// Controls of the results page.
constexpr int IDC_HLINE1 = 1033;
constexpr int IDC_VLINE1 = 1036;
constexpr int IDC_RESULT_FILTER = 1039;
constexpr int IDC_RESULT_TAB = 1048;
constexpr int IDC_DEVICE_LIST = 1054;
constexpr int IDC_GRAPH = 1055;
constexpr int IDC_RESULTS_LBL = 1056;
constexpr int IDC_DETAILS_LBL = 1057;
constexpr int IDC_DETAILS = 1058;
constexpr int IDC_DATA = 1059;
constexpr int IDC_GRAPH_CTRL = 1061;
constexpr int IDC_CALCULATE = 1063;

// Controls of the result filter dialog.
constexpr int IDC_HIDE_ERRORS = 1064;
constexpr int IDC_HIDE_LARGE_FLOWRANGE = 1065;
constexpr int IDC_HIDE_SMALL_TURNDOWN = 1066;
constexpr int IDC_MIN_TURNDOWN = 1067;
constexpr int IDC_HIDE_SMALL_FLOWRANGE = 1068;
constexpr int IDC_MAX_FLOW_PERCENT = 1069;
constexpr int IDC_MIN_TURNDOWN_LBL = 1070;
constexpr int IDC_MAX_FLOW_LBL = 1071;
constexpr int IDC_DESCRIPTION = 1072;
constexpr int IDC_HIDE_SPECIAL_DEVICES = 1073;
