// Why a file could not be written, as the user reads it under a message: the system's error
// number as a sentence in the program's language. The system's own texts are English whatever
// the language, so the common causes have texts of ours.
#pragma once

#include <string>

// The translated reason for the error number (EACCES, ENOSPC, ...); "" for 0, which stands for
// a failure that is no system error.
std::string FileFailureReason(int errorNumber);

// The message's first line and, when the error number is a system error, the reason beneath it;
// both translated.
std::string WithFileFailureReason(const std::string& message, int errorNumber);
