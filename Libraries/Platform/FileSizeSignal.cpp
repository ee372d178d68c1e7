#include "Platform/FileSizeSignal.h"

#include <csignal>

namespace Platform {

bool IgnoreFileSizeSignal()
{
    struct sigaction action = {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGXFSZ, &action, nullptr) == 0;
}

}  // namespace Platform
