// The mail layer without windows: recipients and attachments of a message, the body template,
// and the hand-off to the mail command with what it receives.
#include "RecordingMailCommand.h"

#include "TAMBEL/Report/EmailTemplate.h"
#include "TAMBEL/Report/MailSession.h"
#include "TAMBEL/Report/MapiMessage.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Recipients = std::vector<std::pair<std::string, std::string>>;  // name, address

Recipients Of(const std::vector<SMailRecipient>& list)
{
    Recipients pairs;
    for (const SMailRecipient& recipient : list)
        pairs.emplace_back(recipient.name, recipient.address);
    return pairs;
}

TEST(MapiMessage, RecipientLists)
{
    const struct {
        const char* list;
        Recipients expected;
    } cases[] = {
        {"Ann <a@x>; b@y", {{"Ann", "a@x"}, {"b@y", "b@y"}}},
        {"  Ann Smith  <  a@x >  ,b@y,", {{"Ann Smith", "a@x"}, {"b@y", "b@y"}}},
        {"<>", {}},
        {"Ann <a@x", {}},
        {" ; , ;", {}},
        {"", {}},
        {"<a@x>", {{"a@x", "a@x"}}},
        {"Ann <a@x> trailing; c@z", {{"Ann", "a@x"}, {"c@z", "c@z"}}},
    };
    for (const auto& c : cases) {
        CMapiMessage message;
        message.AddRecipients(c.list, CMapiMessage::kTo);
        EXPECT_EQ(Of(message.to), c.expected) << "'" << c.list << "'";
    }
}

TEST(MapiMessage, RecipientKindsAndAttachments)
{
    CMapiMessage message;
    message.AddRecipients("a@x", CMapiMessage::kCc);
    message.AddRecipients("b@y", CMapiMessage::kBcc);
    message.AddRecipients("c@z", 3);
    EXPECT_TRUE(message.to.empty());
    EXPECT_EQ(Of(message.cc), (Recipients{{"a@x", "a@x"}}));
    EXPECT_EQ(Of(message.bcc), (Recipients{{"b@y", "b@y"}}));
    message.AddAttachments(" /tmp/a.pdf ;; /tmp/b c.xml,");
    EXPECT_EQ(message.attachmentPaths, (std::vector<std::string>{"/tmp/a.pdf", "/tmp/b c.xml"}));
    message.Clear();
    EXPECT_TRUE(message.cc.empty() && message.attachmentPaths.empty());
}

TEST(EmailTemplate, SubjectLineAndBody)
{
    const struct {
        const char* text;
        const char* subject;
        const char* body;
    } cases[] = {
        {"SUBJECT: Sizing \r\nHello\r\n\r\nBye\r\n", " Sizing ", "Hello\n\nBye"},
        {"Hello\nSUBJECT:later\n", "default", "Hello\nSUBJECT:later"},
        {"SUBJECT:only", "only", ""},
        {"subject:lower\nx", "default", "subject:lower\nx"},
        {"", "default", ""},
    };
    for (const auto& c : cases) {
        std::string subject = "default";
        std::string body = "old";
        CEmailTemplate::Parse(c.text, subject, body);
        EXPECT_EQ(subject, c.subject) << c.text;
        EXPECT_EQ(body, c.body) << c.text;
    }
}

TEST(EmailTemplate, MissingFileLeavesSubjectAndBody)
{
    CTemporaryFolder folder;
    std::string subject = "Zephrin";
    std::string body;
    EXPECT_FALSE(CEmailTemplate::Read(folder.Path("email_xx.txt"), subject, body));
    EXPECT_EQ(subject, "Zephrin");
    WriteWholeFile(folder.Path("email_en.txt"), "SUBJECT:Report\nText\n");
    EXPECT_TRUE(CEmailTemplate::Read(folder.Path("email_en.txt"), subject, body));
    EXPECT_EQ(subject, "Report");
    EXPECT_EQ(body, "Text");
}

TEST(MailSession, RecordingCommandReceivesSubjectBodyAndAttachmentsInOrder)
{
    CTemporaryFolder folder;
    WriteWholeFile(folder.Path("Zephrin.xml"), "<TAMBEL/>");
    WriteWholeFile(folder.Path("Zephrin.pdf"), "%PDF");
    CRecordingMailCommand command;
    CMailSession session;
    ASSERT_TRUE(session.IsLoaded());
    CMapiMessage message;
    message.to.push_back({"Insert recipient here", "Insert recipient here"});
    message.AddRecipients("Ann <a@x>", CMapiMessage::kCc);
    message.subject = "Zephrin";
    message.body = "Line 1\nLine 2";
    message.attachmentPaths = {folder.Path("Zephrin.xml"), folder.Path("Zephrin.pdf")};
    ASSERT_TRUE(session.SendMail(message));
    EXPECT_EQ(command.Arguments(),
              (std::vector<std::string>{"--utf8", "--subject", "Zephrin", "--body", "Line 1\nLine 2", "--attach",
                                        folder.Path("Zephrin.xml"), "--attach", folder.Path("Zephrin.pdf"), "--cc",
                                        "a@x", "Insert recipient here"}));
    EXPECT_EQ(command.Attachment(1), "<TAMBEL/>");
    EXPECT_EQ(command.Attachment(2), "%PDF");
}

TEST(MailSession, FailingOrMissingCommand)
{
    {
        CRecordingMailCommand command(3);
        CMailSession session;
        EXPECT_FALSE(session.SendMail(CMapiMessage()));
        EXPECT_EQ(session.GetLastError(), 3);
        EXPECT_TRUE(command.WasRun());
    }
    {
        // Children that are reaped unasked leave no status to wait for: that is no success.
        CRecordingMailCommand command(3);
        CMailSession session;
        const auto previous = std::signal(SIGCHLD, SIG_IGN);
        EXPECT_FALSE(session.SendMail(CMapiMessage()));
        std::signal(SIGCHLD, previous);
        EXPECT_EQ(session.GetLastError(), -1);
        EXPECT_TRUE(command.WasRun());
    }
    // Neither a configured command nor xdg-email along the path.
    CTemporaryFolder empty;
    const std::string path = std::getenv("PATH");
    setenv("PATH", empty.Path("").c_str(), 1);
    setenv("ZEPHRIN_MAIL_COMMAND", "no-such-mailer", 1);
    CMailSession session;
    EXPECT_FALSE(session.IsLoaded());
    EXPECT_FALSE(session.SendMail(CMapiMessage()));
    unsetenv("ZEPHRIN_MAIL_COMMAND");
    EXPECT_FALSE(session.Load());
    setenv("PATH", path.c_str(), 1);
}

}  // namespace
