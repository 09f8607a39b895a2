// The protocol as docs/protocol.md states it, tried as a new client would:
// every name the server sends is defined there, and the server does what
// the document says where a client would otherwise be caught out.
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "Announce.h"
#include "LobbyFixture.h"

namespace daro::server {
namespace {

// Names that the document defines in a row of one of its tables.
std::set<std::string> documentedNames() {
    std::ifstream in(DARO_PROTOCOL_DOC);
    std::set<std::string> names;
    const std::regex row(R"(^\| `([A-Za-z_0-9]+)` \|)");
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_search(line, m, row)) names.insert(m[1]);
    }
    return names;
}

const std::vector<std::string> twoHumans = {"human", "human", "level1", "level1", "level1", "level1", "level1"};
const std::vector<std::string> computers(7, "level1");

class ProtocolTest : public LobbyTest {
protected:
    std::string errorCode(ConnId who) {
        const Json e = out.last(who, "error");
        return e.is_null() ? "" : e["code"].get<std::string>();
    }
    // Answers every search until the table's game ends.
    void playToTheEnd(const std::string& code) {
        for (int i = 0; i < 5000 && lobby->findTable(code)->status != GameTable::Status::over; ++i) think();
        ASSERT_EQ(lobby->findTable(code)->status, GameTable::Status::over);
    }
};

TEST_F(ProtocolTest, TheDocumentDefinesEveryMessageOutcomeAndErrorTheServerSends) {
    arrive(1, "host");
    arrive(2, "guest");
    const std::string played = create(1, computers, 90);
    say(1, {{"type", "spectate"}, {"code", played}});
    playToTheEnd(played);
    say(1, {{"type", "chat"}, {"text", "gg"}});
    say(1, {{"type", "download"}, {"code", played}});
    say(1, {{"type", "leave"}});
    say(1, {{"type", "ping"}});
    const std::string waiting = create(1, twoHumans, 90);
    say(2, {{"type", "join"}, {"code", "ZZZZZZ"}});
    say(2, {{"type", "join"}, {"code", waiting}});
    say(2, {{"type", "move"}, {"from", {1, 1}}, {"to", {1, 2}}});
    say(2, {{"type", "hello"}, {"version", 1}});
    say(2, {{"type", "kick"}});
    lobby->received(2, "[", now);

    std::set<std::string> sent;
    for (const auto& [who, messages] : out.inbox)
        for (const Json& m : messages) {
            sent.insert(m["type"].get<std::string>());
            if (m["type"] == "error") sent.insert(m["code"].get<std::string>());
        }
    for (const char* type : {"welcome", "created", "table", "joined", "seat", "moved", "over", "game",
                             "left", "pong", "chat", "error"})
        ASSERT_EQ(sent.count(type), 1u) << "the session never got " << type;
    // Every outcome and every way to win, and every refusal of a move.
    for (OutcomeKind k : {OutcomeKind::win, OutcomeKind::humanGone, OutcomeKind::noHumanLeft, OutcomeKind::noKingdomCanMove})
        for (WinBy by : {WinBy::twoKings, WinBy::thirtyPieces, WinBy::nineteenWithKing, WinBy::lastStanding}) {
            TableEvent over;
            over.kind = TableEventKind::gameOver;
            over.outcome = {k, 1, by};
            const Json j = eventJson(over);
            sent.insert(j["outcome"].get<std::string>());
            if (j.contains("by")) sent.insert(j["by"].get<std::string>());
        }
    for (Refusal r : {Refusal::noGame, Refusal::notYourTurn, Refusal::notYourPiece, Refusal::illegalMove,
                      Refusal::kingSquareReached})
        sent.insert(refusalCode(r));

    const std::set<std::string> documented = documentedNames();
    ASSERT_GT(documented.size(), 20u) << "no document at " << DARO_PROTOCOL_DOC;
    for (const std::string& name : sent) EXPECT_EQ(documented.count(name), 1u) << "`" << name << "` has no row in the document";
}

TEST_F(ProtocolTest, ASeatThatMustLeaveIsNeverToldToMoveFirst) {
    // Seven players, so every king taken leaves its kingdom at its next turn.
    int outs = 0;
    for (int game = 0; game < 6 && outs < 3; ++game) {
        out.inbox.clear();
        for (ConnId c = 1; c <= 8; ++c) arrive(c + 10 * game, "p");
        const std::string code = create(10 * game + 1, std::vector<std::string>(7, "human"), 90);
        say(10 * game + 8, {{"type", "spectate"}, {"code", code}});
        for (int s = 1; s <= 7; ++s) say(10 * game + s, {{"type", "join"}, {"code", code}, {"seat", s}});
        for (int move = 0; move < 600 && lobby->findTable(code)->status == GameTable::Status::playing; ++move)
            playFor(10 * game + lobby->findTable(code)->table.turnSeat, code);
        std::vector<Json> events;
        for (const Json& j : out.inbox[10 * game + 8])
            if (j["type"] != "seat" && j["type"] != "chat") events.push_back(j);
        for (std::size_t i = 0; i + 1 < events.size(); ++i) {
            if (events[i + 1]["type"] != "out") continue;
            ++outs;
            EXPECT_FALSE(events[i]["type"] == "turn" && events[i]["seat"] == events[i + 1]["seat"])
                << "seat " << events[i]["seat"] << " was told to move, then taken out";
        }
        for (ConnId c = 1; c <= 8; ++c) lobby->disconnected(c + 10 * game, now);
    }
    EXPECT_GE(outs, 1) << "no kingdom left the games: nothing was tried";
}

TEST_F(ProtocolTest, NamesAndChatRefuseC1AndDirectionControlsButTakeOrdinaryText) {
    const std::string c1 = "a\xc2\x85" "b";                     // U+0085, next line
    const std::string override_ = "a\xe2\x80\xae" "b";          // U+202E, right-to-left override
    const std::string embedding = "a\xe2\x80\xaa" "b";          // U+202A
    const std::string isolate = "a\xe2\x81\xa6" "b\xe2\x81\xa9";  // U+2066 … U+2069
    ConnId who = 1;
    for (const std::string& bad : {c1, override_, embedding, isolate}) {
        lobby->connected(who, "192.0.2.9", now);
        say(who, {{"type", "hello"}, {"version", 1}, {"name", bad}});
        EXPECT_EQ(errorCode(who), "bad_text") << "name " << Json(bad).dump();
        ++who;
    }
    arrive(who, "שלום, Ünïcödé ✓ 七国");
    ASSERT_FALSE(out.last(who, "welcome").is_null()) << "ordinary text, right-to-left script included, is a name";
    const std::string code = create(who, computers, 90);
    say(who, {{"type", "spectate"}, {"code", code}});
    for (const std::string& bad : {c1, override_, embedding, isolate}) {
        say(who, {{"type", "chat"}, {"text", bad}});
        EXPECT_EQ(errorCode(who), "bad_text") << "chat " << Json(bad).dump();
        now += 10;
    }
    say(who, {{"type", "chat"}, {"text", "مرحبا and ¡hola! \xc2\xa0 ok"}});
    EXPECT_EQ(out.last(who, "chat")["text"], "مرحبا and ¡hola! \xc2\xa0 ok");
}

TEST_F(ProtocolTest, AFinishedTableCanBeWatchedAfterARestartAndAfterItWasLetGo) {
    arrive(1, "host");
    const std::string code = create(1, computers, 90);
    playToTheEnd(code);
    const std::vector<std::string> lines = lobby->findTable(code)->lines;

    // Let go for being idle, then asked for again.
    lobby->tick(now + 10);
    lobby->tick(now + 4000);
    ASSERT_EQ(lobby->findTable(code), nullptr);
    say(1, {{"type", "spectate"}, {"code", code}});
    Json table = out.last(1, "table");
    ASSERT_FALSE(table.is_null()) << errorCode(1);
    EXPECT_EQ(table["status"], "over");
    EXPECT_EQ(table["record"], lines);
    say(1, {{"type", "leave"}});

    // A new server on the same store.
    out.inbox.clear();
    lobby = std::make_unique<Lobby>(store, out);
    lobby->restore(now);
    arrive(2, "later");
    say(2, {{"type", "download"}, {"code", code}});
    ASSERT_FALSE(out.last(2, "game").is_null());
    say(2, {{"type", "spectate"}, {"code", code}});
    table = out.last(2, "table");
    ASSERT_FALSE(table.is_null()) << errorCode(2);
    EXPECT_EQ(table["status"], "over");
    EXPECT_EQ(table["record"], lines);
    EXPECT_NE(table["result"], "");
}

TEST_F(ProtocolTest, JoiningAFinishedTableIsGameOverWhetherOrNotASeatIsFree) {
    arrive(1, "host");
    const std::string allComputers = create(1, computers, 90);
    playToTheEnd(allComputers);
    say(1, {{"type", "join"}, {"code", allComputers}});
    EXPECT_EQ(errorCode(1), "game_over");
    say(1, {{"type", "join"}, {"code", allComputers}, {"seat", 3}});
    EXPECT_EQ(errorCode(1), "game_over");
}

TEST_F(ProtocolTest, ARefusalForFloodingNamesTheMessageItRefused) {
    arrive(1, "flooder");
    for (int i = 0; i < 60; ++i) lobby->received(1, R"({"type": "ping"})", now);
    const Json refused = out.last(1, "error");
    ASSERT_EQ(refused["code"], "rate_limited");
    EXPECT_EQ(refused["about"], "ping");
    // What is no message at all has nothing to name, and is still refused.
    lobby->received(1, "nonsense", now);
    EXPECT_EQ(out.last(1, "error")["code"], "rate_limited");
}

TEST_F(ProtocolTest, TableCodesAreReadWhateverTheirCase) {
    arrive(1, "host");
    arrive(2, "guest");
    const std::string code = create(1, twoHumans, 90);
    std::string lower = code;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    ASSERT_NE(lower, code);
    say(2, {{"type", "join"}, {"code", lower}});
    ASSERT_FALSE(out.last(2, "joined").is_null()) << errorCode(2);
    EXPECT_EQ(out.last(2, "joined")["code"], code);
    EXPECT_EQ(out.last(2, "table")["code"], code);
    say(1, {{"type", "spectate"}, {"code", lower}});
    EXPECT_EQ(out.last(1, "table")["code"], code);
    say(1, {{"type", "download"}, {"code", lower}});
    EXPECT_EQ(out.last(1, "game")["code"], code);
    // Still no code: the wrong length, or a character codes never hold.
    say(1, {{"type", "leave"}});
    say(1, {{"type", "spectate"}, {"code", lower + "a"}});
    EXPECT_EQ(errorCode(1), "malformed");
    say(1, {{"type", "spectate"}, {"code", "abcde0"}});
    EXPECT_EQ(errorCode(1), "malformed");
}

}  // namespace
}  // namespace daro::server
