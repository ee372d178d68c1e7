// What the splash screen shows besides its bitmap: two status lines and the download progress
// reported by the update library. Each text is held to MaxTextBytes, cut at a character
// boundary of its UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CSplashTexts {
public:
    static constexpr std::size_t MaxTextBytes = 255;

    // Line 0 or 1; other lines are ignored (false).
    bool SetStatusText(std::string_view text, int line);
    const std::string& GetStatusText(int line) const;

    // A download starts (or, with an empty name, has ended): line 0 reads "Aktualisiere Datei"
    // and the kilobyte count starts again. Line 1 keeps the last progress until the first
    // kilobyte of the new file arrives.
    void OnDownloadFile(std::string_view fileName);
    void OnSetFileSize(long kilobytes);
    // Line 1 becomes "<file name> <done> / <total> KB"; a long file name is cut so the
    // counts stay visible.
    void OnDownloaded1KB();

    const std::string& GetFileName() const { return m_fileName; }
    long GetKilobytesDone() const { return m_done; }
    long GetKilobytesTotal() const { return m_total; }

    // The longest start of text of at most maxBytes bytes that does not split a UTF-8 sequence.
    static std::string CutUtf8(std::string_view text, std::size_t maxBytes);

private:
    std::string m_status[2];
    std::string m_fileName;
    long m_done = 0;
    long m_total = 0;
};
