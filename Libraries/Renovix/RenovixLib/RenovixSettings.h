// The update settings of one installation: where the update server is and how to reach it,
// which packages this installation takes, and when the next automatic update is due. A value
// record; the client stores it in "Renovix.xml" beside the program or in the user's settings.
#pragma once

#include "Renovix/RenovixLib/RenovixTime.h"

#include <string>

enum ERenovixProtocol {
    RENOVIX_PROTOCOL_NONE = 0,  // no updates
    RENOVIX_PROTOCOL_HTTP = 1,
    RENOVIX_PROTOCOL_FTP = 2,
    RENOVIX_PROTOCOL_FILE = 3,  // a folder, e.g. on a mounted file share
};

class CRenovixSettings {
public:
    // The fields the two stored forms hold, each as one text.
    enum Field {
        BaseDir,
        Schedule,
        Protocol,
        NextRun,
        Packages,
        UserName,
        Password,
        ExtraParams,
        NextNotify,
        NotifyEnabled,
    };

    // Protocol none, next run 2100-12-31 00:00:00, schedule "MANUALLY", next notice
    // 1900-01-01 00:00:00, everything else empty or off.
    static void SetDefaults(CRenovixSettings& settings);

    // The stored text of a field: the password scrambled, dates as "YYYY-MM-DD hh:mm:ss",
    // protocol and notice flag as keywords.
    std::string GetText(Field field) const;
    // Takes a stored text by the rules of the stored forms; a text that does not fit (an unknown
    // protocol, a date of another length) leaves the field as it is.
    void SetText(Field field, const std::string& text);

    static std::string FormatTime(const SRenovixTime& time);
    // False, with time untouched, for a text that is not 19 characters long.
    static bool ParseTime(const std::string& text, SRenovixTime& time);

    int protocol = RENOVIX_PROTOCOL_NONE;
    std::string baseDir;      // server URL ending in '/' or a folder ending in '/'
    std::string userName;     // FTP login
    std::string password;     // plain; stored scrambled
    SRenovixTime nextRun;     // local time
    std::string schedule;     // see CRenovixSchedule
    std::string packages;     // comma-separated names, or "all"
    std::string extraParams;  // HTTP URL template with "%s" for the file name
    SRenovixTime nextNotify;  // kept for the settings dialog
    bool notifyEnabled = false;
};
