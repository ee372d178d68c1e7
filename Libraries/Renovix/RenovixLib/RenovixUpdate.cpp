// The update run of CRenovix: the update list, the decision per entry and the installation.
#include "Renovix/RenovixLib/Renovix.h"

#include "Platform/AsciiText.h"
#include "Platform/AtomicFile.h"
#include "Platform/XmlFile.h"
#include "Renovix/RenovixLib/StringTokenizer.h"
#include "Renovix/RenovixLib/UpdateDestination.h"
#include "Renovix/RenovixLib/ZipArchive.h"

#include <tinyxml.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string VersionText(const SFileVersion& remote, const SFileVersion& local)
{
    char text[128];
    std::snprintf(text, sizeof text, "remote=%d.%d.%d.%d local=%d.%d.%d.%d", remote.part[0], remote.part[1],
                  remote.part[2], remote.part[3], local.part[0], local.part[1], local.part[2], local.part[3]);
    return text;
}

bool IsLower(const SFileVersion& local, const SFileVersion& remote)
{
    for (int part = 0; part < 4; ++part)
        if (local.part[part] != remote.part[part])
            return local.part[part] < remote.part[part];
    return false;
}

// Pieces in which an update's file is copied to its target.
constexpr size_t kCopyChunk = 64 * 1024;

// Less time than this left of the update list's deadline is too little for another request. A
// name that used the time up leaves such a sliver: the transfer library's clock may reach the
// deadline a millisecond or two before ours.
constexpr long kLeastListMilliseconds = 100;

std::string Trimmed(const std::string& text)
{
    return std::string(Platform::TrimAsciiBlanks(text));
}

}  // namespace

std::string CRenovix::FetchByProtocol(const std::string& name, int sizeKB, bool& missing)
{
    missing = false;
    switch (m_settings.protocol) {
    case RENOVIX_PROTOCOL_HTTP:
        return GetHttpFile(name, sizeKB);
    case RENOVIX_PROTOCOL_FTP:
        return GetFtpFile(name, sizeKB);
    case RENOVIX_PROTOCOL_FILE:
        return FetchLocalFile(name, sizeKB, &missing);
    default:
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::UpdateFiles falsches Protokoll=%d", m_settings.protocol);
        return std::string();
    }
}

std::string CRenovix::FetchList(const std::string& name, std::chrono::steady_clock::time_point deadline)
{
    // A list larger than the XML reader takes is refused anyway, and a server that trickles it
    // must not hold the program's start for long: both names share one deadline.
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left < kLeastListMilliseconds)
        return std::string();
    const CRenovixTransfer::SLimits& limits = m_transfer.GetLimits();
    const CRenovixTransfer::SBound bound{std::min<uint64_t>(CXmlFile::kMaxSize, limits.ceilingBytes),
                                         static_cast<long>(left)};
    switch (m_settings.protocol) {
    case RENOVIX_PROTOCOL_HTTP:
        return FetchHttp(name, 0, bound);
    case RENOVIX_PROTOCOL_FTP:
        return FetchFtp(name, 0, bound);
    case RENOVIX_PROTOCOL_FILE:
        // Read in place, by the XML reader under the same limit.
        return GetLocalFile(name, 0);
    default:
        return std::string();
    }
}

void CRenovix::DeleteTemporary(const std::string& path)
{
    if (path.empty() || !IsTempFile(path))
        return;
    QUILLET_POS(m_log);
    m_log.Trace("deleting temporary file %s", path.c_str());
    m_temp.Remove(path);
}

bool CRenovix::LoadUpdateList()
{
    QUILLET_POS(m_log);
    m_log.Info("LoadUpdateList '%s'", m_listFileName.c_str());
    m_entries.clear();
    const int protocol = m_settings.protocol;
    if (protocol != RENOVIX_PROTOCOL_HTTP && protocol != RENOVIX_PROTOCOL_FTP && protocol != RENOVIX_PROTOCOL_FILE) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::LoadUpdateList falsches Protokoll=%d", protocol);
        return false;
    }
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(m_transfer.GetLimits().listDeadlineSeconds);
    TiXmlDocument doc;
    std::string error;
    std::string path = FetchList(m_listFileName, deadline);
    if (path.empty() || !CXmlFile::Load(doc, path, &error)) {
        QUILLET_POS(m_log);
        m_log.Info("CRenovix::LoadUpdateList failed downloading %s", m_listFileName.c_str());
        DeleteTemporary(path);
        // Servers of old have only the list without a version in its name.
        m_listFileName = "RenovixList.xml";
        doc = TiXmlDocument();
        error.clear();
        path = FetchList(m_listFileName, deadline);
        if (path.empty() || !CXmlFile::Load(doc, path, &error)) {
            QUILLET_POS(m_log);
            m_log.Error("CRenovix::LoadUpdateList failed opening %s ErrorMessage=%s",
                        (path.empty() ? m_listFileName : path).c_str(), error.c_str());
            DeleteTemporary(path);
            return false;
        }
    }
    QUILLET_POS(m_log);
    m_log.Info("CRenovix::LoadUpdateList loaded %s", path.c_str());
    bool ok = true;
    const TiXmlElement* root = doc.RootElement();
    if (root == nullptr || root->ValueStr() != "renovix") {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::LoadUpdateList no <renovix> tag");
        ok = false;
    } else {
        for (const TiXmlElement* element = root->FirstChildElement("updateentry"); element != nullptr;
             element = element->NextSiblingElement("updateentry"))
            m_entries.push_back(CUpdateEntry::FromElement(*element));
    }
    DeleteTemporary(path);
    return ok;
}

std::string CRenovix::ResolveDestination(const CUpdateEntry& entry, std::string* error)
{
    return CUpdateDestination::ResolveDesktop(entry.source, entry.destination, CUpdateDestination::DesktopFolder,
                                              error);
}

std::string CRenovix::GetLockedFiles(const std::string& separator) const
{
    std::string text;
    for (const std::string& path : m_lockedList)
        text += path + separator;
    const size_t end = text.find_last_not_of(separator);
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

bool CRenovix::PackagesMatch(const CUpdateEntry& entry) const
{
    if (entry.packages == "all" || m_settings.packages == "all")
        return true;
    CStringTokenizer wanted(m_settings.packages, ',');
    while (wanted.HasMoreTokens()) {
        const std::string package = Trimmed(wanted.NextToken());
        CStringTokenizer offered(entry.packages, ',');
        while (offered.HasMoreTokens())
            if (Trimmed(offered.NextToken()) == package)
                return true;
    }
    return false;
}

bool CRenovix::Decide(const CUpdateEntry& entry, bool exists, const std::string& localMd5,
                      const SFileVersion& localVersion)
{
    if (!exists)
        return true;
    if (!entry.Has(UPDATE_ENTRY_UPDATE_EXISTING)) {
        QUILLET_POS(m_log);
        m_log.Info("CRenovix::UpdateFiles überspringe vorhandene Datei");
        return false;
    }
    bool needed = false;
    if (!entry.Has(UPDATE_ENTRY_IGNORE_VERSION)) {
        needed = IsLower(localVersion, entry.version);
        QUILLET_POS(m_log);
        m_log.Info(needed ? "CRenovix::UpdateFiles Update wegen Version %s" : "CRenovix::UpdateFiles Update Version ist <= %s",
                   VersionText(entry.version, localVersion).c_str());
    }
    // After the version: when both count, the hash decides.
    if (!entry.Has(UPDATE_ENTRY_IGNORE_HASH)) {
        needed = entry.hash != localMd5;
        QUILLET_POS(m_log);
        if (needed)
            m_log.Info("CRenovix::UpdateFiles Update wegen Hash (0x%s != 0x%s)", localMd5.c_str(), entry.hash.c_str());
        else
            m_log.Info("CRenovix::UpdateFiles Update Hash ist == (0x%s)", localMd5.c_str());
    }
    return needed;
}

void CRenovix::RememberInUse(const CUpdateEntry& entry, const std::string& target)
{
    m_sharedList.push_back(entry.id);
    m_lockedList.push_back(target);
}

bool CRenovix::NeedsUpdate(const CUpdateEntry& entry, std::string& target, int& result)
{
    if (entry.Has(UPDATE_ENTRY_WIN_CE))
        return NeedsCeUpdate(entry, target, result);
    std::string error;
    target = ResolveDestination(entry, &error);
    if (target.empty()) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::NeedsUpdate Ziel von '%s' abgelehnt: %s", entry.source.c_str(), error.c_str());
        result |= UPDATE_RESULT_FAILED;
        return false;
    }
    QUILLET_POS(m_log);
    m_log.Info("Bearbeite Datei %s", target.c_str());

    struct stat info;
    const bool exists = stat(target.c_str(), &info) == 0;
    const int statError = exists ? 0 : errno;
    if (!exists && statError != ENOENT && statError != ENOTDIR) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::NeedsUpdate Datei '%s' nicht lesbar: %s", target.c_str(), std::strerror(statError));
        result |= UPDATE_RESULT_FAILED;
        return false;
    }
    if (!exists) {
        QUILLET_POS(m_log);
        m_log.Info("CRenovix::UpdateFiles Update weil Datei nicht existiert");
    }
    std::string localMd5;
    SFileVersion localVersion;
    if (exists && entry.Has(UPDATE_ENTRY_FILE)) {
        if (!entry.Has(UPDATE_ENTRY_IGNORE_HASH))
            localMd5 = GetLocalMd5(target);
        if (!entry.Has(UPDATE_ENTRY_IGNORE_VERSION))
            localVersion = GetFileVersion(target);
    }
    const bool needed = Decide(entry, exists, localMd5, localVersion);
    if (!needed)
        return false;
    if (!exists) {
        result |= UPDATE_RESULT_NEW_FILE;
        return true;
    }
    if (!S_ISREG(info.st_mode)) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::NeedsUpdate '%s' ist keine Datei", target.c_str());
        result |= UPDATE_RESULT_FAILED;
        return false;
    }
    // Only a running program (or a busy device) is "in use"; any other refusal is a failure the
    // updater could not mend either.
    const int descriptor = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        const int err = errno;
        QUILLET_POS(m_log);
        if (err == ETXTBSY || err == EBUSY) {
            m_log.Info("Datei ist gesperrt '%s'", target.c_str());
            result |= UPDATE_RESULT_HAD_SHARED;
            RememberInUse(entry, target);
        } else {
            m_log.Error("CRenovix::NeedsUpdate Datei '%s' kann nicht geschrieben werden: %s", target.c_str(),
                        std::strerror(err));
            result |= UPDATE_RESULT_FAILED;
        }
        return false;
    }
    close(descriptor);
    return true;
}

int CRenovix::UpdateFiles()
{
    m_sharedList.clear();
    m_lockedList.clear();
    m_settingsReplaced = false;
    int result = 0;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const CUpdateEntry& entry = m_entries[i];
        QUILLET_POS(m_log);
        m_log.Info("UpdateEntry[%d] %s\n\tsource=%s\n\tdestination=%s", static_cast<int>(i), entry.id.c_str(),
                   entry.source.c_str(), entry.destination.c_str());
        if (!PackagesMatch(entry)) {
            QUILLET_POS(m_log);
            m_log.Info("CRenovix::UpdateFiles überspringe %s, Paket passt nicht Datei=%s Einstellungen=%s",
                       entry.source.c_str(), entry.packages.c_str(), m_settings.packages.c_str());
            continue;
        }
        std::string target;
        if (!NeedsUpdate(entry, target, result))
            continue;
        if (entry.Has(UPDATE_ENTRY_FILE))
            result |= InstallFile(entry, target);
        if (entry.Has(UPDATE_ENTRY_DIR))
            result |= CreateFolder(entry, target);
    }
    if ((result & UPDATE_RESULT_FAILED) == 0) {
        m_settings.nextRun = GetNextDate(m_settings.schedule);
        if ((result & UPDATE_RESULT_HAD_SHARED) == 0)
            result |= UPDATE_RESULT_OK;
    }
    return result;
}

int CRenovix::InstallFile(const CUpdateEntry& entry, const std::string& target)
{
    const bool zipped = entry.Has(UPDATE_ENTRY_COMPRESSION_ZIP);
    const std::string remote = entry.source + (zipped ? ".zip" : "");
    bool missing = false;
    // Always a file of the private folder: what a share offers is read once, into a copy.
    const std::string fetched = FetchByProtocol(remote, entry.sizeKB, missing);
    if (missing) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::UpdateFiles Datei nicht gefunden %s", SharePath(remote).c_str());
        return UPDATE_RESULT_FAILED | UPDATE_RESULT_DOWNLOAD_BROKEN;
    }
    if (fetched.empty()) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::UpdateFiles Download fehlgeschalgen %s", entry.source.c_str());
        return UPDATE_RESULT_FAILED | UPDATE_RESULT_DOWNLOAD_FAILED;
    }
    std::string file = fetched;
    if (zipped) {
        file = Unzip(fetched, entry.source);
        DeleteTemporary(fetched);
        // A partly unpacked file must never reach the target.
        if (file.empty()) {
            QUILLET_POS(m_log);
            m_log.Error("CRenovix::UpdateFiles Datei konnte nicht entpackt werden %s", fetched.c_str());
            return UPDATE_RESULT_FAILED | UPDATE_RESULT_UNZIP_FAILED;
        }
    }
    int result = 0;
    if (!entry.Has(UPDATE_ENTRY_IGNORE_HASH) && !entry.hash.empty()) {
        const std::string digest = GetLocalMd5(file);
        if (!Platform::EqualsNoCase(digest, entry.hash)) {
            QUILLET_POS(m_log);
            m_log.Error("CRenovix::UpdateFiles Datei %s ist nicht die der Liste (0x%s != 0x%s)", entry.source.c_str(),
                        digest.c_str(), entry.hash.c_str());
            result = UPDATE_RESULT_FAILED | UPDATE_RESULT_DOWNLOAD_BROKEN;
        }
    }
    if (result == 0)
        result = entry.Has(UPDATE_ENTRY_WIN_CE) ? CopyCeFile(entry, file) : CopyDesktopFile(file, target);
    DeleteTemporary(file);
    return result;
}

std::string CRenovix::Unzip(const std::string& archive, const std::string& source)
{
    const std::string folder = m_temp.Folder();
    if (folder.empty())
        return std::string();
    const std::string file = folder + TempName(source);
    HZIP zip = ZipOpenArchive(archive.c_str(), 0, ZIP_KIND_FILE_NAME);
    if (zip == nullptr)
        return std::string();
    // The update is the archive's first item; a folder there is nothing to install, and
    // extracting it would make the folder wherever this process stands.
    ZipItemInfo item;
    int code = ZipGetItem(zip, 0, item);
    if (code == ZIP_RESULT_OK && item.IsDirectory())
        code = ZIP_RESULT_NO_FILE;
    if (code == ZIP_RESULT_OK)
        code = ZipUnzipItem(zip, 0, const_cast<char*>(file.c_str()), 0, ZIP_KIND_FILE_NAME);
    ZipCloseArchive(zip);
    if (code != ZIP_RESULT_OK) {
        m_temp.Remove(file);
        return std::string();
    }
    return file;
}

int CRenovix::CopyDesktopFile(const std::string& file, const std::string& target)
{
    QUILLET_POS(m_log);
    m_log.Info("Kopiere '%s' nach '%s'", file.c_str(), target.c_str());
    std::error_code made;
    std::filesystem::create_directories(std::filesystem::path(target).parent_path(), made);
    if (made) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::UpdateFiles Ordner für %s nicht angelegt: %s", target.c_str(), made.message().c_str());
        return UPDATE_RESULT_FAILED;
    }
    // A temporary file beside the target renamed over it: the target is old or new, never half,
    // and a running program keeps the file it has open. Copied in pieces, whatever its size.
    const int source = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info;
    std::string error;
    if (source < 0 || fstat(source, &info) != 0) {
        error = "Datei '" + file + "' kann nicht gelesen werden: " + std::strerror(errno);
    } else {
        // A new file may run when the update's file may: its execute bits, less the umask.
        const mode_t newMode = 0644 | (info.st_mode & 0111);
        const auto copy = [source, &file, &error](const CAtomicFile::Sink& sink) {
            std::vector<char> buffer(kCopyChunk);
            for (;;) {
                const ssize_t count = read(source, buffer.data(), buffer.size());
                if (count < 0 && errno == EINTR)
                    continue;
                if (count < 0)
                    error = "Datei '" + file + "' kann nicht gelesen werden: " + std::strerror(errno);
                if (count <= 0)
                    return count == 0;
                if (!sink(buffer.data(), static_cast<size_t>(count)))
                    return false;
            }
        };
        if (!CAtomicFile::WriteFrom(target, copy, &error, newMode) && error.empty())
            error = "Datei '" + target + "' nicht geschrieben";
    }
    if (source >= 0)
        close(source);
    if (!error.empty()) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::UpdateFiles %s", error.c_str());
        return UPDATE_RESULT_FAILED;
    }
    if (!m_settingsReplaced) {
        CUpdateEntry settingsFile;
        settingsFile.source = "Renovix.xml";
        settingsFile.destination = "%CURRENTDIR%";
        if (ResolveDestination(settingsFile) == target)
            MarkSettingsReplaced();
    }
    return 0;
}

int CRenovix::CreateFolder(const CUpdateEntry& entry, const std::string& target)
{
    if (entry.Has(UPDATE_ENTRY_WIN_CE)) {
        if (!m_device->CreateDirectory(target)) {
            const int err = m_device->GetLastError();
            QUILLET_POS(m_log);
            m_log.Error("CE Verzeichnis konnte nicht erstellt werden %s, [%d] %s", target.c_str(), err,
                        m_device->GetErrorText(err).c_str());
            return UPDATE_RESULT_FAILED;
        }
        return 0;
    }
    std::error_code made;
    std::filesystem::create_directories(target, made);
    if (made) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::UpdateFiles Verzeichnis %s nicht angelegt: %s", target.c_str(), made.message().c_str());
        return UPDATE_RESULT_FAILED;
    }
    return 0;
}
