// The protocol's edges that only a socket shows: frames, HTTP limits, and
// how long a closed connection is waited for.
#include "RawSocket.h"
#include "ServerFixture.h"

namespace daro::test {
namespace {

// A WebSocket spoken by hand, frame by frame.
class HandClient {
public:
    explicit HandClient(unsigned short port) : socket_(port) {
        open_ = socket_.connected() && rawWebSocketHandshake(socket_, buffer_);
    }
    bool open() const { return open_; }
    bool send(int opcode, std::string_view payload, bool fin = true) {
        return socket_.sendAll(clientFrame(opcode, payload, fin));
    }
    bool sendText(const Json& message) { return send(1, message.dump()); }
    // The next frame from the server, control frames included.
    std::optional<ServerFrame> frame(std::chrono::milliseconds wait = 5s) {
        const auto end = std::chrono::steady_clock::now() + wait;
        for (;;) {
            if (auto f = takeFrame(buffer_)) return f;
            if (std::chrono::steady_clock::now() >= end || !socket_.readSome(buffer_, 50ms)) return std::nullopt;
        }
    }
    // The next message (a text frame), as JSON.
    std::optional<Json> message(std::chrono::milliseconds wait = 5s) {
        while (auto f = frame(wait))
            if (f->opcode == 1) return Json::parse(f->payload, nullptr, false);
        return std::nullopt;
    }
    RawSocket& socket() { return socket_; }

private:
    RawSocket socket_;
    std::string buffer_;
    bool open_ = false;
};

TEST_F(ServerTest, ABinaryMessageIsRefusedAndAFragmentedTextMessageIsOneMessage) {
    startServer();
    HandClient c(server_->port());
    ASSERT_TRUE(c.open());
    ASSERT_TRUE(c.sendText({{"type", "hello"}, {"version", 1}, {"name", "frames"}}));
    ASSERT_EQ(c.message().value_or(Json())["type"], "welcome");

    ASSERT_TRUE(c.send(2, R"({"type": "ping"})"));
    const Json refused = c.message().value_or(Json());
    EXPECT_EQ(refused["type"], "error") << refused;
    EXPECT_EQ(refused["code"], "malformed") << refused;

    // WebSocket lets any hop split a message; it is still the one message.
    ASSERT_TRUE(c.send(1, R"({"type":)", false));
    ASSERT_TRUE(c.send(0, R"( "ping"})", true));
    EXPECT_EQ(c.message().value_or(Json())["type"], "pong");
}

TEST_F(ServerTest, HttpRequestsTooLongOrOfTheWrongMethodGetTheirStatusNotAReset) {
    startServer();
    const unsigned short port = server_->port();
    auto host = connect("host");
    const std::string code = createTable(*host, std::vector<std::string>(7, "level1"));
    auto status = [&](const std::string& request) { return rawHttp(port, request, 8s).status; };
    const std::string end = " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";

    EXPECT_EQ(status("GET /" + std::string(8 * 1024, 'a') + end), 414);
    EXPECT_EQ(status("GET /game/" + std::string(40 * 1024, 'a') + end), 414);
    EXPECT_EQ(status("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Big: " + std::string(64 * 1024, 'b') + "\r\n\r\n"), 431);
    std::string many = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    for (int i = 0; i < 400; ++i) many += "X-Header-" + std::to_string(i) + ": " + std::string(50, 'c') + "\r\n";
    EXPECT_EQ(status(many + "\r\n"), 431);
    EXPECT_EQ(status("POST /game/" + code + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 1048576\r\n\r\n" +
                     std::string(1024 * 1024, 'd')),
              413);
    RawHttpAnswer post =
        rawHttp(port, "POST /game/" + code + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 2\r\n\r\n{}");
    EXPECT_EQ(post.status, 405);
    EXPECT_EQ(post.headers["allow"], "GET, HEAD");
    EXPECT_EQ(status("DELETE /" + end), 405);
    EXPECT_EQ(status("NONSENSE\r\n\r\n"), 400);
    EXPECT_EQ(status("GET  HTTP/1.1\r\nHost: x\r\n\r\n"), 400);
    // The game file is still there for a proper request.
    EXPECT_EQ(status("GET /game/" + code + end), 200);
}

TEST_F(ServerTest, AConnectionClosedForFloodingIsLetGoWithinSecondsWithoutItsCloseReply) {
    startServer();
    HandClient c(server_->port());
    ASSERT_TRUE(c.open());
    ASSERT_TRUE(c.sendText({{"type", "hello"}, {"version", 1}}));
    std::string flood;
    for (int i = 0; i < 200; ++i) flood += clientFrame(1, R"({"type": "ping"})");
    ASSERT_TRUE(c.socket().sendAll(flood));
    // Read to the server's close frame, and never answer it.
    std::optional<ServerFrame> f;
    do f = c.frame(10s);
    while (f && f->opcode != 8);
    ASSERT_TRUE(f) << "the flood was not closed";
    const auto closed = std::chrono::steady_clock::now();
    std::string rest;
    while (c.socket().readSome(rest, 100ms) && std::chrono::steady_clock::now() - closed < 15s) {
    }
    const auto waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - closed).count();
    EXPECT_LT(waited, 8.0) << "the server held the connection waiting for a close reply";
}

}  // namespace
}  // namespace daro::test
