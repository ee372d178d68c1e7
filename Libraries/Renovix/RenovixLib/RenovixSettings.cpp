#include "Renovix/RenovixLib/RenovixSettings.h"

#include "Platform/AsciiText.h"
#include "Renovix/RenovixLib/TextScrambler.h"
#include "Renovix/RenovixLib/UpdateEntry.h"

#include <cstdio>
#include <cstdlib>

namespace {

// The anonymous-FTP custom: an e-mail address as the password when none is set.
constexpr char kAnonymousPassword[] = "update@example.org";

SRenovixTime MakeTime(int year, int month, int day)
{
    SRenovixTime time;
    time.year = year;
    time.month = month;
    time.day = day;
    return time;
}

const char* ProtocolText(int protocol)
{
    switch (protocol) {
    case RENOVIX_PROTOCOL_HTTP: return "HTTP";
    case RENOVIX_PROTOCOL_FTP: return "FTP";
    case RENOVIX_PROTOCOL_FILE: return "FILE";
    default: return "NONE";
    }
}

}  // namespace

void CRenovixSettings::SetDefaults(CRenovixSettings& settings)
{
    settings = CRenovixSettings();
    settings.nextRun = MakeTime(2100, 12, 31);
    settings.schedule = "MANUALLY";
    settings.nextNotify = MakeTime(1900, 1, 1);
}

std::string CRenovixSettings::FormatTime(const SRenovixTime& time)
{
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    return text;
}

bool CRenovixSettings::ParseTime(const std::string& text, SRenovixTime& time)
{
    if (text.size() != 19)
        return false;
    const auto number = [&text](size_t at, size_t length) { return std::atoi(text.substr(at, length).c_str()); };
    time.year = number(0, 4);
    time.month = number(5, 2);
    time.day = number(8, 2);
    time.hour = number(11, 2);
    time.minute = number(14, 2);
    time.second = number(17, 2);
    time.milliseconds = 0;
    return true;
}

std::string CRenovixSettings::GetText(Field field) const
{
    switch (field) {
    case BaseDir: return baseDir;
    case Schedule: return schedule;
    case Protocol: return ProtocolText(protocol);
    case NextRun: return FormatTime(nextRun);
    case Packages: return packages;
    case UserName: return userName;
    case Password: return CTextScrambler::Encode(password);
    case ExtraParams: return extraParams;
    case NextNotify: return FormatTime(nextNotify);
    case NotifyEnabled: return notifyEnabled ? "TRUE" : "FALSE";
    }
    return std::string();
}

void CRenovixSettings::SetText(Field field, const std::string& text)
{
    switch (field) {
    case BaseDir:
        // Kept as written: on this system folder names differ by case.
        baseDir = text;
        break;
    case Schedule: schedule = text; break;
    case Protocol:
        if (text == "HTTP")
            protocol = RENOVIX_PROTOCOL_HTTP;
        else if (text == "FTP")
            protocol = RENOVIX_PROTOCOL_FTP;
        else if (text == "FILE")
            protocol = RENOVIX_PROTOCOL_FILE;
        break;
    case NextRun: ParseTime(text, nextRun); break;
    case Packages: packages = CUpdateEntry::ParsePackages(text); break;
    case UserName: userName = text.empty() ? "anonymous" : text; break;
    case Password:
        password = CTextScrambler::Decode(text);
        if (password.empty())
            password = kAnonymousPassword;
        break;
    case ExtraParams: extraParams = text; break;
    case NextNotify: ParseTime(text, nextNotify); break;
    case NotifyEnabled: notifyEnabled = Platform::EqualsNoCase(text, "true"); break;
    }
}
