#include "Harbinax/MessageBox.h"

#include "Harbinax/Harbinax.h"
#include "Harbinax/MessageDialog.h"

#include <cstdlib>
#include <fstream>

namespace {

MessageBoxSink& Sink()
{
    static MessageBoxSink sink;
    return sink;
}

// Without our application object (a tool or a test on a plain wxApp) the text stands as it is.
std::string Translated(const std::string& text)
{
    const CHarbinax* app = CHarbinax::GetApp();
    return app ? app->TranslateText(text) : text;
}

int Show(const SMessageBox& box)
{
    CMessageDialog dialog(box.owner, wxString::FromUTF8(box.text), wxString::FromUTF8(box.caption), box.style);
    // The answers in the program's language, which need not be the desktop's.
    dialog.SetYesNoCancelLabels(wxString::FromUTF8(Translated("&Yes")), wxString::FromUTF8(Translated("&No")),
                                wxString::FromUTF8(Translated("&Cancel")));
    return dialog.ShowModal();
}

}  // namespace

int ShowMessageBox(wxWindow* owner, const std::string& text, const std::string& title, long style)
{
    return ShowMessageBoxNamed(owner, "TAMBEL", text, title, style);
}

int ShowMessageBoxNamed(wxWindow* owner, const std::string& captionWord, const std::string& text,
                        const std::string& title, long style)
{
    const SMessageBox box{owner, Translated(captionWord) + ": " + Translated(title), Translated(text), style};
    if (Sink())
        return Sink()(box);
    return Show(box);
}

void SetMessageBoxSinkForTesting(MessageBoxSink sink)
{
    Sink() = std::move(sink);
}

void LogMessageBoxesWhenAsked()
{
    const char* file = std::getenv("ZEPHRIN_MESSAGE_LOG");
    if (file == nullptr || *file == '\0')
        return;
    const std::string path = file;
    SetMessageBoxSinkForTesting([path](const SMessageBox& box) -> int {
        std::string text = box.text;
        for (char& c : text) {
            if (c == '\n')
                c = ' ';
        }
        std::ofstream(path, std::ios::app) << box.caption << '\t' << text << '\n';
        if ((box.style & wxYES_NO) && (box.style & wxCANCEL))
            return Show(box);
        return (box.style & wxYES_NO) ? wxID_YES : wxID_OK;
    });
}
