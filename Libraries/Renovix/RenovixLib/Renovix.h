// The update client: keeps the update settings and the schedule, fetches files by HTTP, FTP or
// from a folder, and reports download progress to an observer. One client serves one update
// run; it runs on the caller's thread and blocks it for the length of a transfer.
#pragma once

#include "Platform/VersionInfo.h"
#include "Quillet/Logger.h"
#include "Renovix/RenovixLib/PrivateTempFolder.h"
#include "Renovix/RenovixLib/RenovixSettings.h"
#include "Renovix/RenovixLib/RenovixTime.h"
#include "Renovix/RenovixLib/RenovixTransfer.h"

#include <ctime>
#include <functional>
#include <string>

class IRenovixProgress;

class CRenovix {
public:
    CRenovix();
    virtual ~CRenovix();
    CRenovix(const CRenovix&) = delete;
    CRenovix& operator=(const CRenovix&) = delete;

    // The settings of the file ("Renovix.xml"), defaults for what it does not give. Clears the
    // settings-replaced mark; the client's current settings stay.
    CRenovixSettings LoadSettingsFromFile(const std::string& path);
    // Without force, and when the last update run delivered a new settings file, leaves that
    // file as delivered and returns true. The file is replaced whole or not at all.
    bool SaveSettingsToFile(const CRenovixSettings& settings, const std::string& path, bool force);

    // The per-user form of the settings, under $XDG_CONFIG_HOME/corvanta/Renovix/<application>.
    CRenovixSettings LoadSettingsFromRegistry(const std::string& applicationName);
    bool SaveSettingsToRegistry(const CRenovixSettings& settings, const std::string& applicationName);
    static std::string RegistryPath(const std::string& applicationName);

    // The settings given to Init.
    CRenovixSettings GetSettings() const { return m_settings; }

    // The next run of a schedule text, counted from the clock's now.
    SRenovixTime GetNextDate(const std::string& schedule) const;
    bool IsUpdateDue(const CRenovixSettings& settings) const;

    // Where "now" comes from; the system clock unless set (tests pin it).
    void SetClock(std::function<std::time_t()> clock);

    // Stores the settings as current and opens what their protocol needs: an HTTP session, an
    // FTP connection that has logged in, nothing for a folder. False for protocol none or an
    // unknown one, and when the session or the FTP login fails.
    bool Init(const CRenovixSettings& settings);
    // Ends the connection; the downloaded files stay until the client goes.
    bool Close();

    // Who hears of download progress; null for nobody.
    void SetProgressObserver(IRenovixProgress* observer) { m_progress = observer; }

    // The local path of the downloaded file in the client's private folder, or empty on any
    // failure (then no file is left). A transfer that fails or ends short fails.
    std::string GetHttpFile(const std::string& name, int sizeKB);
    // The same by FTP; an empty file fails too.
    std::string GetFtpFile(const std::string& name, int sizeKB);
    // The file in the base folder itself (nothing is copied); whether it exists is the caller's
    // question.
    std::string GetLocalFile(const std::string& name, int sizeKB);

    // The program folder with a trailing '/'; a build's "debug" or "release" folder stands for
    // the folder above it.
    static std::string GetBaseDir();
    // 32 lower-case hex digits; the digest of no bytes for a file that cannot be read.
    static std::string GetLocalMd5(const std::string& path);
    static SFileVersion GetFileVersion(const std::string& path);
    // Whether path lies in this client's download folder.
    bool IsTempFile(const std::string& path) const { return m_temp.Contains(path); }

    // The URL of a file: base dir + name, or with extra params holding "%s" the base dir without
    // trailing separators + extra params with every "%s" replaced by the name.
    static std::string HttpUrl(const CRenovixSettings& settings, const std::string& name);
    // Server and port of an FTP base dir ("ftp://server:port/path/"; port 21 when not given).
    // False for a port outside 1 to 65535 or no server.
    static bool SplitFtpBase(const std::string& baseDir, std::string& server, int& port);
    // The absolute path of a file on the FTP server: what follows the server in the base dir,
    // with the name.
    static std::string FtpPath(const std::string& baseDir, const std::string& name);
    // The download's file name in the private folder: every '\' and '/' turned into '-'.
    static std::string TempName(const std::string& name);

protected:
    // The update run copied a new settings file over the program's own.
    void MarkSettingsReplaced() { m_settingsReplaced = true; }

private:
    // Downloads url into the private folder; emptyFails for FTP, where an empty file means a
    // failed transfer.
    std::string Fetch(const char* operation, const std::string& url, const std::string& name, int sizeKB,
                      bool emptyFails);

    CLogger m_log;
    CRenovixSettings m_settings;
    CRenovixTransfer m_transfer;
    CPrivateTempFolder m_temp;
    IRenovixProgress* m_progress = nullptr;
    bool m_settingsReplaced = false;
    std::function<std::time_t()> m_clock;
};
