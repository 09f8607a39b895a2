// Whatever a client sends, the server answers bad input with an error code,
// changes nothing, and stays up for everyone else.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "ServerFixture.h"

namespace daro::test {
namespace {

// A TCP connection to the server that never says a word; closed with the object.
class SilentSocket {
public:
    explicit SilentSocket(unsigned short port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(port);
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
    }
    ~SilentSocket() {
        if (fd_ >= 0) ::close(fd_);
    }
    SilentSocket(const SilentSocket&) = delete;
    SilentSocket& operator=(const SilentSocket&) = delete;

    bool connected() const { return connected_; }
    // The server hung up within `wait`.
    bool closedByServer(std::chrono::milliseconds wait) const {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(wait.count())) <= 0) return false;
        char c;
        return ::recv(fd_, &c, 1, 0) <= 0;
    }

private:
    int fd_;
    bool connected_ = false;
};

std::string errorCodeOf(WsClient& c) {
    auto e = c.until("error");
    return e ? e->at("code").get<std::string>() : "(no error)";
}

struct Case {
    const char* what;
    std::string text;
    const char* code;
};

TEST_F(ServerTest, BadMessagesAreAnsweredWithTheirErrorCodeAndChangeNothing) {
    startServer();
    auto host = connect("host");
    const std::string code = createTable(*host, {"human", "human", "level1", "level1", "level1", "level1", "level1"});
    auto one = join(code, 1);
    auto two = join(code, 2);
    auto watcher = connect("watcher");
    watcher->send({{"type", "spectate"}, {"code", code}});
    const auto before = watcher->until("table");
    ASSERT_TRUE(one->followToTurn());
    ASSERT_EQ(one->turn, 1);

    // Before hello only hello is heard.
    auto fresh = std::make_unique<WsClient>(server_->port());
    fresh->send({{"type", "create"}, {"seats", std::vector<std::string>(7, "human")}});
    EXPECT_EQ(errorCodeOf(*fresh), "hello_first");
    fresh->send({{"type", "hello"}, {"version", 99}});
    EXPECT_EQ(errorCodeOf(*fresh), "bad_version");
    fresh->send({{"type", "hello"}, {"version", 1}, {"name", "tab\there"}});
    EXPECT_EQ(errorCodeOf(*fresh), "bad_text");

    auto seat1Move = [&](int fx, int fy, int tx, int ty) {
        return Json{{"type", "move"}, {"from", {fx, fy}}, {"to", {tx, ty}}}.dump();
    };
    const auto legal = one->mirror.choose(1);
    ASSERT_TRUE(legal);
    const Case cases[] = {
        {"not JSON", "{\"type\": \"move\",", "malformed"},
        {"not an object", "[1, 2, 3]", "malformed"},
        {"a type that is no string", R"({"type": 7})", "malformed"},
        {"an unknown type", R"({"type": "resign"})", "unknown_type"},
        {"over 4 KiB", R"({"type": "chat", "text": ")" + std::string(5000, 'x') + "\"}", "too_large"},
        {"a square off the board", seat1Move(0, 1, 1, 1), "malformed"},
        {"a square that is no number", R"({"type": "move", "from": ["a", 1], "to": [1, 1]})", "malformed"},
        {"an empty square", seat1Move(1, 1, 1, 2), "not_your_piece"},
        {"an illegal move", seat1Move(legal->fromX, legal->fromY, legal->fromX, legal->fromY), "illegal_move"},
        {"joining while seated", R"({"type": "join", "code": ")" + code + "\"}", "already_at_table"},
        {"a chat line of 201 characters", Json{{"type", "chat"}, {"text", std::string(201, 'a')}}.dump(), "bad_text"},
        {"a chat line with a control character", R"({"type": "chat", "text": "a\u0007b"})", "bad_text"},
        {"seven seats of nonsense", R"({"type": "create", "seats": [1,2,3,4,5,6,7]})", "already_at_table"},
    };
    for (const Case& c : cases) {
        one->client->sendText(c.text);
        EXPECT_EQ(errorCodeOf(*one->client), c.code) << c.what;
    }

    // Out of turn, and on behalf of another seat: refused.
    two->client->sendText(seat1Move(legal->fromX, legal->fromY, legal->toX, legal->toY));
    EXPECT_EQ(errorCodeOf(*two->client), "not_your_turn");
    watcher->sendText(seat1Move(legal->fromX, legal->fromY, legal->toX, legal->toY));
    EXPECT_EQ(errorCodeOf(*watcher), "not_seated");
    host->send({{"type", "reconnect"}, {"code", code}, {"seat", 1}, {"token", two->token}});
    EXPECT_EQ(errorCodeOf(*host), "bad_token");
    host->send({{"type", "join"}, {"code", "abc"}});
    EXPECT_EQ(errorCodeOf(*host), "malformed");
    host->send({{"type", "spectate"}, {"code", "ZZZZZZ"}});
    EXPECT_EQ(errorCodeOf(*host), "no_such_table");
    host->send({{"type", "join"}, {"code", code}, {"seat", 3}});
    EXPECT_EQ(errorCodeOf(*host), "seat_taken");
    host->send({{"type", "create"}, {"seats", {"human", "human", "robot", "human", "human", "human", "human"}}});
    EXPECT_EQ(errorCodeOf(*host), "malformed");

    // Nobody saw anything happen, and the table is as it was.
    for (const Json& j : watcher->drain()) EXPECT_NE(j.value("type", ""), "moved") << j;
    auto again = connect("second look");
    again->send({{"type", "spectate"}, {"code", code}});
    const auto after = again->until("table");
    ASSERT_TRUE(before && after);
    EXPECT_EQ((*after)["board"], (*before)["board"]);
    EXPECT_EQ((*after)["record"], (*before)["record"]);
    EXPECT_EQ((*after)["turn"], 1);

    // And the legal move still goes through.
    ASSERT_TRUE(one->play());
    EXPECT_TRUE(watcher->until("moved"));
}

TEST_F(ServerTest, AFloodIsRefusedAndRepeatedFloodsEndTheConnection) {
    startServer();
    auto flooder = connect("flooder");
    auto bystander = connect("bystander");
    for (int i = 0; i < 200; ++i) flooder->send({{"type", "ping"}});
    EXPECT_TRUE(flooder->closedByServer(10s));
    const auto refused = std::count_if(flooder->seen.begin(), flooder->seen.end(), [](const Json& j) {
        return j.value("type", "") == "error" && j.value("code", "") == "rate_limited";
    });
    EXPECT_GE(refused, 1);
    EXPECT_LE(refused, 10);
    // Chat has a tighter limit of its own.
    auto host = connect("host");
    const std::string code = createTable(*host, std::vector<std::string>(7, "level1"));
    host->send({{"type", "spectate"}, {"code", code}});
    host->until("table");
    host->drain(50ms);
    int chatRefused = 0;
    for (int i = 0; i < 8; ++i) host->send({{"type", "chat"}, {"text", "hi"}});
    for (const Json& j : host->drain()) chatRefused += j.value("code", "") == "rate_limited";
    EXPECT_GE(chatRefused, 1);
    bystander->send({{"type", "ping"}});
    EXPECT_TRUE(bystander->until("pong"));
}

TEST_F(ServerTest, OneAddressMayHoldOnlySoManyConnections) {
    startServer({"--per-address", "3"});
    std::vector<std::unique_ptr<WsClient>> held;
    for (int i = 0; i < 3; ++i) held.push_back(connect("c" + std::to_string(i)));
    WsClient extra(server_->port());
    auto refused = extra.until("error");
    ASSERT_TRUE(refused);
    EXPECT_EQ((*refused)["code"], "too_many_connections");
    EXPECT_TRUE(extra.closedByServer());
    held.pop_back();
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(connect("later")->connected());
}

TEST_F(ServerTest, ConnectionsThatNeverFinishTheirHandshakeAreHeldToTheAddressLimitToo) {
    startServer({"--per-address", "3"});
    auto player = connect("player");
    std::vector<std::unique_ptr<SilentSocket>> silent;
    for (int i = 0; i < 3; ++i) {
        silent.push_back(std::make_unique<SilentSocket>(server_->port()));
        ASSERT_TRUE(silent.back()->connected());
    }
    // One more, and it is let go at once rather than held for the handshake's time.
    for (int i = 0; i < 3; ++i) {
        SilentSocket extra(server_->port());
        EXPECT_TRUE(extra.closedByServer(3s)) << "extra connection " << i;
    }
    // The three are still waiting for their handshake.
    for (auto& s : silent) EXPECT_FALSE(s->closedByServer(100ms));
    // The player already in plays on; once the silent ones go, others come in.
    player->send({{"type", "ping"}});
    EXPECT_TRUE(player->until("pong"));
    silent.clear();
    std::this_thread::sleep_for(200ms);
    auto later = std::make_unique<WsClient>(server_->port());
    ASSERT_TRUE(later->connected());
    greet(*later, "later");
    later->send({{"type", "ping"}});
    EXPECT_TRUE(later->until("pong"));
}

}  // namespace
}  // namespace daro::test
