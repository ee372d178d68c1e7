#include "Renovix/RenovixLib/Renovix.h"

#include "Platform/AsciiText.h"
#include "Platform/ProgramFolder.h"
#include "Platform/SettingsStore.h"
#include "Platform/WholeFile.h"
#include "Platform/XmlFile.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"
#include "Renovix/RenovixLib/DownloadProgress.h"
#include "Renovix/RenovixLib/Md5Digest.h"
#include "Renovix/RenovixLib/RenovixSchedule.h"
#include "Renovix/RenovixLib/ZipReader.h"

#include <tinyxml.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

struct SStoredField {
    CRenovixSettings::Field field;
    const char* name;
};

// Both forms in the order they have always been written.
const SStoredField kFileFields[] = {
    {CRenovixSettings::BaseDir, "basedir"},
    {CRenovixSettings::Schedule, "schedule"},
    {CRenovixSettings::Protocol, "protocol"},
    {CRenovixSettings::NextRun, "nextrenovix"},
    {CRenovixSettings::Packages, "packages"},
    {CRenovixSettings::UserName, "username"},
    {CRenovixSettings::Password, "password"},
    {CRenovixSettings::ExtraParams, "extraparams"},
    {CRenovixSettings::NextNotify, "nextupdatenotify"},
    {CRenovixSettings::NotifyEnabled, "enableupdatenotify"},
};

const SStoredField kRegistryFields[] = {
    {CRenovixSettings::BaseDir, "BaseDir"},
    {CRenovixSettings::Schedule, "Schedule"},
    {CRenovixSettings::Protocol, "Protocol"},
    {CRenovixSettings::NextRun, "NextRenovix"},
    {CRenovixSettings::UserName, "UserName"},
    {CRenovixSettings::Password, "Password"},
    {CRenovixSettings::Packages, "Packages"},
    {CRenovixSettings::ExtraParams, "ExtraParams"},
    {CRenovixSettings::NextNotify, "NextUpdateNotify"},
    {CRenovixSettings::NotifyEnabled, "EnableUpdateNotify"},
};

// Values at least this long read as empty, as the fixed read buffer of the registry form did.
constexpr size_t kRegistryValueLimit = 1024;

// An application name is one folder name below corvanta/Renovix, never a way out of it.
bool IsApplicationName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

CRenovixSettings Defaults()
{
    CRenovixSettings settings;
    CRenovixSettings::SetDefaults(settings);
    return settings;
}

}  // namespace

CRenovix::CRenovix()
    : m_log(CLogManager::GetInstance()->GetLogger("CRenovix", LOGLEVEL_PARENT)),
      m_clock([] { return std::time(nullptr); }),
      m_listFileName(std::string("RenovixList.") + kLibraryVersion + ".xml")
{
}

CRenovix::~CRenovix()
{
    Close();
}

void CRenovix::SetClock(std::function<std::time_t()> clock)
{
    m_clock = std::move(clock);
}

CRenovixSettings CRenovix::LoadSettingsFromFile(const std::string& path)
{
    m_settingsReplaced = false;
    CRenovixSettings settings = Defaults();
    TiXmlDocument doc;
    std::string error;
    if (!CXmlFile::Load(doc, path, &error)) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::LoadSettingsFromFile failed opening %s: %s", path.c_str(), error.c_str());
        return settings;
    }
    const TiXmlElement* root = doc.RootElement();
    if (root == nullptr || root->ValueStr() != "renovix") {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::LoadSettingsFromFile no ROOT-element");
        return settings;
    }
    const TiXmlElement* element = root->FirstChildElement("settings");
    if (element == nullptr) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::LoadSettingsFromFile no <settings> tag");
        return settings;
    }
    for (const SStoredField& stored : kFileFields) {
        const char* value = element->Attribute(stored.name);
        settings.SetText(stored.field, value ? value : "");
    }
    return settings;
}

bool CRenovix::SaveSettingsToFile(const CRenovixSettings& settings, const std::string& path, bool force)
{
    if (!force && m_settingsReplaced) {
        QUILLET_POS(m_log);
        m_log.Info("not saving settings because they were updated");
        return true;
    }
    TiXmlDocument doc;
    TiXmlElement* root = new TiXmlElement("renovix");
    doc.LinkEndChild(root);
    TiXmlElement* element = new TiXmlElement("settings");
    root->LinkEndChild(element);
    for (const SStoredField& stored : kFileFields)
        element->SetAttribute(stored.name, settings.GetText(stored.field));
    std::string error;
    if (!CXmlFile::Save(doc, path, &error)) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::SaveSettingsToFile failed writing %s: %s", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

std::string CRenovix::RegistryPath(const std::string& applicationName)
{
    return CSettingsStore::UserSettingsPath("corvanta/Renovix/" + applicationName);
}

CRenovixSettings CRenovix::LoadSettingsFromRegistry(const std::string& applicationName)
{
    CRenovixSettings settings = Defaults();
    if (!IsApplicationName(applicationName))
        return settings;
    CSettingsStore store;
    const std::string path = RegistryPath(applicationName);
    if (!store.Load(path)) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::LoadSettingsFromRegistry failed opening %s", path.c_str());
        return settings;
    }
    for (const SStoredField& stored : kRegistryFields) {
        std::string value = store.GetString("", stored.name);
        if (value.size() >= kRegistryValueLimit)
            value.clear();
        settings.SetText(stored.field, value);
    }
    return settings;
}

bool CRenovix::SaveSettingsToRegistry(const CRenovixSettings& settings, const std::string& applicationName)
{
    if (!IsApplicationName(applicationName))
        return false;
    CSettingsStore store;
    const std::string path = RegistryPath(applicationName);
    // Keeps what else the file holds; a missing file is a new store.
    store.Load(path);
    for (const SStoredField& stored : kRegistryFields) {
        if (!store.SetString("", stored.name, settings.GetText(stored.field))) {
            QUILLET_POS(m_log);
            m_log.Error("CRenovix::SaveSettingsToRegistry cannot store %s", stored.name);
            return false;
        }
    }
    std::string error;
    if (!store.Save(path, &error)) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::SaveSettingsToRegistry failed creating %s: %s", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

SRenovixTime CRenovix::GetNextDate(const std::string& schedule) const
{
    return CRenovixSchedule::NextDate(schedule, m_clock());
}

bool CRenovix::IsUpdateDue(const CRenovixSettings& settings) const
{
    return CRenovixSchedule::IsDue(settings, m_clock());
}

namespace {

// Everything but unreserved characters and '/' percent-encoded: names may hold blanks, '%',
// '#' or '?', which must reach the server as part of the name.
std::string EncodePath(const std::string& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string result;
    for (unsigned char c : text) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '.' || c == '_' || c == '~' || c == '/';
        if (plain) {
            result += static_cast<char>(c);
        } else {
            result += '%';
            result += kHex[c >> 4];
            result += kHex[c & 15];
        }
    }
    return result;
}

// Names in update lists may be written with Windows separators.
std::string WithSlashes(std::string name)
{
    for (char& c : name)
        if (c == '\\')
            c = '/';
    return name;
}

std::string AfterScheme(const std::string& text)
{
    const size_t scheme = text.find("://");
    return scheme == std::string::npos ? text : text.substr(scheme + 3);
}

bool EndsWithFolder(const std::string& path, const char* folder)
{
    const std::string tail = std::string("/") + folder + "/";
    return path.size() > tail.size() && Platform::EqualsNoCase(path.substr(path.size() - tail.size()), tail);
}

}  // namespace

std::string CRenovix::HttpUrl(const CRenovixSettings& settings, const std::string& name)
{
    const std::string encoded = EncodePath(WithSlashes(name));
    if (settings.extraParams.find("%s") == std::string::npos)
        return settings.baseDir + encoded;
    std::string base = settings.baseDir;
    while (!base.empty() && (base.back() == '/' || base.back() == '\\'))
        base.pop_back();
    // Replaced as text: the template is no printf format, so other '%' signs stay as they are.
    std::string params = settings.extraParams;
    for (size_t at = params.find("%s"); at != std::string::npos; at = params.find("%s", at + encoded.size()))
        params.replace(at, 2, encoded);
    return base + params;
}

bool CRenovix::SplitFtpBase(const std::string& baseDir, std::string& server, int& port)
{
    server = AfterScheme(baseDir);
    const size_t slash = server.find('/');
    if (slash != std::string::npos && slash > 0)
        server.erase(slash);
    port = 21;
    const size_t colon = server.find(':');
    if (colon != std::string::npos && colon > 0) {
        port = std::atoi(server.c_str() + colon + 1);
        server.erase(colon);
    }
    return !server.empty() && server[0] != '/' && port >= 1 && port <= 65535;
}

std::string CRenovix::FtpPath(const std::string& baseDir, const std::string& name)
{
    const std::string text = AfterScheme(baseDir + WithSlashes(name));
    const size_t slash = text.find('/');
    return slash == std::string::npos ? "/" + text : text.substr(slash);
}

std::string CRenovix::TempName(const std::string& name)
{
    std::string result = name;
    for (char& c : result)
        if (c == '\\' || c == '/')
            c = '-';
    return result;
}

bool CRenovix::Init(const CRenovixSettings& settings)
{
    QUILLET_POS(m_log);
    m_log.Trace("CRenovix::Init");
    m_settings = settings;
    m_transfer.Close();
    CRenovixTransfer::SResult result;
    switch (settings.protocol) {
    case RENOVIX_PROTOCOL_HTTP:
        if (!m_transfer.OpenHttp(result)) {
            QUILLET_POS(m_log);
            m_log.Error("CRenovix::Init m_internetConnection==NULL [%d] %s", result.code, result.error.c_str());
            return false;
        }
        return true;
    case RENOVIX_PROTOCOL_FTP: {
        std::string server;
        int port = 0;
        if (!SplitFtpBase(settings.baseDir, server, port)) {
            QUILLET_POS(m_log);
            m_log.Error("CRenovix::Init kein FTP-Server in '%s'", settings.baseDir.c_str());
            return false;
        }
        if (!m_transfer.OpenFtp(server, port, settings.userName, settings.password, result)) {
            QUILLET_POS(m_log);
            m_log.Error("CRenovix::Init m_ftpConnection==NULL [%d] %s", result.code, result.error.c_str());
            return false;
        }
        return true;
    }
    case RENOVIX_PROTOCOL_FILE:
        return true;
    default:
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::Init falsches Protokoll=%d", settings.protocol);
        return false;
    }
}

bool CRenovix::Close()
{
    m_transfer.Close();
    if (m_deviceConnected)
        m_device->Disconnect();
    m_deviceConnected = false;
    m_connectAttempts = 0;
    return true;
}

std::string CRenovix::Fetch(const char* operation, const std::string& url, const std::string& name, int sizeKB,
                            const CRenovixTransfer::SBound& bound, bool emptyFails)
{
    QUILLET_POS(m_log);
    m_log.Trace("CRenovix::%s(%s)", operation, url.c_str());
    std::string path;
    const int descriptor = m_temp.CreateFile(TempName(name), &path);
    if (descriptor < 0) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::%s kann Datei '%s' nicht schreiben", operation, (m_temp.Folder() + TempName(name)).c_str());
        return std::string();
    }
    CDownloadProgress progress(m_progress);
    progress.Start(name, sizeKB);
    CRenovixTransfer::SResult result = m_transfer.Get(url, descriptor, progress, bound);
    if (close(descriptor) != 0 && result.ok) {
        result.ok = false;
        result.error = "cannot write the local file";
    }
    progress.Finish();
    if (result.ok && emptyFails && result.bytes == 0) {
        result.ok = false;
        result.error = "Datei war leer";
    }
    if (!result.ok) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::%s fehlgeschlagen (%s) [%d] %s", operation, url.c_str(), result.code,
                    result.error.c_str());
        m_temp.Remove(path);
        return std::string();
    }
    QUILLET_POS(m_log);
    m_log.Trace("CRenovix::%s(%s) %llu Bytes geschrieben nach %s", operation, url.c_str(),
                static_cast<unsigned long long>(result.bytes), path.c_str());
    return path;
}

namespace {

uint64_t ExpectedBytes(int sizeKB)
{
    return sizeKB > 0 ? static_cast<uint64_t>(sizeKB) * 1024 : 0;
}

}  // namespace

std::string CRenovix::GetHttpFile(const std::string& name, int sizeKB)
{
    return FetchHttp(name, sizeKB, CRenovixTransfer::FileBound(m_transfer.GetLimits(), ExpectedBytes(sizeKB)));
}

std::string CRenovix::FetchHttp(const std::string& name, int sizeKB, const CRenovixTransfer::SBound& bound)
{
    if (!m_transfer.IsOpen() || m_transfer.IsFtp()) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::GetHttpFile ohne HTTP-Verbindung");
        return std::string();
    }
    return Fetch("GetHttpFile", HttpUrl(m_settings, name), name, sizeKB, bound, false);
}

std::string CRenovix::GetFtpFile(const std::string& name, int sizeKB)
{
    return FetchFtp(name, sizeKB, CRenovixTransfer::FileBound(m_transfer.GetLimits(), ExpectedBytes(sizeKB)));
}

std::string CRenovix::FetchFtp(const std::string& name, int sizeKB, const CRenovixTransfer::SBound& bound)
{
    if (!m_transfer.IsFtp()) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::GetFtpFile ohne FTP-Verbindung");
        return std::string();
    }
    std::string server;
    int port = 0;
    SplitFtpBase(m_settings.baseDir, server, port);
    // "%2F": the path counts from the server's root, not from the login folder.
    const std::string url = "ftp://" + server + ":" + std::to_string(port) + "/%2F" +
                            EncodePath(FtpPath(m_settings.baseDir, name).substr(1));
    return Fetch("GetFtpFile", url, name, sizeKB, bound, true);
}

std::string CRenovix::ShareFolder() const
{
    std::string base = m_settings.baseDir;
    while (!base.empty() && (base.back() == '/' || base.back() == '\\'))
        base.pop_back();
    return base;
}

void CRenovix::LogOutsideShare(const std::string& name)
{
    QUILLET_POS(m_log);
    m_log.Error("CRenovix::GetLocalFile Quelle '%s' abgelehnt: sie liegt nicht im Serverordner '%s'", name.c_str(),
                m_settings.baseDir.c_str());
}

std::string CRenovix::SharePath(const std::string& name)
{
    // The list comes from a server nobody authenticates: its names stay inside the share. Lists
    // write them with a leading separator ("/tools/a.exe", "\\bin\\x.dll") as often as without.
    std::string relative = WithSlashes(name);
    if (!relative.empty() && relative[0] == '/')
        relative.erase(0, 1);
    if (m_settings.baseDir.empty() || !ZipReader::IsSafeRelativePath(relative)) {
        LogOutsideShare(name);
        return std::string();
    }
    return ShareFolder() + "/" + relative;
}

bool CRenovix::IsInsideShare(int descriptor) const
{
    // Where the opened file really lies, every link of its path followed: asked of the open file,
    // so that no link can be swapped between this check and the read.
    const std::string link = "/proc/self/fd/" + std::to_string(descriptor);
    std::vector<char> opened(PATH_MAX + 1);
    const ssize_t length = readlink(link.c_str(), opened.data(), opened.size());
    const std::string base = ShareFolder();
    char* resolved = realpath(base.empty() ? "/" : base.c_str(), nullptr);
    if (length <= 0 || static_cast<size_t>(length) >= opened.size() || resolved == nullptr) {
        std::free(resolved);
        return false;
    }
    std::string folder(resolved);
    std::free(resolved);
    if (folder.back() != '/')
        folder += '/';
    const std::string path(opened.data(), static_cast<size_t>(length));
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0;
}

std::string CRenovix::GetLocalFile(const std::string& name, int sizeKB)
{
    const std::string path = SharePath(name);
    if (path.empty())
        return path;
    CDownloadProgress progress(m_progress);
    progress.Start(name, sizeKB);
    return path;
}

std::string CRenovix::FetchLocalFile(const std::string& name, int sizeKB, bool* missing)
{
    if (missing != nullptr)
        *missing = false;
    const std::string shared = SharePath(name);
    if (shared.empty())
        return shared;
    QUILLET_POS(m_log);
    m_log.Trace("CRenovix::FetchLocalFile(%s)", shared.c_str());
    // Not blocking: a FIFO placed in the share must not hold the update run.
    const int source = open(shared.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    // What this open found is the answer: the name may lead elsewhere a moment later.
    if (source < 0 && (errno == ENOENT || errno == ENOTDIR)) {
        if (missing != nullptr)
            *missing = true;
        return std::string();
    }
    if (source >= 0 && !IsInsideShare(source)) {
        // A link out of the share is refused as ".." is.
        close(source);
        LogOutsideShare(name);
        return std::string();
    }
    struct stat info;
    std::string error;
    if (source < 0 || fstat(source, &info) != 0)
        error = std::string("nicht lesbar: ") + std::strerror(errno);
    else if (!S_ISREG(info.st_mode)) {
        close(source);
        if (missing != nullptr)
            *missing = true;
        return std::string();
    }
    std::string path;
    const int target = error.empty() ? m_temp.CreateFile(TempName(name), &path) : -1;
    if (error.empty() && target < 0)
        error = "kann Datei '" + m_temp.Folder() + TempName(name) + "' nicht schreiben";
    // A program stays one: the installed file takes its execute bits from here.
    if (error.empty() && fchmod(target, 0600 | (info.st_mode & 0111)) != 0)
        error = "kann Datei '" + path + "' nicht schreiben: " + std::strerror(errno);
    CDownloadProgress progress(m_progress);
    progress.Start(name, sizeKB);
    // The bound of a download, counted as the bytes are read: a file may grow while it is.
    const uint64_t maxBytes = CRenovixTransfer::MaxBytes(m_transfer.GetLimits(), ExpectedBytes(sizeKB));
    std::vector<char> buffer(64 * 1024);
    uint64_t total = 0;
    while (error.empty()) {
        const ssize_t count = read(source, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            error = std::string("nicht lesbar: ") + std::strerror(errno);
            break;
        }
        if (count == 0)
            break;
        if (static_cast<uint64_t>(count) > maxBytes - total) {
            error = "mehr als " + std::to_string(maxBytes) + " Bytes";
            break;
        }
        if (!Platform::WriteAll(target, buffer.data(), static_cast<size_t>(count))) {
            error = "kann Datei '" + path + "' nicht schreiben: " + std::strerror(errno);
            break;
        }
        total += static_cast<uint64_t>(count);
        progress.Add(static_cast<size_t>(count));
    }
    if (source >= 0)
        close(source);
    if (target >= 0 && close(target) != 0 && error.empty())
        error = "kann Datei '" + path + "' nicht schreiben: " + std::strerror(errno);
    progress.Finish();
    if (!error.empty()) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::FetchLocalFile fehlgeschlagen (%s) %s", shared.c_str(), error.c_str());
        if (!path.empty())
            m_temp.Remove(path);
        return std::string();
    }
    QUILLET_POS(m_log);
    m_log.Trace("CRenovix::FetchLocalFile(%s) %llu Bytes geschrieben nach %s", shared.c_str(),
                static_cast<unsigned long long>(total), path.c_str());
    return path;
}

std::string CRenovix::GetBaseDir()
{
    std::string folder = Platform::GetProgramFolder();
    for (const char* build : {"debug", "release"})
        if (EndsWithFolder(folder, build))
            folder.erase(folder.rfind('/', folder.size() - 2) + 1);
    return folder;
}

std::string CRenovix::GetLocalMd5(const std::string& path)
{
    CMd5Digest digest;
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor >= 0) {
        unsigned char buffer[65536];
        ssize_t count;
        while ((count = read(descriptor, buffer, sizeof buffer)) > 0 || (count < 0 && errno == EINTR))
            if (count > 0)
                digest.Add(buffer, static_cast<size_t>(count));
        close(descriptor);
    }
    return digest.Hex();
}

SFileVersion CRenovix::GetFileVersion(const std::string& path)
{
    SFileVersion version;
    Platform::ReadFileVersion(path, version);
    return version;
}
