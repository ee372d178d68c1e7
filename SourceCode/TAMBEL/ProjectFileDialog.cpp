#include "TAMBEL/ProjectFileDialog.h"

#include "Harbinax/Harbinax.h"
#include "Harbinax/MessageBox.h"
#include "TAMBEL/TextFormat.h"

#include <wx/filedlg.h>

#include <filesystem>
#include <system_error>
#include <utility>

namespace {

FileDialogSink& Sink()
{
    static FileDialogSink sink;
    return sink;
}

// The Windows form ends in "||"; wx's takes the pairs alone.
std::string WxFilter(std::string filter)
{
    while (!filter.empty() && filter.back() == '|')
        filter.pop_back();
    return filter;
}

std::string ShowDialog(const SFileDialogRequest& request)
{
    const long style = request.save ? wxFD_SAVE | wxFD_OVERWRITE_PROMPT : wxFD_OPEN | wxFD_FILE_MUST_EXIST;
    wxFileDialog dialog(request.owner, wxString::FromUTF8(request.title), wxEmptyString, wxEmptyString,
                        wxString::FromUTF8(request.filter), style);
    if (dialog.ShowModal() != wxID_OK)
        return std::string();
    return dialog.GetPath().utf8_string();
}

bool Exists(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

}  // namespace

void SetFileDialogSinkForTesting(FileDialogSink sink)
{
    Sink() = std::move(sink);
}

namespace {

// The chosen path, completed with the request's extension when it has none.
std::string AskPath(const SFileDialogRequest& request)
{
    const bool save = request.save;
    const std::string chosen = Sink() ? Sink()(request) : ShowDialog(request);
    if (chosen.empty())
        return chosen;
    // An open takes a file of that very name when there is one.
    if (std::filesystem::path(chosen).has_extension() || (!save && Exists(chosen)))
        return chosen;
    const std::string path = chosen + "." + request.extension;
    // The dialog asked about the name as typed; the completed one may exist too.
    if (save && Exists(path)) {
        const std::string text = FillText(TranslateText("%s already exists.\nDo you want to replace it?"), {path});
        if (ShowMessageBox(request.owner, text, "Confirmation", wxYES_NO | wxICON_QUESTION) != wxID_YES)
            return std::string();
    }
    return path;
}

}  // namespace

std::string AskProjectFilePath(wxWindow* owner, bool save)
{
    // Titled as the command that asks; wx's own title would stay English in any language.
    return AskPath({owner, save, WxFilter(TranslateText("XML files (*.xml)|*.xml|All files (*.*)|*.*||")), "xml",
                    TranslateText(save ? "Save" : "Open")});
}

std::string AskPdfFilePath(wxWindow* owner)
{
    return AskPath({owner, true, std::string(), "pdf", TranslateText("Export as PDF")});
}
