#include "TAMBEL/FileFailureReason.h"

#include "Harbinax/Harbinax.h"
#include "TAMBEL/TextFormat.h"

#include <cerrno>

std::string FileFailureReason(int errorNumber)
{
    switch (errorNumber) {
    case 0:
        return std::string();
    case EACCES:
    case EPERM:
        return TranslateText("Permission denied: you may not write to this folder or file.");
    case ENOSPC:
        return TranslateText("No space left on the device.");
    case EDQUOT:
        return TranslateText("Your disk quota is used up.");
    case EROFS:
        return TranslateText("The file system is read-only.");
    case EFBIG:
        return TranslateText("The file would be larger than the system allows.");
    case ENOENT:
    case ENOTDIR:
        return TranslateText("The folder does not exist.");
    default:
        return FillText(TranslateText("The system reported error %d."), {std::to_string(errorNumber)});
    }
}

std::string WithFileFailureReason(const std::string& message, int errorNumber)
{
    const std::string reason = FileFailureReason(errorNumber);
    return TranslateText(message) + (reason.empty() ? std::string() : "\n" + reason);
}
