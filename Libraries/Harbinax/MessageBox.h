// The programs' message boxes. The caption is the translated project word "TAMBEL" (which the
// translation tables turn into the program's name), ": " and the translated title; the text is
// translated too. Before translation is enabled both pass unchanged.
#pragma once

#include <functional>
#include <string>

class wxWindow;

struct SMessageBox {
    wxWindow* owner;
    std::string caption;  // as shown, UTF-8
    std::string text;
    long style;
};

// style: wxOK, wxOK | wxCANCEL, wxYES_NO or wxYES_NO | wxCANCEL with one of wxICON_ERROR,
// wxICON_WARNING, wxICON_INFORMATION, wxICON_QUESTION (wxMessageDialog's styles). The owner
// may be null. Returns the button chosen: wxID_OK, wxID_CANCEL, wxID_YES or wxID_NO.
int ShowMessageBox(wxWindow* owner, const std::string& text, const std::string& title, long style);
// The same with another word in front of the title, for the one message that names the program
// itself before the translation tables are loaded.
int ShowMessageBoxNamed(wxWindow* owner, const std::string& captionWord, const std::string& text,
                        const std::string& title, long style);

// Tests: boxes go to the sink instead of the screen, and its result stands for the user's
// choice. An empty function shows real dialogs again.
using MessageBoxSink = std::function<int(const SMessageBox&)>;
void SetMessageBoxSinkForTesting(MessageBoxSink sink);
// Runs without anyone at the screen: when $ZEPHRIN_MESSAGE_LOG names a file, every box is
// appended to it (caption, a tab, the text on one line) instead of shown, answered Yes or OK.
// A question that offers Cancel besides Yes and No (whether to save work before it is lost) has
// no answer that would serve every run: it is logged and then shown, for the user to answer.
void LogMessageBoxesWhenAsked();
