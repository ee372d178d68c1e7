// The file dialogs of the project file commands: wx's (the desktop's own) for the user, a
// function of the test's for tests. Either way the name the user gave gets the default
// extension when it has none, and a save that would replace an existing file only after the
// user agreed.
#pragma once

#include <functional>
#include <string>

class wxWindow;

struct SFileDialogRequest {
    wxWindow* owner;
    bool save;              // a save dialog, else an open dialog of existing files
    std::string filter;     // wx's wildcard form: "text|pattern|text|pattern"
    std::string extension;  // without the dot
    std::string title;      // translated
};

// The chosen path; empty when the dialog was cancelled. The dialog is titled "Save" or "Open", the
// filter is the translated one of the project files.
std::string AskProjectFilePath(wxWindow* owner, bool save);
// Where a PDF file goes: a save dialog titled "Export as PDF", without filter; ".pdf" completes
// a name without extension.
std::string AskPdfFilePath(wxWindow* owner);

// Tests: the function answers instead of the dialog (an empty path is a cancel); an empty
// function shows real dialogs again.
using FileDialogSink = std::function<std::string(const SFileDialogRequest&)>;
void SetFileDialogSinkForTesting(FileDialogSink sink);
