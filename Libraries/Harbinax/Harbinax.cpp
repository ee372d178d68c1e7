#include "Harbinax/Harbinax.h"

#include "Harbinax/AppFolder.h"
#include "Harbinax/DialogControls.h"
#include "Harbinax/FileVersion.h"
#include "Harbinax/InstanceCheck.h"
#include "Harbinax/ResourceBundle.h"
#include "Harbinax/SkinManager.h"
#include "Harbinax/SplashScreen.h"
#include "Harbinax/UiLanguage.h"
#include "Platform/ProgramFolder.h"
#include "Platform/ResourceRegistry.h"
#include "Polyglotta/Translator.h"
#include "PolyglottaWx/TranslatorWx.h"
#include "Quillet/LogManager.h"

#include <wx/toplevel.h>

namespace {

char decimalSeparator = '.';

}  // namespace

CHarbinax::CHarbinax()
    : m_log(CLogManager::GetInstance()->GetLogger("CHarbinax", LOGLEVEL_PARENT)),
      m_skinLog(CLogManager::GetInstance()->GetLogger("CSkinManager", LOGLEVEL_PARENT)),
      m_splash(std::make_unique<CSplashScreen>()),
      m_translator(std::make_unique<CTranslator>())
{
    // Before the toolkit starts: its threads may read the environment.
    KeepLanguageVariable();
}

CHarbinax::~CHarbinax()
{
    // The skin manager goes first: it must not outlive the logger it was handed.
    CSkinManager::DestroyInstance();
}

CHarbinax* CHarbinax::GetApp()
{
    return dynamic_cast<CHarbinax*>(wxApp::GetInstance());
}

int CHarbinax::Initialize()
{
    SetResourceDllBaseName(nullptr);
    SetVersionCompareDepth(4);
    m_arguments.clear();
    m_commandLine.clear();
    for (int i = 0; i < argc; ++i) {
        m_arguments.push_back(argv[i].utf8_string());
        if (i > 1)
            m_commandLine += ' ';
        if (i > 0)
            m_commandLine += m_arguments.back();
    }
    SetLanguage(nullptr);
    return 1;
}

int CHarbinax::SetLanguage(const char* language)
{
    const int result = SetTextLanguage(language);
    const std::string messagesLocale = UseMessagesLocaleOf(FindUiLanguage(m_language));
    QUILLET_POS(m_log);
    m_log.Debug("Toolkit texts from locale %s", messagesLocale.c_str());
    return result;
}

int CHarbinax::SetTextLanguage(const char* language)
{
    const SUiLanguage& chosen = FindUiLanguage(language ? language : SystemLanguageName());
    m_language = chosen.code;
    m_languageName = chosen.name;
    decimalSeparator = chosen.decimalSeparator;
    QUILLET_POS(m_log);
    m_log.Debug("Language %s", m_language.c_str());
    if (m_translatorEnabled) {
        m_translator->SetLanguage(m_language);
        return 0;
    }
    const std::string fileName =
        CSatelliteResources::FileName(GetProgramFolder(), m_satelliteBaseName, m_language);
    std::string error;
    const int result = m_satellite.Select(fileName, m_language, m_baseLanguage,
                                          Platform::GetProgramVersion(), m_versionCompareDepth, error);
    if (result != CSatelliteResources::SATELLITE_OK) {
        QUILLET_POS(m_log);
        m_log.Info("Language %s: own resources stay (%d): %s", m_language.c_str(), result, error.c_str());
    }
    return result;
}

std::string CHarbinax::GetLanguage() const
{
    return m_translatorEnabled ? m_translator->GetLanguage() : m_language;
}

char CHarbinax::GetDecimalSeparator()
{
    return decimalSeparator;
}

void CHarbinax::SetDefaultLanguage(const std::string& code)
{
    if (m_translatorEnabled)
        m_translator->SetDefaultLanguage(code);
    else
        m_baseLanguage = code;
}

std::string CHarbinax::GetDefaultLanguage() const
{
    return m_translatorEnabled ? m_translator->GetDefaultLanguage() : m_baseLanguage;
}

void CHarbinax::SetResourceDllBaseName(const char* name)
{
    if (name) {
        m_satelliteBaseName = name;
        return;
    }
    const std::string program = Platform::GetProgramName();
    m_satelliteBaseName = program.substr(0, program.rfind('.'));
}

void CHarbinax::SetVersionCompareDepth(int depth)
{
    m_versionCompareDepth = depth;
}

bool CHarbinax::FindResource(const std::string& type, int id, std::string_view& bytes)
{
    if (const CHarbinax* app = GetApp())
        return app->m_satellite.Find(type, id, bytes);
    return CResourceRegistry::Find(type, id, bytes);
}

void CHarbinax::EnableTranslator(bool enable)
{
    m_translatorEnabled = enable;
}

bool CHarbinax::LoadTranslationResource(int resourceId, bool merge, const CResourceBundle* module)
{
    std::string error;
    std::string_view bytes;
    if (!module) {
        if (m_translator->LoadFromResource(resourceId, merge, &error))
            return true;
    } else if (!module->Find("RCDATA", resourceId, bytes)) {
        error = "the module has no RCDATA #" + std::to_string(resourceId);
    } else if (m_translator->LoadFromText(bytes, "InternalTranslatorResource.xml", merge, &error)) {
        return true;
    }
    QUILLET_POS(m_log);
    m_log.Error("Translation resource %d not loaded: %s", resourceId, error.c_str());
    return false;
}

bool CHarbinax::LoadTranslationFile(const std::string& path, bool merge)
{
    std::string error;
    if (m_translator->LoadFromFile(path, merge, &error))
        return true;
    QUILLET_POS(m_log);
    m_log.Error("Translation file %s not loaded: %s", path.c_str(), error.c_str());
    return false;
}

std::string CHarbinax::TranslateText(const std::string& text) const
{
    return TranslateTextForLanguage(text, std::string());
}

std::string CHarbinax::TranslateTextForLanguage(const std::string& text, const std::string& language) const
{
    return m_translatorEnabled ? m_translator->Translate(text, language) : text;
}

std::string CHarbinax::GetString(int id) const
{
    return GetStringForLanguage(id, std::string());
}

std::string CHarbinax::GetStringForLanguage(int id, const std::string& language) const
{
    if (m_translatorEnabled)
        return m_translator->GetString(id, language);
    std::string_view bytes;
    if (m_satellite.Find("STRING", id, bytes))
        return std::string(bytes);
    return "?";
}

void CHarbinax::TranslateDialog(int dialogId, wxWindow* dialog) const
{
    if (!m_translatorEnabled)
        return;
    CTranslatorWx::TranslateDialog(*m_translator, dialogId, dialog);
    // The translated texts get the room they need.
    CDialogControls::FitControls(dialog);
}

void CHarbinax::TranslateDialogItem(int dialogId, wxWindow* control) const
{
    if (m_translatorEnabled)
        CTranslatorWx::TranslateControl(*m_translator, dialogId, control);
}

void CHarbinax::TranslateMenu(int menuId, wxMenu* menu) const
{
    if (m_translatorEnabled)
        CTranslatorWx::TranslateMenu(*m_translator, menuId, menu);
}

void CHarbinax::TranslateMenu(int menuId, wxMenuBar* menuBar) const
{
    if (m_translatorEnabled)
        CTranslatorWx::TranslateMenu(*m_translator, menuId, menuBar);
}

void CHarbinax::ShowSplashScreen()
{
    m_splash->Show();
}

void CHarbinax::HideSplashScreen()
{
    m_splash->Hide();
}

void CHarbinax::SetSplashVersionTextPosition(int x, int y)
{
    m_splash->SetVersionTextPosition(x, y);
}

void CHarbinax::SetSplashVersionTextColor(std::uint32_t color)
{
    m_splash->SetVersionTextColor(color);
}

void CHarbinax::SetSplashStatusTextPosition(int x, int y)
{
    m_splash->SetStatusTextPosition(x, y);
}

void CHarbinax::SetSplashStatusText(std::string_view text, int line)
{
    m_splash->SetStatusText(text, line);
}

void CHarbinax::SetSplashStatusTextColor(std::uint32_t color)
{
    m_splash->SetStatusTextColor(color);
}

void CHarbinax::SetSplashBitmap(int resourceId)
{
    m_splash->SetBitmap(resourceId);
}

bool CHarbinax::LoadSkinFile(const std::string& name, const std::string& xmlPath)
{
    CSkinManager::GetInstance()->SetLogger(&m_skinLog);
    return CSkinManager::GetInstance()->LoadSkinFile(name, xmlPath);
}

bool CHarbinax::LoadSkinResource(const std::string& name, int xmlResource, int bitmapResource)
{
    CSkinManager::GetInstance()->SetLogger(&m_skinLog);
    return CSkinManager::GetInstance()->LoadSkinResource(name, xmlResource, bitmapResource);
}

bool CHarbinax::RemoveSkin(const std::string& name)
{
    return CSkinManager::GetInstance()->RemoveSkin(name);
}

void CHarbinax::RemoveAllSkins()
{
    CSkinManager::GetInstance()->RemoveAllSkins();
}

bool CHarbinax::RegisterSkinWindow(wxTopLevelWindow* window, const std::string& skinName, bool pinButtons,
                                   bool rollUpButton)
{
    return CSkinManager::GetInstance()->RegisterWindow(window, skinName, pinButtons, rollUpButton);
}

bool CHarbinax::UnregisterSkinWindow(wxTopLevelWindow* window)
{
    return CSkinManager::GetInstance()->UnregisterWindow(window);
}

std::string CHarbinax::GetProgramFolder()
{
    CHarbinax* app = GetApp();
    if (!app)
        return std::string();
    if (app->m_programFolder.empty())
        app->m_programFolder = InstallFolderOf(Platform::GetProgramPath());
    return app->m_programFolder;
}

std::string CHarbinax::GetVersionString(const std::string& path)
{
    return FormatFileVersion(GetFileVersion(path));
}

bool CHarbinax::IsOtherInstanceRunning(bool exeNameOnly)
{
    if (m_instanceCheck && m_instanceCheck->IsFirst())
        return false;
    m_instanceCheck = std::make_unique<CInstanceCheck>();
    const std::string identity = (exeNameOnly ? std::string() : GetProgramFolder()) + Platform::GetProgramName();
    const bool running = m_instanceCheck->FindOther(identity, [this] {
        if (wxWindow* top = GetTopWindow()) {
            if (auto* frame = dynamic_cast<wxTopLevelWindow*>(top))
                frame->Iconize(false);
            top->Raise();
        }
    });
    QUILLET_POS(m_log);
    m_log.Trace("Instance check '%s': %s", identity.c_str(), running ? "another one runs" : "first");
    return running;
}

std::string TranslateText(const std::string& text, const std::string& language)
{
    const CHarbinax* app = CHarbinax::GetApp();
    return app ? app->TranslateTextForLanguage(text, language) : text;
}

std::string TranslateString(int id, const std::string& language)
{
    const CHarbinax* app = CHarbinax::GetApp();
    return app ? app->GetStringForLanguage(id, language) : std::string();
}

std::string GetAppLanguage()
{
    const CHarbinax* app = CHarbinax::GetApp();
    return app ? app->GetLanguage() : std::string();
}
