// Whether the desktop's print system has a default printer to print to without asking.
#pragma once

class CDefaultPrinter {
public:
    // Asks the toolkit's print backends, waiting at most timeoutMs. Without a print server a
    // backend may go on looking for ever, so no answer in time counts as no default printer.
    // The application's events are handled while it waits.
    static bool Exists(unsigned timeoutMs);
};
