// Where the update client reports download progress. The programs turn these calls into the
// progress events their windows handle (the splash screen, the updater's dialog). Calls come on
// the thread that runs the download, while it runs.
#pragma once

#include <string>

class IRenovixProgress {
public:
    virtual ~IRenovixProgress() = default;

    // A download starts; once more with an empty name when it has ended.
    virtual void OnDownloadFile(const std::string& fileName) = 0;
    // Right after the start: the file's size in KB as the update list gives it.
    virtual void OnSetFileSize(long kilobytes) = 0;
    // Each time the count of whole KB received grows; receivers count one KB per call.
    virtual void OnDownloaded1KB() = 0;
};
