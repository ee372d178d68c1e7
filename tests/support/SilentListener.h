// A server that takes connections and never answers, as a paused server machine does: a
// listening socket on loopback that accepts nothing, so the kernel completes the connection and
// nobody speaks on it.
#pragma once

#include <string>

class CSilentListener {
public:
    // Listens on 127.0.0.1 on a free port; Port() is empty when that failed.
    CSilentListener();
    ~CSilentListener();
    CSilentListener(const CSilentListener&) = delete;
    CSilentListener& operator=(const CSilentListener&) = delete;

    const std::string& Port() const { return m_port; }

private:
    int m_socket = -1;
    std::string m_port;
};
