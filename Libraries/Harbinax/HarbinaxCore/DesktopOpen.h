// Hands a web address, a file or anything else the desktop knows how to open to the desktop's
// default handler (xdg-open), the way a link in a dialog is followed.
#pragma once

#include <string>

// Starts the handler in the background and returns at once; false when no handler could be
// started (none installed, or the process could not be created). The target reaches the handler
// as one argument, never through a shell's word splitting.
bool OpenWithDesktop(const std::string& target);
