#pragma once
// A player's end of a WebSocket, for tests: connect, send, and wait a
// bounded time for what comes back. Every message received is kept.
// Over ws:// or wss:// (the server's certificate is not checked: the
// tests make their own, signed by nobody).

#include <chrono>
#include <deque>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace daro::test {

using Json = nlohmann::json;
using namespace std::chrono_literals;

enum class Transport { plain, tls };

class WsClient {
public:
    // Connects to 127.0.0.1:port; connected() tells whether the handshake succeeded.
    explicit WsClient(unsigned short port, std::chrono::milliseconds timeout = 5s);
    WsClient(unsigned short port, Transport transport, std::chrono::milliseconds timeout = 5s);
    ~WsClient();
    WsClient(const WsClient&) = delete;
    WsClient& operator=(const WsClient&) = delete;

    bool connected() const;
    void send(const Json& message);
    void sendText(const std::string& text);
    // The next message, or nothing once `timeout` passes or the server closes.
    std::optional<Json> next(std::chrono::milliseconds timeout = 5s);
    // Skips messages until one of this type arrives (the skipped ones stay in `seen`).
    std::optional<Json> until(const std::string& type, std::chrono::milliseconds timeout = 5s);
    // Reads whatever arrives within `quiet`.
    std::vector<Json> drain(std::chrono::milliseconds quiet = 200ms);
    // The server ended the connection.
    bool closedByServer(std::chrono::milliseconds timeout = 5s);
    void disconnect();

    std::vector<Json> seen;

private:
    struct Impl;
    template <class Stream>
    struct Over;
    std::unique_ptr<Impl> impl_;
};

// One HTTP GET of `target` from 127.0.0.1:port, over TLS or not: the status
// (0 when no answer came) and the body.
struct HttpAnswer {
    int status = 0;
    std::string body;
};
HttpAnswer httpGet(unsigned short port, const std::string& target, Transport transport = Transport::plain,
                   std::chrono::milliseconds timeout = 5s);

// hello with a name; the welcome is read.
void greet(WsClient& client, const std::string& name);

}  // namespace daro::test
