// The application object of the program's windowed tests: one CTAMBELApp for the whole test
// program, its program "Zephrin" in a temporary folder, and a message-box recorder.
#pragma once

#include "Harbinax/MessageBox.h"
#include "TAMBEL/TAMBELApp.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/window.h>

#include <string>
#include <vector>

// The folder the application takes as its program folder, with a trailing '/'.
const std::string& TestProgramFolder();

CTAMBELApp& App();

// Translation tables of the program loaded and enabled, in the language ("en", "de").
void UseTranslatedLanguage(const std::string& code);

// Zephrin.db in the test's program folder, where PlaceShippedDatabase puts it.
std::string ShippedDatabasePath();
// Zephrin.db of the build copied into the test's program folder.
void PlaceShippedDatabase();
// Zephrin.db placed and opened, with the units, fluids and norm conditions loaded as the program
// loads them at start; CloseShippedDatabase closes and removes it.
void OpenShippedDatabase();
void CloseShippedDatabase();

// Records every message box while it lives (answering OK) instead of showing it.
class CMessageBoxRecorder {
public:
    CMessageBoxRecorder();
    ~CMessageBoxRecorder();
    const std::vector<SMessageBox>& Boxes() const { return m_boxes; }

private:
    std::vector<SMessageBox> m_boxes;
};

// The page made in the frame, the frame at the page's size, the page entered and shown, and the
// frame on screen with the focus.
template <class TPage>
void CreatePageShown(TPage& page, wxWindow* frame)
{
    ASSERT_TRUE(page.Create(frame));
    frame->SetClientSize(page.GetWindow()->GetSize());
    page.OnEnterPage();
    page.GetWindow()->Show();
    ShowAndFocus(frame);
}
