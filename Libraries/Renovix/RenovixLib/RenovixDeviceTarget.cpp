// The Windows CE device side of CRenovix: entries whose target lies on a connected device.
#include "Renovix/RenovixLib/Renovix.h"

#include "Renovix/RenovixLib/DownloadProgress.h"
#include "Renovix/RenovixLib/Md5Digest.h"
#include "Renovix/RenovixLib/UpdateDestination.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kConnectTimeoutMs = 2000;
constexpr int kMaxConnectAttempts = 2;
constexpr size_t kBlock = 1024;

const struct {
    const char* macro;
    ECeFolder folder;
} kCeFolders[] = {
    {"%DESKTOP%", CE_FOLDER_DESKTOP},
    {"%FAVORITES%", CE_FOLDER_FAVORITES},
    {"%FONTS%", CE_FOLDER_FONTS},
    {"%PERSONAL%", CE_FOLDER_PERSONAL},
    {"%PROGRAMS%", CE_FOLDER_PROGRAM_FILES},
    {"%PROGRAMS_MENU%", CE_FOLDER_PROGRAMS_MENU},
    {"%RECENT%", CE_FOLDER_RECENT},
    {"%STARTUP%", CE_FOLDER_STARTUP},
};

}  // namespace

void CRenovix::SetDevice(IRenovixDevice* device)
{
    if (m_deviceConnected)
        m_device->Disconnect();
    m_deviceConnected = false;
    m_connectAttempts = 0;
    m_device = device ? device : &m_noDevice;
}

bool CRenovix::ConnectRapi(bool connect)
{
    if (!m_device->IsPresent())
        return false;
    if (m_deviceConnected)
        return true;
    if (!connect || m_connectAttempts >= kMaxConnectAttempts)
        return false;
    ++m_connectAttempts;
    QUILLET_POS(m_log);
    m_log.Trace("CeRapiInit...");
    if (!m_device->Connect(kConnectTimeoutMs)) {
        QUILLET_POS(m_log);
        m_log.Error("CeRapiInit fehlgeschlagen");
        return false;
    }
    m_deviceConnected = true;
    QUILLET_POS(m_log);
    m_log.Trace("CeRapiInit OK");
    return true;
}

std::string CRenovix::CeFolder(const std::string& macro)
{
    for (const auto& entry : kCeFolders) {
        if (macro != entry.macro)
            continue;
        std::string folder = m_device->GetSpecialFolder(entry.folder);
        // Older devices name no program folder; their mail attachments' top folder stands in.
        if (folder.empty() && entry.folder == CE_FOLDER_PROGRAM_FILES)
            folder = "\\" + m_device->GetRegistryString("PMail\\Attachments", "TopDir");
        return folder;
    }
    return std::string();
}

std::string CRenovix::ResolveCeDestination(const std::string& source, const std::string& destination,
                                           std::string* error)
{
    if (!ConnectRapi(false)) {
        QUILLET_POS(m_log);
        m_log.Error("Datei '%s' ist für CE, aber keine RAPI Unterstützung auf dem System vorhanden", source.c_str());
        if (error)
            *error = "no device connected";
        return std::string();
    }
    return CUpdateDestination::ResolveDevice(source, destination,
                                             [this](const std::string& macro) { return CeFolder(macro); }, error);
}

bool CRenovix::NeedsCeUpdate(const CUpdateEntry& entry, std::string& target, int& result)
{
    if (!ConnectRapi(true)) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::NeedsUpdate %s ist eine CE-Datei, aber keine RAPI Unterstützung auf System vorhanden",
                    entry.source.c_str());
        result |= UPDATE_RESULT_FAILED | UPDATE_RESULT_NO_RAPI;
        return false;
    }
    std::string error;
    target = ResolveCeDestination(entry.source, entry.destination, &error);
    if (target.empty()) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::NeedsUpdate Ziel von '%s' abgelehnt: %s", entry.source.c_str(), error.c_str());
        result |= UPDATE_RESULT_FAILED;
        return false;
    }
    QUILLET_POS(m_log);
    m_log.Info("Bearbeite Datei %s", target.c_str());
    SCeVersion version;
    if (!m_device->GetVersion(version)) {
        // Without the device's version nothing is known of it: a failure, not a skip.
        const int err = m_device->GetLastError();
        QUILLET_POS(m_log);
        m_log.Error("CeGetVersionEx fehlgeschlagen [%d] %s", err, m_device->GetErrorText(err).c_str());
        result |= UPDATE_RESULT_FAILED | UPDATE_RESULT_NO_RAPI;
        return false;
    }
    QUILLET_POS(m_log);
    m_log.Info("CeGetVersionEx %d.%d (%d) %s", version.major, version.minor, version.build,
               version.servicePack.c_str());
    if (version.major < 3) {
        QUILLET_POS(m_log);
        m_log.Error("zu alte CE-Version %d.%d", version.major, version.minor);
        return false;
    }
    const int processor = m_device->GetProcessorArchitecture();
    if (entry.cePlatform != kCePlatformAny && processor != entry.cePlatform) {
        QUILLET_POS(m_log);
        m_log.Info("kein Update: falscher Prozessor erwartet %d gefunden %d", entry.cePlatform, processor);
        return false;
    }
    const bool exists = m_device->FileExists(target);
    std::string digest;
    SFileVersion fileVersion;
    if (!exists) {
        QUILLET_POS(m_log);
        m_log.Info("CRenovix::UpdateFiles Update weil Datei nicht existiert");
    } else if (entry.Has(UPDATE_ENTRY_FILE) &&
               !(entry.Has(UPDATE_ENTRY_IGNORE_HASH) && entry.Has(UPDATE_ENTRY_IGNORE_VERSION))) {
        GetCeFileInfo(target, digest, fileVersion);
    }
    if (!Decide(entry, exists, digest, fileVersion))
        return false;
    if (!exists) {
        result |= UPDATE_RESULT_NEW_FILE;
        return true;
    }
    const int handle = m_device->OpenFile(target, IRenovixDevice::OPEN_WRITE_EXISTING);
    if (handle < 0) {
        QUILLET_POS(m_log);
        m_log.Info("Datei ist auf CE gesperrt '%s'", target.c_str());
        result |= UPDATE_RESULT_FAILED | UPDATE_RESULT_HAD_SHARED_CE;
        return false;
    }
    m_device->CloseFile(handle);
    return true;
}

void CRenovix::GetCeFileInfo(const std::string& path, std::string& digest, SFileVersion& version)
{
    digest.clear();
    version = SFileVersion();
    if (!ConnectRapi(false))
        return;
    const int handle = m_device->OpenFile(path, IRenovixDevice::OPEN_READ);
    if (handle < 0) {
        const int err = m_device->GetLastError();
        QUILLET_POS(m_log);
        m_log.Error("Datei '%s' konnte von CE nicht gelesen werden [%d] %s", path.c_str(), err,
                    m_device->GetErrorText(err).c_str());
        return;
    }
    static std::atomic<unsigned> counter{0};
    std::string copyPath;
    const int copy = m_temp.CreateFile("Renovix" + std::to_string(counter++) + ".tmp", &copyPath);
    if (copy < 0) {
        QUILLET_POS(m_log);
        m_log.Error("TemporärDatei '%s' konnte nicht erstellt werden", (m_temp.Folder() + "Renovix.tmp").c_str());
    }
    CDownloadProgress progress(m_progress);
    progress.Start("Lese: " + path, static_cast<long>(m_device->GetFileSize(handle) / 1024));
    CMd5Digest md5;
    bool copied = copy >= 0;
    char buffer[kBlock];
    long count;
    while ((count = m_device->ReadFile(handle, buffer, sizeof buffer)) > 0) {
        md5.Add(buffer, static_cast<size_t>(count));
        if (copied && write(copy, buffer, static_cast<size_t>(count)) != count)
            copied = false;
        progress.Add(static_cast<size_t>(count));
    }
    m_device->CloseFile(handle);
    progress.Finish();
    digest = md5.Hex();
    if (copy >= 0) {
        if (close(copy) == 0 && copied)
            version = GetFileVersion(copyPath);
        m_temp.Remove(copyPath);
    }
}

int CRenovix::CopyCeFile(const CUpdateEntry& entry, const std::string& localPath)
{
    if (!ConnectRapi(false)) {
        QUILLET_POS(m_log);
        m_log.Error("Datei '%s' ist für CE, aber keine RAPI Unterstützung auf dem System vorhanden", localPath.c_str());
        return UPDATE_RESULT_FAILED | UPDATE_RESULT_NO_RAPI;
    }
    std::string error;
    const std::string target = ResolveCeDestination(entry.source, entry.destination, &error);
    const int handle = target.empty() ? -1 : m_device->OpenFile(target, IRenovixDevice::OPEN_CREATE);
    if (handle < 0) {
        const int err = m_device->GetLastError();
        QUILLET_POS(m_log);
        m_log.Error("Datei '%s' konnte auf CE nicht erstellt werden [%d] %s", target.c_str(), err,
                    m_device->GetErrorText(err).c_str());
        return UPDATE_RESULT_FAILED | UPDATE_RESULT_HAD_SHARED_CE;
    }
    const int local = open(localPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (local < 0) {
        QUILLET_POS(m_log);
        m_log.Error("Datei '%s' konnte nicht gelesen werden [%d] %s", localPath.c_str(), errno, std::strerror(errno));
        m_device->CloseFile(handle);
        return UPDATE_RESULT_FAILED | UPDATE_RESULT_FAILED_CREATE_CE;
    }
    CDownloadProgress progress(m_progress);
    progress.Start("Schreibe: " + target, static_cast<long>(lseek(local, 0, SEEK_END) / 1024));
    lseek(local, 0, SEEK_SET);
    char buffer[kBlock];
    ssize_t count;
    int result = 0;
    while ((count = read(local, buffer, sizeof buffer)) > 0) {
        // A write the device refuses leaves a broken file there: a failure, not a success.
        if (!m_device->WriteFile(handle, buffer, static_cast<size_t>(count))) {
            const int err = m_device->GetLastError();
            QUILLET_POS(m_log);
            m_log.Error("Datei '%s' konnte auf CE nicht geschrieben werden [%d] %s", target.c_str(), err,
                        m_device->GetErrorText(err).c_str());
            result = UPDATE_RESULT_FAILED | UPDATE_RESULT_HAD_SHARED_CE;
            break;
        }
        progress.Add(static_cast<size_t>(count));
    }
    if (count < 0 && result == 0) {
        QUILLET_POS(m_log);
        m_log.Error("Datei '%s' konnte nicht gelesen werden [%d] %s", localPath.c_str(), errno, std::strerror(errno));
        result = UPDATE_RESULT_FAILED | UPDATE_RESULT_FAILED_CREATE_CE;
    }
    close(local);
    m_device->CloseFile(handle);
    QUILLET_POS(m_log);
    m_log.Trace("CRenovix::CopyCeFile(%s) %llu Bytes geschrieben nach %s", localPath.c_str(),
                static_cast<unsigned long long>(progress.Total()), target.c_str());
    progress.Finish();
    return result;
}
