// Hands a message to the desktop's mail client: "xdg-email" opens the user's composer with
// subject, body, attachments and recipients filled in, for the user to complete and send. A
// configured command (environment variable ZEPHRIN_MAIL_COMMAND) takes its place and gets the
// same arguments. The attachments go by their file names, so callers name the files as the
// receiver should see them.
#pragma once

#include "Quillet/Logger.h"

#include <string>
#include <vector>

class CMapiMessage;

class CMailSession {
public:
    CMailSession();

    // Finds the command; false when there is none, and no mail can be sent.
    bool Load();
    bool IsLoaded() const { return !m_command.empty(); }
    const std::string& GetCommand() const { return m_command; }

    // The command's arguments for the message.
    static std::vector<std::string> BuildArguments(const CMapiMessage& message);
    // Runs the command and waits for it; true when it ended with status 0. Anything else (the
    // composer refused, the command missing) leaves its status as the last error.
    bool SendMail(const CMapiMessage& message);
    int GetLastError() const { return m_lastError; }

private:
    CLogger m_log;
    std::string m_command;
    int m_lastError = 0;
};
