#include "TAMBEL/Report/MapiMessage.h"

namespace {

std::string Trim(const std::string& text)
{
    const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The trimmed, non-empty pieces between ',' and ';'.
std::vector<std::string> SplitList(const std::string& list)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find_first_of(",;", start);
        if (end == std::string::npos)
            end = list.size();
        const std::string piece = Trim(list.substr(start, end - start));
        if (!piece.empty())
            pieces.push_back(piece);
        start = end + 1;
    }
    return pieces;
}

}  // namespace

void CMapiMessage::AddRecipients(const std::string& list, int kind)
{
    std::vector<SMailRecipient>* target = kind == kTo ? &to : kind == kCc ? &cc : kind == kBcc ? &bcc : nullptr;
    if (!target)
        return;
    for (const std::string& piece : SplitList(list)) {
        SMailRecipient recipient;
        const std::size_t open = piece.find('<');
        if (open == std::string::npos) {
            recipient.address = piece;
        } else {
            recipient.name = Trim(piece.substr(0, open));
            const std::size_t close = piece.find('>', open);
            if (close != std::string::npos)
                recipient.address = Trim(piece.substr(open + 1, close - open - 1));
        }
        if (recipient.address.empty())
            continue;
        if (recipient.name.empty())
            recipient.name = recipient.address;
        target->push_back(recipient);
    }
}

void CMapiMessage::AddAttachments(const std::string& list)
{
    for (const std::string& piece : SplitList(list))
        attachmentPaths.push_back(piece);
}
