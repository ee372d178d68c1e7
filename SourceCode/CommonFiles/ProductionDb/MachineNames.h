// The names of this machine's user and computer, for the owner of a record lock.
#pragma once

#include <string>

// The logged-on user's login name; empty when the system cannot say.
std::string GetUserNameString();
// The computer's host name; empty when the system cannot say.
std::string GetComputerNameString();
