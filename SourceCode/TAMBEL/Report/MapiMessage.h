// A mail message as the e-mail command fills it and the mail hand-off sends it: recipients of
// the three kinds, subject, plain-text body and the files to attach.
#pragma once

#include <string>
#include <vector>

struct SMailRecipient {
    std::string address;
    std::string name;
};

class CMapiMessage {
public:
    enum { kTo = 0, kCc = 1, kBcc = 2 };

    // A list such as "Ann <ann@example.com>; bob@example.com", split at ',' and ';'. A piece
    // with '<' names the person before it and the address between it and '>'; a piece without
    // an address is skipped; a missing name is the address. Other kinds add nothing.
    void AddRecipients(const std::string& list, int kind);
    // Paths split as above, blanks trimmed, empty pieces skipped.
    void AddAttachments(const std::string& list);
    void Clear() { *this = CMapiMessage(); }

    std::vector<SMailRecipient> to;
    std::vector<SMailRecipient> cc;
    std::vector<SMailRecipient> bcc;
    std::string subject;
    std::string body;
    std::vector<std::string> attachmentPaths;
    // The names the files appear under; may be shorter than the paths.
    std::vector<std::string> attachmentTitles;
    unsigned flags = 0;
};
