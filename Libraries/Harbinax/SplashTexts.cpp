#include "Harbinax/SplashTexts.h"

namespace {

const std::string noText;

bool IsContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string CSplashTexts::CutUtf8(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return std::string(text);
    // Back up to the lead byte of the sequence the cut would split; a sequence has at most three
    // continuation bytes, so a longer run is no UTF-8 and is cut where it is.
    std::size_t cut = maxBytes;
    while (cut > 0 && cut + 3 > maxBytes && IsContinuation(text[cut]))
        --cut;
    if (IsContinuation(text[cut]))
        cut = maxBytes;
    return std::string(text.substr(0, cut));
}

bool CSplashTexts::SetStatusText(std::string_view text, int line)
{
    if (line != 0 && line != 1)
        return false;
    m_status[line] = CutUtf8(text, MaxTextBytes);
    return true;
}

const std::string& CSplashTexts::GetStatusText(int line) const
{
    return line == 0 || line == 1 ? m_status[line] : noText;
}

void CSplashTexts::OnDownloadFile(std::string_view fileName)
{
    m_status[0] = "Aktualisiere Datei";
    m_fileName = CutUtf8(fileName, MaxTextBytes);
    m_done = 0;
}

void CSplashTexts::OnSetFileSize(long kilobytes)
{
    m_total = kilobytes;
}

void CSplashTexts::OnDownloaded1KB()
{
    ++m_done;
    const std::string counts = " " + std::to_string(m_done) + " / " + std::to_string(m_total) + " KB";
    m_status[1] = CutUtf8(m_fileName, MaxTextBytes - counts.size()) + counts;
}
