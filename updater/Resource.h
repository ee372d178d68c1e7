// Resource and control ids of the updater.
#pragma once

// Dialogs
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_RENOVIX_DIALOG = 102;

// Icons; the settings icon is the sizing program's configuration icon.
constexpr int IDR_MAINFRAME = 128;
constexpr int IDI_UPDATE = 131;
constexpr int IDI_EXIT = 132;
constexpr int IDI_SETTINGS = 133;

// The translation table: every text of the program in English and German.
constexpr int IDR_TRANSLATION = 133;

// Strings of the translation table
constexpr int IDS_APPNAME = 101;
constexpr int IDS_ERROR = 102;
constexpr int IDS_ERROR_CREATING_LOGFILE = 103;
constexpr int IDS_ERROR_IN_COMMANDLINE = 104;
constexpr int IDS_ABOUTBOX = 105;
constexpr int IDS_STARTING_UPDATE = 106;
constexpr int IDS_INFO = 107;
constexpr int IDS_ERROR_NO_SETTINGS = 108;
constexpr int IDS_ERROR_LOAD_UPDATELIST = 109;
constexpr int IDS_ERROR_UPDATE_FAILED = 110;
constexpr int IDS_ERROR_UPDATE_HAD_SHARED = 111;
constexpr int IDS_UPDATE_OK = 112;
constexpr int IDS_UPDATE_SUCCESSFUL = 113;
constexpr int IDS_DOWNLOADED_1KB = 114;
constexpr int IDS_ERROR_UPDATE_RESULT_HAD_SHARED_CE = 115;
constexpr int IDS_ERROR_UPDATE_RESULT_DOWNLOAD_FAILED = 116;
constexpr int IDS_ERROR_UPDATE_RESULT_DOWNLOAD_BROKEN = 117;
constexpr int IDS_ERROR_UPDATE_RESULT_UNZIP_FAILED = 118;
constexpr int IDS_ERROR_UPDATE_RESULT_NO_RAPI = 119;
constexpr int IDS_ERROR_UPDATE_RESULT_FAILED_CREATE_CE = 120;
constexpr int IDS_UPDATE_SUCCESSFUL_NO_UPDATES = 121;
constexpr int IDS_WARNING = 122;

// Controls of the updater's window
constexpr int IDC_MANUAL_UPDATE = 1004;
constexpr int IDC_TEXT_CLOSE = 1005;
constexpr int IDC_TEXT_UPDATE = 1006;
constexpr int IDC_TEXT_SETTINGS = 1007;
constexpr int IDC_CURRENT_FILE_TEXT = 1008;
constexpr int IDC_PROGRESS = 1009;
constexpr int IDC_CURRENT_FILE = 1010;
constexpr int IDC_SETTINGS = 1011;
constexpr int IDC_ABOUT = 1012;

// Controls of the about box
constexpr int IDC_PROGRAM_VERSION = 1000;
constexpr int IDC_LIBRARY_VERSION = 1001;
constexpr int IDC_MAKER_LINK = 1002;
