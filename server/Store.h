#pragma once
// The server's memory across restarts: SQLite in WAL mode. Every accepted
// event is committed here before any client hears of it, so a killed server
// comes back with every move anyone saw.

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace daro::server {

struct StoredSeat {
    std::string name;
    std::string tokenHash;  // empty: nobody holds the seat
};

struct StoredTable {
    std::string code;
    std::string seats;  // the seat kinds as created, e.g. "human level4 ..."
    int level = 3;      // the computer that stands in for an absent player
    int grace = 90;     // seconds
    bool finished = false;
    std::string result;  // the game file's result line, once finished
    bool isPublic = false;  // listed in the lobby while it waits
    int quickWait = 0;      // seconds a quick-play table waits before computers fill it; 0: none
    bool turnPace = false;  // waits for each seat's move, moveSeconds at most
    int moveSeconds = 0;
    bool hints = false;
    int turnSeat = 0;       // a turn-based table's seat to move, and when its time runs out
    double turnEnds = 0;    // (seconds since 1970)
    std::string createdFrom;
    std::string rematch;    // the code of the rematch table, once offered
    std::array<StoredSeat, 8> seat;  // by seat 1..7
    std::vector<std::string> lines;  // the game's event lines, in order
};

class Store {
public:
    // Opens or creates DIR/daro-server.sqlite; throws std::runtime_error.
    // An empty folder keeps everything in memory (tests, the fuzzer).
    explicit Store(const std::string& folder);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    // Each write is one transaction; false (with lastError()) when it did not commit.
    bool createTable(const StoredTable& table);
    bool setSeat(const std::string& code, int seat, const StoredSeat& holder);
    // The seat kinds, when computers fill a quick-play table's empty seats.
    bool setSeatKinds(const std::string& code, const std::string& seats);
    bool appendLines(const std::string& code, int firstIndex, const std::vector<std::string>& lines);
    bool finish(const std::string& code, const std::string& result, int firstIndex,
                const std::vector<std::string>& lines);
    bool removeTable(const std::string& code);
    bool setTurn(const std::string& code, int seat, double ends);
    bool setRematch(const std::string& code, const std::string& rematch);

    // What a restart brings back at once: live tables and public turn-based
    // ones. Private turn-based tables are loaded when someone asks for them.
    std::vector<StoredTable> unfinishedTables();
    // Turn-based tables whose seat's time ran out by `now`, the oldest first.
    std::vector<std::string> dueTables(double now, int limit);
    // Unfinished tables created from an address, loaded or not.
    int unfinishedFrom(const std::string& address);
    std::optional<StoredTable> table(const std::string& code);
    const std::string& lastError() const { return lastError_; }

private:
    bool run(const char* sql);
    bool addListingColumns();
    bool addPaceColumns();
    sqlite3_stmt* prepare(const char* sql);
    bool insertLines(const std::string& code, int firstIndex, const std::vector<std::string>& lines);
    bool commitOrRollBack(bool ok);
    void readSeatsAndLines(StoredTable& table);

    void checkpointEverySecond(std::string path);

    sqlite3* db_ = nullptr;
    std::string lastError_;
    // Checkpoints copy the log into the database and wait for the disk: a
    // thread of their own does them, so a commit on the loop never does.
    std::thread checkpointer_;
    std::mutex stopMutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
};

}  // namespace daro::server
