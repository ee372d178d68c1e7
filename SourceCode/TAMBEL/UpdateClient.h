// What the start-up asks of the update library: read the settings beside the program, decide
// whether an update is due, run it, and hand locked files over to the updater
// (CRenovixUpdateClient; tests give the start-up a scripted one).
#pragma once

#include <cstdint>
#include <string>

class CLogger;
class CSplashScreen;

// Bits of UpdateFiles' result.
constexpr std::uint32_t UPDATE_RESULT_OK = 0x1;
constexpr std::uint32_t UPDATE_RESULT_HAD_SHARED = 0x2;
constexpr std::uint32_t UPDATE_RESULT_FAILED = 0x4;

class CUpdateClient {
public:
    virtual ~CUpdateClient() = default;

    // The client logs through the application's logger and reports download progress to the
    // splash screen.
    virtual void SetLogger(const CLogger& logger) = 0;
    virtual void SetProgressWindow(CSplashScreen* splash) = 0;

    // Reads the settings (defaults where the file is missing or broken).
    virtual void LoadSettingsFromFile(const std::string& path) = 0;
    // 0: no update protocol, nothing is ever updated.
    virtual int GetProtocol() const = 0;
    // The next run's date as the user reads it, for the log.
    virtual std::string GetNextRunText() const = 0;
    virtual bool IsUpdateDue() const = 0;
    virtual bool Init() = 0;
    virtual bool LoadUpdateList() = 0;
    // UPDATE_RESULT_* bits.
    virtual std::uint32_t UpdateFiles() = 0;
    // Stores the settings as the run left them (the next run's date); without force nothing is
    // written when the run replaced the settings file itself.
    virtual bool SaveSettingsToFile(const std::string& path, bool force) = 0;
    // Starts the updater for the locked files after the delay; the caller then ends.
    virtual bool RestartAndUpdate(const std::string& updaterPath, const std::string& programPath,
                                  int delayMilliseconds) = 0;
};
