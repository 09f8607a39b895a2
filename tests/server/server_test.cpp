// Whole games through a real daro-server: seven players on seven sockets,
// spectators, dropped connections, the computer standing in, restarts.
#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "ServerFixture.h"
#include "record/GameFile.h"

namespace daro::test {
namespace {

const std::vector<std::string> sevenHumans(7, "human");
constexpr int moveLimit = 4000;

// The table's events as a connection saw them, from the start of the game.
std::vector<Json> eventsFromStart(const std::vector<Json>& seen) {
    std::vector<Json> events;
    bool started = false;
    for (const Json& j : seen) {
        started = started || j.value("type", "") == "started";
        if (started && isTableEvent(j)) events.push_back(j);
    }
    return events;
}

int verifyWithAutoplay(const std::string& folder, const std::string& text) {
    const std::string path = folder + "/downloaded.daro";
    std::ofstream(path, std::ios::binary) << text;
    const std::string command = std::string(DARO_AUTOPLAY_PATH) + " --verify " + path + " > /dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every player follows to the next turn; the player to move plays. Ends
// with everyone at the same turn: after the game's end or `moves` moves.
int playOn(std::vector<std::unique_ptr<Player>>& players, int moves) {
    int made = 0;
    for (;;) {
        for (auto& p : players)
            if (!p->followToTurn()) return made;
        if (players[0]->over || made >= moves) return made;
        for (auto& p : players) {
            if (p->seat != p->turn) continue;
            EXPECT_TRUE(p->play());
            ++made;
        }
    }
}

std::string downloadedGame(WsClient& c, const std::string& code) {
    c.send({{"type", "download"}, {"code", code}});
    auto game = c.until("game");
    return game ? game->at("text").get<std::string>() : "";
}

TEST_F(ServerTest, SevenPlayersPlayAWholeGameThatASpectatorSeesExactlyAndThatDownloadsAsAGameFile) {
    startServer();
    auto host = connect("host");
    const std::string code = createTable(*host, sevenHumans);
    ASSERT_EQ(code.size(), 6u);
    auto spectator = connect("watcher");
    spectator->send({{"type", "spectate"}, {"code", code}});
    ASSERT_TRUE(spectator->until("table"));

    std::vector<std::unique_ptr<Player>> players;
    for (int s = 1; s <= 7; ++s) players.push_back(join(code, s));
    for (auto& p : players) ASSERT_EQ(p->token.size(), 32u);

    players[2]->client->send({{"type", "chat"}, {"text", "<b>good luck</b> 七国"}});
    const int made = playOn(players, moveLimit);
    ASSERT_TRUE(players[0]->over) << "no end after " << made << " moves";

    auto over = players[0]->client->seen.back();
    ASSERT_EQ(over.value("type", ""), "over");
    spectator->until("over", 10s);
    const auto reference = eventsFromStart(players[0]->client->seen);
    for (auto& p : players) EXPECT_EQ(eventsFromStart(p->client->seen), reference) << "seat " << p->seat;
    EXPECT_EQ(eventsFromStart(spectator->seen), reference);

    // The chat arrived as plain text, markup and all, from seat 3.
    const auto chat = std::find_if(reference.begin(), reference.end(), [](const Json& j) { return j["type"] == "chat"; });
    ASSERT_NE(chat, reference.end());
    EXPECT_EQ((*chat)["text"], "<b>good luck</b> 七国");
    EXPECT_EQ((*chat)["seat"], 3);

    const std::string text = downloadedGame(*spectator, code);
    const auto replayed = replayGameFile(text);
    ASSERT_TRUE(replayed.game) << replayed.problem.line << ": " << replayed.problem.reason << "\n" << text;
    EXPECT_EQ(static_cast<int>(replayed.game->record.size()) - 1, players[0]->mirror.table.moveNumber);
    EXPECT_EQ(replayed.game->result, over["result"].get<std::string>());
    EXPECT_EQ(replayed.game->record.back().board(), players[0]->mirror.table.board);
    EXPECT_EQ(verifyWithAutoplay(data_, text), 0);
}

TEST_F(ServerTest, APlayerWhoReconnectsWithinGraceGetsTheSeatPositionAndRecordBack) {
    startServer();
    auto host = connect("host");
    const std::string code = createTable(*host, sevenHumans);
    std::vector<std::unique_ptr<Player>> players;
    for (int s = 1; s <= 7; ++s) players.push_back(join(code, s));
    playOn(players, 12);

    // Whoever is to move drops off; the others see the seat wait with its countdown.
    Player& away = *players[static_cast<std::size_t>(players[0]->turn - 1)];
    away.client->disconnect();
    auto seat = players[(away.seat % 7)]->client->until("seat");
    ASSERT_TRUE(seat);
    EXPECT_EQ((*seat)["seat"], away.seat);
    EXPECT_EQ((*seat)["connected"], false);
    EXPECT_GT((*seat)["graceLeft"].get<double>(), 80.0);

    // Neither a wrong token nor another seat's token takes the seat.
    auto impostor = connect("impostor");
    impostor->send({{"type", "reconnect"}, {"code", code}, {"seat", away.seat}, {"token", std::string(32, 'a')}});
    EXPECT_EQ(impostor->until("error")->at("code"), "bad_token");
    impostor->send({{"type", "reconnect"}, {"code", code}, {"seat", away.seat}, {"token", players[away.seat % 7]->token}});
    EXPECT_EQ(impostor->until("error")->at("code"), "bad_token");

    away.client = connect("back");
    away.client->send({{"type", "reconnect"}, {"code", code}, {"seat", away.seat}, {"token", away.token}});
    ASSERT_TRUE(away.client->until("joined"));
    auto state = away.client->next();
    ASSERT_TRUE(state);
    EXPECT_EQ((*state)["you"], away.seat);
    EXPECT_EQ((*state)["turn"], away.seat);
    server::TableMirror fresh;
    ASSERT_TRUE(fresh.start(*state));
    EXPECT_EQ(fresh.table.board, players[0]->mirror.table.board);
    EXPECT_EQ(fresh.table.moveNumber, players[0]->mirror.table.moveNumber);
    away.mirror = std::move(fresh);
    away.turn = away.seat;

    // The game goes on with the returned player moving.
    ASSERT_TRUE(away.play());
    EXPECT_GE(playOn(players, 14), 14);
}

TEST_F(ServerTest, AfterGraceTheComputerPlaysTheSeatUntilThePlayerComesBack) {
    startServer();
    auto host = connect("host");
    const std::string code = createTable(*host, {"human", "human", "level1", "level1", "level1", "level1", "level1"}, 1);
    std::vector<std::unique_ptr<Player>> players;
    players.push_back(join(code, 1));
    players.push_back(join(code, 2));
    Player& stay = *players[0];
    Player& away = *players[1];
    away.client->disconnect();

    // Seat 1 plays; then seat 2 is due, its grace runs out and the computer moves for it.
    bool computerMovedForSeat2 = false;
    for (int rounds = 0; rounds < 6 && !computerMovedForSeat2; ++rounds) {
        ASSERT_TRUE(stay.followToTurn(20s));
        ASSERT_FALSE(stay.over);
        if (stay.turn == 1) {
            ASSERT_TRUE(stay.play());
        }
        for (const Json& j : stay.client->seen)
            computerMovedForSeat2 = computerMovedForSeat2 || (j["type"] == "moved" && j["seat"] == 2);
    }
    ASSERT_TRUE(computerMovedForSeat2);
    const auto standIn = std::find_if(stay.client->seen.begin(), stay.client->seen.end(), [](const Json& j) {
        return j["type"] == "seat" && j["seat"] == 2 && j["playedBy"] == "computer";
    });
    EXPECT_NE(standIn, stay.client->seen.end());

    // Back with the token: the seat is the player's again, and waits for them.
    away.client = connect("back");
    away.client->send({{"type", "reconnect"}, {"code", code}, {"seat", 2}, {"token", away.token}});
    ASSERT_TRUE(away.client->until("joined"));
    auto state = away.client->next();
    ASSERT_TRUE(state && away.follow(*state));
    EXPECT_EQ((*state)["seats"][1]["playedBy"], "player");
    // Everyone reads what has come and moves when due, until the returned
    // player has moved. Nobody waits for a turn that is already theirs.
    bool playedMyself = false;
    const auto end = std::chrono::steady_clock::now() + 60s;
    while (!playedMyself && !stay.over && std::chrono::steady_clock::now() < end) {
        for (auto& p : players) ASSERT_TRUE(p->catchUp(50ms));
        for (auto& p : players)
            if (p->due()) {
                ASSERT_TRUE(p->play());
                playedMyself = playedMyself || p->seat == 2;
            }
    }
    EXPECT_TRUE(playedMyself);

    // The game file holds every move, whoever made it, and verifies.
    const std::string text = downloadedGame(*stay.client, code);
    const GameFileResult read = replayGameFile(text);
    EXPECT_TRUE(read.game) << read.problem.line << ": " << read.problem.reason << "\n" << text.substr(0, 300);
    EXPECT_EQ(text.find("standin"), std::string::npos);
}

TEST_F(ServerTest, ARestartedServerBringsBackTheGameAndItsPlayersCarryOn) {
    ServerProcess& server = startServer();
    std::string code;
    std::vector<std::unique_ptr<Player>> players;
    {
        auto host = connect("host");
        code = createTable(*host, {"human", "human", "human", "level2", "level1", "level3", "human"});
        for (int s : {1, 2, 3, 7}) players.push_back(join(code, s));
    }
    playOn(players, 20);
    const Table before = players[0]->mirror.table;

    server.restart();
    for (auto& p : players) {
        p->client = connect("again");
        p->client->send({{"type", "reconnect"}, {"code", code}, {"seat", p->seat}, {"token", p->token}});
        ASSERT_TRUE(p->client->until("joined")) << server.log();
        auto state = p->client->next();
        ASSERT_TRUE(state);
        server::TableMirror restored;
        ASSERT_TRUE(restored.start(*state));
        EXPECT_EQ(restored.table.moveNumber, before.moveNumber);
        EXPECT_EQ(restored.table.board, before.board);
        p->mirror = std::move(restored);
        p->turn = (*state)["turn"].get<int>();
    }
    // Whoever was due moves, and the game carries on.
    for (auto& p : players)
        if (p->turn == p->seat) {
            ASSERT_TRUE(p->play());
        }
    EXPECT_GE(playOn(players, 10), 10);
    EXPECT_NE(server.log().find("restored"), std::string::npos);
}

}  // namespace
}  // namespace daro::test
