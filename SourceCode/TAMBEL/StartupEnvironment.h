// The services the start-up and shutdown of the sizing program call, one virtual operation per
// step, so tests can make any step fail without a broken installation. The operations of this
// class use the real engine, database and windows.
#pragma once

#include <memory>

class CProductionDbLink;
class CTAMBELApp;
class CUpdateClient;

class CStartupEnvironment {
public:
    CStartupEnvironment();
    virtual ~CStartupEnvironment();
    CStartupEnvironment(const CStartupEnvironment&) = delete;
    CStartupEnvironment& operator=(const CStartupEnvironment&) = delete;

    // The desktop session is usable (the window system was reached before the program got
    // here, so this does not fail on Linux; the failure path stays for other platforms).
    virtual bool InitializePlatform();
    // Another start of the program by this user still runs (it is asked to come forward).
    virtual bool IsOtherInstanceRunning(CTAMBELApp& app);

    // The application configuration beside the program.
    virtual bool LoadConfiguration();
    virtual bool ConfigurationFileExists();
    // False when not written; *errorNumber is then the system's error number, or 0.
    virtual bool SaveConfiguration(int* errorNumber);

    virtual std::unique_ptr<CUpdateClient> CreateUpdateClient();

    virtual bool OpenUnitsDatabase();
    virtual bool LoadUnits();
    virtual bool LoadFluids();
    virtual bool LoadNormConditions();
    // After a configuration that could not be loaded: the norm condition with id 1 (reset when
    // the list has none) becomes the default.
    virtual void UseFirstNormConditionAsDefault();
    virtual void CloseUnitsDatabase();

    virtual CProductionDbLink& ProductionDb();

    // Creates the main window and runs it until it is closed; false when it could not be made.
    virtual bool RunMainDialog(CTAMBELApp& app);

private:
    std::unique_ptr<CProductionDbLink> m_productionDb;
};
