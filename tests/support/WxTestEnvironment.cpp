#include "support/WxTestEnvironment.h"

#include <wx/apptrait.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>

namespace {

void FailOnAssert(const wxString& file, int line, const wxString& function, const wxString& condition,
                  const wxString& message)
{
    ADD_FAILURE_AT(file.utf8_str(), line) << "wx assertion in " << function.utf8_string() << ": "
                                          << condition.utf8_string() << " " << message.utf8_string();
}

}  // namespace

CWxTestEnvironment::CWxTestEnvironment(std::vector<std::string> arguments, EWindowManager manager)
    : m_arguments(std::move(arguments)), m_managed(manager)
{
}

CWxTestEnvironment::~CWxTestEnvironment() = default;

wxApp* CWxTestEnvironment::CreateApp()
{
    return new CTestApp<wxApp>;
}

void CWxTestEnvironment::SetUp()
{
    wxSetAssertHandler(FailOnAssert);
    // wx may take its own options out of the list; the strings stay ours.
    std::vector<char*> argv;
    for (std::string& argument : m_arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(m_arguments.size());
    wxApp::SetInstance(CreateApp());
    ASSERT_TRUE(wxEntryStart(argc, argv.data())) << "no display";
    m_started = true;
    ASSERT_TRUE(wxTheApp->CallOnInit());
    delete wxLog::SetActiveTarget(new wxLogStderr);
    m_loop.reset(wxTheApp->GetTraits()->CreateEventLoop());
    wxEventLoopBase::SetActive(m_loop.get());
    if (m_managed == EWindowManager::Started) {
        ASSERT_TRUE(m_manager.Start()) << "openbox could not be started";
    }
}

void CWxTestEnvironment::TearDown()
{
    if (!m_started)
        return;
    wxEventLoopBase::SetActive(nullptr);
    m_loop.reset();
    wxTheApp->OnExit();
    wxEntryCleanup();
    m_started = false;
}
