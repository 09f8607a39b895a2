#pragma once
// The network side of daro-server: one Asio event loop for every socket, a
// few worker threads for the computer's searches. Nothing here blocks the loop.

#include <string>

#include "Lobby.h"

namespace daro::server {

struct ServerOptions {
    std::string host = "127.0.0.1";
    unsigned short port = 7770;
    std::string dataFolder;
    std::string tlsCert, tlsKey;
    int workers = 0;  // 0: one less than the cores, at least one
    std::string webFolder;  // the browser's page; empty: none
    Limits limits;
    std::string clockFile;  // tests: seconds to add to the clock, read at every tick
};

// Runs until SIGINT or SIGTERM; the exit status.
int runServer(const ServerOptions& options);

}  // namespace daro::server
