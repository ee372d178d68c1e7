#include "RecordingMailCommand.h"

#include "support/TestFiles.h"

#include <sys/stat.h>

#include <cstdlib>

CRecordingMailCommand::CRecordingMailCommand(int exitStatus)
{
    if (const char* previous = std::getenv("ZEPHRIN_MAIL_COMMAND"))
        m_previous = previous;
    const std::string script = m_folder.Path("mail.sh");
    WriteScript(script, "#!/bin/sh\n"
                           "out='" + m_folder.Path("") + "'\n"
                           ": > \"$out/arguments\"\n"
                           "for a in \"$@\"; do printf '%s\\0' \"$a\" >> \"$out/arguments\"; done\n"
                           "n=0; previous=\n"
                           "for a in \"$@\"; do\n"
                           "  if [ \"$previous\" = --attach ]; then n=$((n+1)); cp \"$a\" \"$out/attachment$n\"; fi\n"
                           "  previous=\"$a\"\n"
                           "done\n"
                           "exit " + std::to_string(exitStatus) + "\n");
    setenv("ZEPHRIN_MAIL_COMMAND", script.c_str(), 1);
}

CRecordingMailCommand::~CRecordingMailCommand()
{
    if (m_previous)
        setenv("ZEPHRIN_MAIL_COMMAND", m_previous->c_str(), 1);
    else
        unsetenv("ZEPHRIN_MAIL_COMMAND");
}

bool CRecordingMailCommand::WasRun() const
{
    struct stat info;
    return stat(m_folder.Path("arguments").c_str(), &info) == 0;
}

std::vector<std::string> CRecordingMailCommand::Arguments() const
{
    std::vector<std::string> arguments;
    const std::string text = ReadWholeFile(m_folder.Path("arguments"));
    std::size_t start = 0;
    for (std::size_t end = text.find('\0'); end != std::string::npos; end = text.find('\0', start)) {
        arguments.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return arguments;
}

std::string CRecordingMailCommand::Attachment(int n) const
{
    return ReadWholeFile(m_folder.Path("attachment" + std::to_string(n)));
}
