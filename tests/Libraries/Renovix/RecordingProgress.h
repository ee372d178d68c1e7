// Records the progress calls of a download as text, one line per call.
#pragma once

#include "Renovix/RenovixLib/RenovixProgress.h"

#include <string>
#include <vector>

class CRecordingProgress : public IRenovixProgress {
public:
    void OnDownloadFile(const std::string& fileName) override { calls.push_back("file " + fileName); }
    void OnSetFileSize(long kilobytes) override { calls.push_back("size " + std::to_string(kilobytes)); }
    void OnDownloaded1KB() override { calls.push_back("1KB"); }

    int Steps() const
    {
        int steps = 0;
        for (const std::string& call : calls)
            steps += call == "1KB";
        return steps;
    }

    std::vector<std::string> calls;
};
