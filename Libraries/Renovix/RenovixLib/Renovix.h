// The update client: keeps the update settings and the schedule, fetches files by HTTP, FTP or
// from a folder, and reports download progress to an observer. One client serves one update
// run; it runs on the caller's thread and blocks it for the length of a transfer.
#pragma once

#include "Quillet/Logger.h"
#include "Renovix/RenovixLib/RenovixSettings.h"
#include "Renovix/RenovixLib/RenovixTime.h"

#include <ctime>
#include <functional>
#include <string>

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

protected:
    // The update run copied a new settings file over the program's own.
    void MarkSettingsReplaced() { m_settingsReplaced = true; }

    CLogger m_log;

private:
    CRenovixSettings m_settings;
    bool m_settingsReplaced = false;
    std::function<std::time_t()> m_clock;
};
