// The application's production-database commands on a real database: the program folder gets a
// "PDB.udl" naming it, the application runs on the real start-up environment, message boxes go
// to a recorder that answers from a script, and the record picker returns the key the test
// sets. "Another program" is a second database connection under another lock owner.
#pragma once

#include "Harbinax/MessageBox.h"
#include "ProductionDb/ProductionDb.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

class CPhysicalData;
struct SProject;

class ProductionDbCommandsFixture : public testing::Test {
protected:
    static constexpr const char* kOtherOwner = "user2 - PC2";

    void SetUp() override;
    void TearDown() override;

    // Initialisation string of the database the test works on (made empty, without tables).
    virtual std::string CreateDatabase();

    // The data link in the program folder names the test's database.
    void WriteDataLink();
    // Data link, tables, and the application's database opened as usable.
    void OpenWithTables();
    // The project in memory: customer texts with the variant and the key; no fluid, no results.
    static void SetProjectInMemory(int pa, int vk, int pos, const std::string& variant);
    // The customer text stored under the key; empty without a project.
    std::string StoredCustomer(const CProductionDbKey& key);
    // The stored lock owner of the key; empty without a lock.
    std::string LockOwner(const CProductionDbKey& key);
    // The other program stores a project under the key: the customer text and the physical data.
    void OtherProgramSaves(const CProductionDbKey& key, const std::string& customerText, const CPhysicalData& physical);
    // The other program stores a project under the key and locks it.
    void OtherProgramSavesAndLocks(const CProductionDbKey& key);

    // The box shown as the program shows it and saved as a screenshot of that name, when
    // screenshots are wanted.
    static void SaveBoxScreenshot(const SMessageBox& box, const std::string& name);

    std::vector<std::string> Texts() const;
    std::vector<std::string> Captions() const;

    std::string m_initString;
    CProductionDb m_other;  // the other program's connection
    std::vector<SMessageBox> m_boxes;
    std::deque<int> m_answers;  // answers to questions; wxID_YES when none is left
    std::function<void()> m_whileAsked;  // runs while a question is open, before its answer
    CProductionDbKey m_pick;    // what the record picker returns
    bool m_picks = true;
    std::vector<std::string> m_pickTexts;  // action and button texts the picker was given
};
