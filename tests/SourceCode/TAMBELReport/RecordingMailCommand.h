// A mail command that records what the program hands to the mail client: its arguments and a
// copy of every attached file as it was when the command ran. It is the configured command
// while the object lives.
#pragma once

#include "support/TemporaryFolder.h"

#include <optional>
#include <string>
#include <vector>

class CRecordingMailCommand {
public:
    explicit CRecordingMailCommand(int exitStatus = 0);
    ~CRecordingMailCommand();

    bool WasRun() const;
    std::vector<std::string> Arguments() const;
    // The n-th attachment's content (1-based) at the time of the call.
    std::string Attachment(int n) const;

private:
    CTemporaryFolder m_folder;
    std::optional<std::string> m_previous;
};
