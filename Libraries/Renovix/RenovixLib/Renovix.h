// The update client: keeps the update settings and the schedule, fetches files by HTTP, FTP or
// from a folder, reports download progress to an observer, brings the installed files up to
// date from the update list and hands files in use over to the updater. One client serves one
// update run: Init, LoadUpdateList, UpdateFiles. It runs on the caller's thread and blocks it
// for the length of a transfer.
#pragma once

#include "Platform/VersionInfo.h"
#include "Quillet/Logger.h"
#include "Renovix/RenovixLib/NoRenovixDevice.h"
#include "Renovix/RenovixLib/PrivateTempFolder.h"
#include "Renovix/RenovixLib/RenovixSettings.h"
#include "Renovix/RenovixLib/RenovixTime.h"
#include "Renovix/RenovixLib/RenovixTransfer.h"
#include "Renovix/RenovixLib/UpdateEntry.h"

#include <chrono>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

class IRenovixProgress;

class CRenovix {
public:
    // The bits of an update run's result. Inside the client, so that a program may keep its own
    // names for the bits it tests.
    enum EUpdateResult {
        UPDATE_RESULT_OK = 0x1,
        UPDATE_RESULT_HAD_SHARED = 0x2,  // a target was in use; see the locked list
        UPDATE_RESULT_FAILED = 0x4,      // always with the detail bit of the failure, if it has one
        UPDATE_RESULT_HAD_SHARED_CE = 0x10,
        UPDATE_RESULT_DOWNLOAD_FAILED = 0x20,
        UPDATE_RESULT_DOWNLOAD_BROKEN = 0x40,  // the fetched file is missing or not the listed one
        UPDATE_RESULT_UNZIP_FAILED = 0x80,
        UPDATE_RESULT_NO_RAPI = 0x100,  // a device entry but no usable device connection
        UPDATE_RESULT_FAILED_CREATE_CE = 0x200,
        UPDATE_RESULT_NEW_FILE = 0x10000000,
    };

    CRenovix();
    virtual ~CRenovix();
    CRenovix(const CRenovix&) = delete;
    CRenovix& operator=(const CRenovix&) = delete;

    // The client's log lines go to logger (its own "CRenovix" logger until set).
    void SetLogger(const CLogger& logger) { m_log = logger; }

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
    // Ends the connection and the device connection; the downloaded files stay until the client
    // goes.
    bool Close();

    // Fetches the update list, first under the client's list file name and, when that fails,
    // as "RenovixList.xml" (kept for the rest of the client's life), and reads its entries. Both
    // fetches together end within the list's deadline of the transfer limits.
    bool LoadUpdateList();
    // Decides and installs every entry of the list; the bits of EUpdateResult. Fills the shared
    // and locked lists, and on a run without failures moves the settings' next run on.
    int UpdateFiles();
    // Whether the entry must be installed: target is the resolved target, result gets the bits
    // of a failure, a target in use, or a new file. A target in use joins both lists.
    bool NeedsUpdate(const CUpdateEntry& entry, std::string& target, int& result);
    // The absolute desktop target of an entry; empty, with the reason in *error, for a
    // destination that is refused.
    static std::string ResolveDestination(const CUpdateEntry& entry, std::string* error = nullptr);
    // The targets in use in the last run, each followed by separator, separators trimmed at the
    // end.
    std::string GetLockedFiles(const std::string& separator) const;
    void SetListFileName(const std::string& name) { m_listFileName = name; }
    const std::string& GetListFileName() const { return m_listFileName; }
    const std::vector<CUpdateEntry>& GetEntries() const { return m_entries; }

    // Leaves the ids of the entries in use in "SharedFiles.tmp" in the program folder, makes sure
    // the updater finds the settings there, waits delayMs and starts the updater with the
    // argument (the program to start again), detached and without this process's descriptors.
    bool RestartAndUpdate(const std::string& updaterPath, const std::string& argument, int delayMs);
    // Starts the program arguments[0] with the arguments in a session of its own, with the
    // standard descriptors only, so that it outlives this process and holds none of its files,
    // sockets or locks; nothing waits for it. 0, or the error number when it could not start.
    static int StartDetached(std::vector<std::string> arguments);
    // The updater's side: narrows the entries to those named in "SharedFiles.tmp" (by id, or
    // by source in lists of old), all of them when it names none.
    void LoadSharedFiles();
    static bool DeleteSharedFileList();
    // The updater's side: waits until no desktop target of the entries is in use any more, at
    // most timeoutMs; false when some still is.
    bool WaitForTargetsFree(int timeoutMs);

    // The Windows CE device entries go to; none when device is null (the default). The client
    // does not own it.
    void SetDevice(IRenovixDevice* device);
    // Whether a device is connected; with connect, tries to connect first (at most twice per
    // client, each attempt waiting at most 2 s).
    bool ConnectRapi(bool connect);
    // The target of a device entry; empty when no device is connected or the destination is
    // refused.
    std::string ResolveCeDestination(const std::string& source, const std::string& destination,
                                     std::string* error = nullptr);
    // MD5 and version of a file on the device; empty and 0.0.0.0 when it cannot be read.
    void GetCeFileInfo(const std::string& path, std::string& digest, SFileVersion& version);
    // Copies the local file to the entry's target on the device; 0 or the failure's bits.
    int CopyCeFile(const CUpdateEntry& entry, const std::string& localPath);

    static constexpr const char* kSharedFileName = "SharedFiles.tmp";
    // Names the first update list the client asks for.
    static constexpr const char* kLibraryVersion = "1.0.0.0";

    // When downloads give up; the defaults unless set.
    void SetTransferLimits(const CRenovixTransfer::SLimits& limits) { m_transfer.SetLimits(limits); }

    // Who hears of download progress; null for nobody.
    void SetProgressObserver(IRenovixProgress* observer) { m_progress = observer; }

    // The local path of the downloaded file in the client's private folder, or empty on any
    // failure (then no file is left). A transfer that fails or ends short fails.
    std::string GetHttpFile(const std::string& name, int sizeKB);
    // The same by FTP; an empty file fails too.
    std::string GetFtpFile(const std::string& name, int sizeKB);
    // The file in the base folder itself (nothing is copied); whether it exists is the caller's
    // question. A name is a path inside the base folder, with or without a leading '/' or '\';
    // empty for one that steps out with "..", names a drive or another server.
    std::string GetLocalFile(const std::string& name, int sizeKB);
    // The file in the base folder copied into the private folder, with the bounds a download of
    // sizeKB has; empty on any failure, a file larger than that bound included (then no file is
    // left), and empty for a file that a link of its path leads out of the base folder. A file
    // the base folder lacks, or that is no regular file, is empty too and sets *missing: judged
    // by the one open of the file, as nothing but the copy is handed on.
    std::string FetchLocalFile(const std::string& name, int sizeKB, bool* missing = nullptr);

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
    // A file of the update list, fetched by the settings' protocol; missing tells a file the
    // base folder lacks from a failed fetch.
    std::string FetchByProtocol(const std::string& name, int sizeKB, bool& missing);
    // The update list: in place in a folder, downloaded with bounds of its own and ended at the
    // deadline; empty when that has passed.
    std::string FetchList(const std::string& name, std::chrono::steady_clock::time_point deadline);
    // The base folder without trailing separators.
    std::string ShareFolder() const;
    // The path in the base folder of a name of the list; empty for one that is refused.
    std::string SharePath(const std::string& name);
    void LogOutsideShare(const std::string& name);
    // Whether the open file lies inside the base folder, after every link of both.
    bool IsInsideShare(int descriptor) const;
    std::string FetchHttp(const std::string& name, int sizeKB, const CRenovixTransfer::SBound& bound);
    std::string FetchFtp(const std::string& name, int sizeKB, const CRenovixTransfer::SBound& bound);
    void DeleteTemporary(const std::string& path);
    bool PackagesMatch(const CUpdateEntry& entry) const;
    // Steps the desktop and the device decision share.
    bool Decide(const CUpdateEntry& entry, bool exists, const std::string& localMd5,
                const SFileVersion& localVersion);
    bool NeedsCeUpdate(const CUpdateEntry& entry, std::string& target, int& result);
    int InstallFile(const CUpdateEntry& entry, const std::string& target);
    // The unpacked file in the private folder, or empty.
    std::string Unzip(const std::string& archive, const std::string& source);
    int CopyDesktopFile(const std::string& file, const std::string& target);
    int CreateFolder(const CUpdateEntry& entry, const std::string& target);
    void RememberInUse(const CUpdateEntry& entry, const std::string& target);
    std::string CeFolder(const std::string& macro);

    // Downloads url into the private folder; emptyFails for FTP, where an empty file means a
    // failed transfer.
    std::string Fetch(const char* operation, const std::string& url, const std::string& name, int sizeKB,
                      const CRenovixTransfer::SBound& bound, bool emptyFails);

    CLogger m_log;
    CRenovixSettings m_settings;
    CRenovixTransfer m_transfer;
    CPrivateTempFolder m_temp{"renovix"};
    IRenovixProgress* m_progress = nullptr;
    bool m_settingsReplaced = false;
    std::function<std::time_t()> m_clock;
    std::string m_listFileName;
    std::vector<CUpdateEntry> m_entries;
    std::vector<std::string> m_sharedList;  // ids of the entries in use
    std::vector<std::string> m_lockedList;  // their targets
    CNoRenovixDevice m_noDevice;
    IRenovixDevice* m_device = &m_noDevice;
    bool m_deviceConnected = false;
    int m_connectAttempts = 0;
};
