#pragma once
// The server's whole game side, without sockets: connections say things,
// the lobby answers through an Outbox. It holds the tables, their seats and
// spectators, checks every message, and drives each table's game. Time comes
// in as an argument, so tests and the fuzzer run it without waiting.
//
// Lobby.cpp      connections, flood limits, reading and dispatching, errors, hello
// Seats.cpp      join, tokens and reconnect, spectators, leave, grace, the stand-in
// TableLife.cpp  create, start, moving the game on, searches, store then announce, idle tables
// Restore.cpp    tables back from the store, reload after a failed commit, game files
// Announce.cpp   what clients are told: events, seats, whole tables
// Listing.cpp    the lobby's list of public tables, its subscribers, quick play
//                (ListingIndex keeps the public tables in the orders they are asked for)
// TurnPace.cpp   turn-based tables: the move clock, abandoned seats, tables let go and loaded again
// Rematch.cpp    a rematch after the game, and `mine`, the state of a client's tables

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "ListingIndex.h"
#include "Store.h"
#include "table/Table.h"

namespace daro::server {

using ConnId = std::uint64_t;

inline constexpr int protocolVersion = 1;

struct Limits {
    std::size_t maxMessageBytes = 4096;
    std::size_t mineMessageBytes = 8192;
    int connectionsPerAddress = 32;
    // Unfinished tables created from one address, so nobody fills the
    // server (or its computers' time) alone.
    int tablesPerAddress = 32;
    std::size_t maxTables = 10000;
    std::size_t spectatorsPerTable = 64;
    double messagesPerSecond = 20, messageBurst = 40;
    double chatPerSecond = 0.5, chatBurst = 5;
    // Messages refused for flooding before the connection is closed.
    int floodsBeforeClose = 10;
    int maxGraceSeconds = 3600;
    // A table nobody plays at, or a finished one nobody watches, is let go
    // after this long (it stays in the store).
    double idleTableSeconds = 1800;
    // This server's first character of every table code, so a proxy in
    // front of several servers can route by code; empty for any.
    std::string codePrefix;
    // Turn-based tables: moves the computer makes for a seat whose time ran
    // out, in a row, before the seat counts as abandoned.
    int missedBeforeAbandoned = 3;
    // Turn-based tables loaded in one tick because their time ran out.
    int dueLoadsPerTick = 50;
};

// How a table is played, as chosen when it was made.
struct TableRules {
    int level = 3;
    int grace = 90;
    bool isPublic = false;
    int quickWait = 0;  // a quick-play table: seconds before computers fill it
    bool turnPace = false;
    int moveSeconds = 0;
    bool hints = false;
};

// Reads `pace` and `moveSeconds` of `create` and `quick`; false when either is wrong.
bool readPace(const nlohmann::json& m, TableRules& rules);
extern const char* const paceRule;

inline constexpr int minMoveSeconds = 60, maxMoveSeconds = 7 * 24 * 3600, defaultMoveSeconds = 24 * 3600;

// What the lobby asks of the world around it.
class Outbox {
public:
    virtual ~Outbox() = default;
    virtual void send(ConnId to, const std::string& text) = 0;
    // Ends the connection once what was sent to it has gone.
    virtual void close(ConnId who) = 0;
    // Thinks somewhere else; the answer comes back through Lobby::searched.
    virtual void search(const std::string& code, std::uint64_t ticket, const SearchRequest& request) = 0;
    virtual void log(const std::string& line) = 0;
};

enum class SeatPlayer { nobody, player, computer };

struct SeatState {
    SeatKind created;       // as the table was made
    std::string name;
    std::string tokenHash;  // empty: the seat is open
    ConnId conn = 0;        // 0: the holder is not connected
    double graceEnds = 0;   // while the holder is away
    bool standIn = false;   // the table's computer plays for the human seat
    int missed = 0;         // turn-based: moves in a row made for the seat when its time ran out
};

struct GameTable {
    enum class Status { waiting, playing, over };

    std::string code;
    std::string createdFrom;  // the creator's address; empty for a restored table
    int level = 3;
    int grace = 90;
    Status status = Status::waiting;
    Table table;
    std::array<SeatState, 8> seats;
    std::set<ConnId> spectators;
    // Event lines as stored, seat changes included; the game file leaves those out.
    std::vector<std::string> lines;
    std::string result;
    std::uint64_t searchTicket = 0;
    bool searching = false;
    int searchSeat = 0;
    bool stalled = false;  // a step could not be stored; the tick tries again
    double idleSince = 0;
    bool isPublic = false;  // listed in the lobby
    int quickWait = 0;      // a quick-play table: seconds before computers fill it
    double createdAt = 0;
    bool turnPace = false;
    int moveSeconds = 0;
    bool hints = false;
    double turnEnds = 0;    // turn-based: when the seat to move runs out of time
    int timeoutSeat = 0;    // turn-based: the seat the computer is moving for because its time ran out
    std::string rematch;    // the rematch table's code, once offered
};

class Lobby {
public:
    Lobby(Store& store, Outbox& outbox, Limits limits = {});
    ~Lobby();

    // Brings back every unfinished table from the store; their players are
    // away, each with a fresh grace period.
    void restore(double now);

    // False (after an error to the connection) when the address has too many.
    bool connected(ConnId who, const std::string& address, double now);
    void received(ConnId who, std::string_view text, double now);
    // A binary message: refused, as every message is JSON text.
    void receivedBinary(ConnId who, double now);
    void disconnected(ConnId who, double now);
    void searched(const std::string& code, std::uint64_t ticket, const std::optional<ChosenMove>& chosen, double now);
    // Grace periods run out, idle tables go; call it about once a second.
    void tick(double now);

    std::size_t tableCount() const { return tables_.size(); }
    std::size_t connectionCount() const { return connections_.size(); }
    const GameTable* findTable(const std::string& code) const;
    GameTable* findTable(const std::string& code);

    // The game file of a table, from memory or the store; empty when unknown.
    std::string gameFile(const std::string& code);

private:
    struct Bucket {
        double tokens = 0, last = 0;
        bool take(double now, double rate, double burst);
    };
    struct Connection {
        std::string address;
        bool greeted = false;
        std::string name;
        std::string table;
        int seat = 0;
        Bucket messages, chat;
        bool subscribed = false;  // to the lobby's list
        int floods = 0;
    };
    using Json = nlohmann::json;

    bool admitted(ConnId who, Connection& c, std::string_view text, double now);
    void dispatch(ConnId who, Connection& c, const Json& message, double now);
    void hello(ConnId who, Connection& c, const Json& m);
    void create(ConnId who, Connection& c, const Json& m, double now);
    void join(ConnId who, Connection& c, const Json& m, double now);
    void spectate(ConnId who, Connection& c, const Json& m, double now);
    void reconnect(ConnId who, Connection& c, const Json& m, double now);
    void leave(ConnId who, Connection& c, double now);
    void move(ConnId who, Connection& c, const Json& m, double now);
    void chat(ConnId who, Connection& c, const Json& m, double now);
    void download(ConnId who, const Json& m);
    void lobby(ConnId who, Connection& c, const Json& m, double now);
    void quick(ConnId who, Connection& c, const Json& m, double now);
    void rematch(ConnId who, Connection& c, double now);
    void mine(ConnId who, const Json& m, double now);
    Json mineEntry(const Json& asked, double now);

    GameTable* newTable(ConnId who, Connection& c, const std::array<SeatKind, 8>& kinds, const TableRules& rules,
                        std::string_view about, double now);
    void seatNewcomer(ConnId who, Connection& c, GameTable& t, int seat, std::string_view about, double now);
    void listingChanged(const GameTable& t);
    // The table leaves memory: it is no longer listed.
    void forgetListing(const std::string& code);
    Json listingJson(double now) const;
    Json listingEntry(const GameTable& t, double now) const;
    void fillQuickTables(double now);
    void sendListing(double now);

    void error(ConnId who, std::string_view code, std::string_view about, std::string_view text);
    void sendJson(ConnId who, const Json& message);
    void broadcast(GameTable& t, const Json& message);
    void detach(ConnId who, Connection& c, double now);
    GameTable* tableOf(const Connection& c);
    GameTable* tableByCode(const Json& m, ConnId who, std::string_view about, double now);

    Json seatJson(const GameTable& t, int seat, double now) const;
    Json tableJson(const GameTable& t, int you, double now) const;
    void seatChanged(GameTable& t, int seat, double now);
    bool storeSeat(GameTable& t, int seat);
    void takeSeat(ConnId who, Connection& c, GameTable& t, int seat, double now);

    void startIfFull(GameTable& t, double now);
    void advance(GameTable& t, double now);
    void startSearch(GameTable& t, int seat);
    void playForAbsent(GameTable& t, int seat, const std::optional<ChosenMove>& chosen);
    bool publish(GameTable& t, double now);
    void standIn(GameTable& t, int seat, bool computer, double now);
    // Takes the code by value: the table that holds it may go.
    void reload(std::string code, double now);
    bool rebuild(GameTable& t, const StoredTable& stored, double now);
    // A finished table, or a turn-based one the server let go of, back from the store.
    GameTable* bringBack(const std::string& code, double now);
    bool makeRoom();
    bool canLetGo(const GameTable& t) const;
    void letGo(const std::string& code, bool forget);
    void loadDueTables(double now);
    void runOutOfTime(GameTable& t, double now);
    void afterTimeout(GameTable& t, int seat, double now);
    void notice(GameTable& t, std::string_view kind, int seat);
    std::optional<double> turnLeft(const GameTable& t, double now) const;

    Store& store_;
    Outbox& out_;
    Limits limits_;
    std::unordered_map<ConnId, Connection> connections_;
    std::unordered_map<std::string, int> perAddress_;
    std::map<std::string, std::unique_ptr<GameTable>> tables_;
    // The public tables not yet over, in the lobby's orders, so neither the
    // list nor quick play walks every table.
    ListingIndex listing_;
    std::set<ConnId> subscribers_;
    bool listingDirty_ = false;
    // Stored turn-based tables that do not replay: not loaded again when due.
    std::set<std::string> unplayable_;
};

}  // namespace daro::server
