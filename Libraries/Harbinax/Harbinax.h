// The application base of both programs: user-interface language, translation, the satellite
// resources of the chosen language, the splash screen, the program folder and file versions,
// and the command line. The programs derive their application class from it and call
// Initialize right at the start of their OnInit.
#pragma once

#include "Harbinax/SatelliteResources.h"
#include "Quillet/Logger.h"

#include <wx/app.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CInstanceCheck;
class CResourceBundle;
class CSplashScreen;
class CTranslator;
class wxMenu;
class wxMenuBar;
class wxTopLevelWindow;
class wxWindow;

class CHarbinax : public wxApp {
public:
    CHarbinax();
    ~CHarbinax() override;

    // The running application object; null when there is none or it is not ours.
    static CHarbinax* GetApp();

    using wxApp::Initialize;
    // Satellite base name = program file name, version compare depth 4, the user's system
    // language, and the command line from wx's argc/argv. Always 1.
    int Initialize();

    // --- Language ---------------------------------------------------------------------------
    // The language of the program: SetTextLanguage, and GTK's own dialogs speak it where the
    // system has a locale for it (UseMessagesLocaleOf). This changes the process locale and
    // environment, so it runs on the user-interface thread only, at the start and when the user
    // changes the language.
    int SetLanguage(const char* language);
    // Picks the language of the program's own texts by code or English name (trimmed, any case;
    // null = the user's system language; anything unknown = English), and its decimal
    // separator; the process locale and environment stay, so it may be switched for a while
    // (a report in another language). With translation enabled the translator's language
    // becomes the code; result 0. Otherwise the satellite resources for the code are chosen
    // (CSatelliteResources::Select): 0, or 2 when there is no readable bundle, 11 when its
    // version differs from the program's.
    int SetTextLanguage(const char* language);
    // The translator's language when translation is enabled, else the code SetTextLanguage kept.
    std::string GetLanguage() const;
    // English name of the language SetTextLanguage chose ("german").
    const std::string& GetLanguageName() const { return m_languageName; }
    // The decimal separator of the user-interface language ('.' until SetTextLanguage runs), for
    // number formatting and input filtering. The process's numeric locale is never changed.
    static char GetDecimalSeparator();
    // The language of the program's own resources (translation disabled) or the translator's
    // fall-back language (enabled).
    void SetDefaultLanguage(const std::string& code);
    std::string GetDefaultLanguage() const;
    // Null: the program's file name without folder and extension.
    void SetResourceDllBaseName(const char* name);
    // 1 to 4 version words a satellite must share with the program.
    void SetVersionCompareDepth(int depth);

    // --- Resources ----------------------------------------------------------------------------
    // From the active satellite when it has the resource, else from the program's own; the
    // program's own when there is no application object.
    static bool FindResource(const std::string& type, int id, std::string_view& bytes);

    // --- Translation --------------------------------------------------------------------------
    void EnableTranslator(bool enable);
    bool IsTranslatorEnabled() const { return m_translatorEnabled; }
    // RCDATA resource of the module (a loaded resource bundle; null: the program's own, through
    // CTranslator::LoadFromResource), or a file.
    bool LoadTranslationResource(int resourceId, bool merge, const CResourceBundle* module = nullptr);
    bool LoadTranslationFile(const std::string& path, bool merge);

    // The text in the current language (translation enabled), else the text unchanged.
    std::string TranslateText(const std::string& text) const;
    std::string TranslateTextForLanguage(const std::string& text, const std::string& language) const;
    // String id: the translator's string (translation enabled), else the STRING resource of that
    // id, "?" when there is none.
    std::string GetString(int id) const;
    std::string GetStringForLanguage(int id, const std::string& language) const;
    // Nothing unless translation is enabled.
    void TranslateDialog(int dialogId, wxWindow* dialog) const;
    void TranslateDialogItem(int dialogId, wxWindow* control) const;
    void TranslateMenu(int menuId, wxMenu* menu) const;
    void TranslateMenu(int menuId, wxMenuBar* menuBar) const;

    // --- Splash screen ------------------------------------------------------------------------
    void ShowSplashScreen();
    void HideSplashScreen();
    void SetSplashVersionTextPosition(int x, int y);
    void SetSplashVersionTextColor(std::uint32_t color);
    void SetSplashStatusTextPosition(int x, int y);
    void SetSplashStatusText(std::string_view text, int line);
    void SetSplashStatusTextColor(std::uint32_t color);
    void SetSplashBitmap(int resourceId);
    // The receiver of the update library's download progress.
    CSplashScreen* GetSplashScreen() const { return m_splash.get(); }

    // --- Skins (CSkinManager) -------------------------------------------------------------------
    // The two loads first hand the skin manager the "CSkinManager" logger of the application.
    bool LoadSkinFile(const std::string& name, const std::string& xmlPath);
    bool LoadSkinResource(const std::string& name, int xmlResource, int bitmapResource);
    // False when no skin of that name was loaded.
    bool RemoveSkin(const std::string& name);
    void RemoveAllSkins();
    bool RegisterSkinWindow(wxTopLevelWindow* window, const std::string& skinName, bool pinButtons,
                            bool rollUpButton);
    bool UnregisterSkinWindow(wxTopLevelWindow* window);

    // --- Folders and versions -----------------------------------------------------------------
    // Folder of the running program with a trailing '/' (InstallFolderOf), cached; empty
    // without an application object.
    static std::string GetProgramFolder();
    // "major.minor.build.revision" of the file, "0.0.0.0" for a file without a version record;
    // an empty path means the running program.
    static std::string GetVersionString(const std::string& path = std::string());

    // --- Single instance -----------------------------------------------------------------------
    // True when another process of this user runs the same program (the same program file, or
    // any file of the same name with exeNameOnly); that process is asked to bring its main window
    // to the front. Otherwise this process becomes the one that later starts are told about: it
    // then raises its top window when asked. The meeting point is a local socket of the user
    // ($XDG_RUNTIME_DIR, else the temporary folder).
    bool IsOtherInstanceRunning(bool exeNameOnly);

    // --- Command line ---------------------------------------------------------------------------
    // The program's arguments as it was started, the program itself first (set by Initialize).
    const std::vector<std::string>& GetArgumentList() const { return m_arguments; }
    // The arguments after the program joined by single blanks, as they stand.
    const std::string& GetCommandLineText() const { return m_commandLine; }

private:
    CLogger m_log;
    CLogger m_skinLog;
    std::unique_ptr<CSplashScreen> m_splash;
    std::unique_ptr<CTranslator> m_translator;
    std::unique_ptr<CInstanceCheck> m_instanceCheck;
    CSatelliteResources m_satellite;
    std::string m_programFolder;
    bool m_translatorEnabled = false;
    std::string m_baseLanguage;
    std::string m_language;
    std::string m_languageName;
    std::string m_satelliteBaseName;
    int m_versionCompareDepth = 4;
    std::vector<std::string> m_arguments;
    std::string m_commandLine;
};

// Through the running application object; the text unchanged without one (a window used in a
// program of its own), and TranslateString empty. An empty language means the current one.
// Every message text, caption part and status text passes here.
std::string TranslateText(const std::string& text, const std::string& language = std::string());
std::string TranslateString(int id, const std::string& language = std::string());
std::string GetAppLanguage();
