#include "ProductionDbCommandsFixture.h"

#include "TAMBELTestApp.h"

#include "CommonFiles/ProjectData.h"
#include "Harbinax/MessageDialog.h"
#include "Oddments/DataLinkSettings.h"
#include "Platform/DateTime.h"
#include "TAMBEL/ProductionDbLink.h"
#include "TAMBEL/StartupEnvironment.h"
#include "support/TestFiles.h"
#include "support/WxTestSupport.h"

#include <wx/defs.h>

#include <cstdio>
#include <memory>

namespace {

std::string DataLinkPath()
{
    return TestProgramFolder() + "PDB.udl";
}

}  // namespace

std::string ProductionDbCommandsFixture::CreateDatabase()
{
    static CTemporaryFolder folder;
    static int count = 0;
    const std::string path = folder.Path("production" + std::to_string(++count) + ".db");
    WriteWholeFile(path, "");
    return "Provider=SQLite;Data Source=" + path;
}

void ProductionDbCommandsFixture::SetUp()
{
    App().EnableTranslator(false);
    std::remove(DataLinkPath().c_str());
    App().SetEnvironment(std::make_unique<CStartupEnvironment>());
    SetMessageBoxSinkForTesting([this](const SMessageBox& box) {
        m_boxes.push_back(box);
        if (!(box.style & wxYES_NO))
            return static_cast<int>(wxID_OK);
        if (m_whileAsked)
            m_whileAsked();
        const int answer = m_answers.empty() ? wxID_YES : m_answers.front();
        if (!m_answers.empty())
            m_answers.pop_front();
        return static_cast<int>(answer);
    });
    App().GetProductionDbCommands().SetRecordPicker(
        [this](CProductionDbKey& key, const std::string& action, const std::string& button) {
            m_pickTexts = {action, button};
            key = m_pick;
            return m_picks;
        });
    m_initString = CreateDatabase();
    SetProjectInMemory(0, 0, 0, "empty");
}

void ProductionDbCommandsFixture::TearDown()
{
    App().UnlockCurrentRecord();
    App().GetEnvironment().ProductionDb().Close();
    App().GetProductionDbCommands().SetRecordPicker(nullptr);
    App().GetProductionDbCommands().SetConnectionEditor(nullptr);
    SetMessageBoxSinkForTesting(nullptr);
    std::remove(DataLinkPath().c_str());
    m_other.Close();
}

void ProductionDbCommandsFixture::WriteDataLink()
{
    WriteWholeFile(DataLinkPath(), "[oledb]\n" + m_initString + "\n");
    const std::string otherLink = DataLinkPath() + ".other";
    WriteWholeFile(otherLink, m_initString + "\n");
    ASSERT_GE(m_other.Open(otherLink.c_str()), 0);
    std::remove(otherLink.c_str());
}

void ProductionDbCommandsFixture::OpenWithTables()
{
    WriteDataLink();
    ASSERT_TRUE(m_other.CreateTables());
    ASSERT_TRUE(App().OpenProductionDb(false));
}

void ProductionDbCommandsFixture::SetProjectInMemory(int pa, int vk, int pos, const std::string& variant)
{
    CProjectData* project = CProjectData::GetInstance();
    project->customer.Reset();
    project->customer.customer = "Customer " + variant;
    project->customer.pa = pa;
    project->customer.vk = vk;
    project->customer.pos = pos;
    project->physical.Reset();
    project->features.RemoveAll();
    project->results.RemoveAll();
}

std::string ProductionDbCommandsFixture::StoredCustomer(const CProductionDbKey& key)
{
    CDbColumnMap row;
    if (!m_other.ReadRow("SELECT customer FROM fwr_customer_data WHERE pa=? AND vk=? AND pos=?",
                         {key.pa, key.vk, key.pos}, row))
        return std::string();
    return row["customer"];
}

std::string ProductionDbCommandsFixture::LockOwner(const CProductionDbKey& key)
{
    std::string owner = "nobody";
    std::string computer;
    CDateTime since;
    m_other.IsLockedByOther(key, owner, computer, since);
    return owner;  // emptied when there is no lock
}

void ProductionDbCommandsFixture::OtherProgramSaves(const CProductionDbKey& key, const std::string& customerText,
                                                    const CPhysicalData& physical)
{
    CCustomerData customer;
    customer.customer = customerText;
    customer.pa = key.pa;
    customer.vk = key.vk;
    customer.pos = key.pos;
    CDeviceConfiguration features;
    CResultData results;
    ASSERT_EQ(m_other.SaveProject(&customer, &features, &physical, &results), PDB_SAVE_OK);
}

void ProductionDbCommandsFixture::OtherProgramSavesAndLocks(const CProductionDbKey& key)
{
    ASSERT_NO_FATAL_FAILURE(OtherProgramSaves(key, "Customer other", CPhysicalData()));
    ASSERT_TRUE(m_other.LockRecord(key, kOtherOwner));
}

void ProductionDbCommandsFixture::SaveBoxScreenshot(const SMessageBox& box, const std::string& name)
{
    if (!ScreenshotsWanted())
        return;
    CMessageDialog shown(nullptr, wxString::FromUTF8(box.text), wxString::FromUTF8(box.caption), box.style);
    shown.Bind(wxEVT_SHOW, [&](wxShowEvent& event) {
        event.Skip();
        if (event.IsShown()) {
            shown.CallAfter([&] {
                PumpFor(300);
                SaveScreenshot(WholeWindow(&shown), name);
                shown.EndModal(wxID_OK);
            });
        }
    });
    shown.ShowModal();
}

std::vector<std::string> ProductionDbCommandsFixture::Texts() const
{
    std::vector<std::string> texts;
    for (const SMessageBox& box : m_boxes)
        texts.push_back(box.text);
    return texts;
}

std::vector<std::string> ProductionDbCommandsFixture::Captions() const
{
    std::vector<std::string> captions;
    for (const SMessageBox& box : m_boxes)
        captions.push_back(box.caption);
    return captions;
}
