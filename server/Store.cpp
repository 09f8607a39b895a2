#include "Store.h"

#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>

namespace daro::server {

namespace {
constexpr const char* schema = R"(
CREATE TABLE IF NOT EXISTS tables(
  code TEXT PRIMARY KEY,
  seats TEXT NOT NULL,
  level INTEGER NOT NULL,
  grace INTEGER NOT NULL,
  finished INTEGER NOT NULL DEFAULT 0,
  result TEXT NOT NULL DEFAULT '');
CREATE TABLE IF NOT EXISTS seats(
  code TEXT NOT NULL,
  seat INTEGER NOT NULL,
  name TEXT NOT NULL,
  token_hash TEXT NOT NULL,
  PRIMARY KEY(code, seat)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS events(
  code TEXT NOT NULL,
  idx INTEGER NOT NULL,
  line TEXT NOT NULL,
  PRIMARY KEY(code, idx)) WITHOUT ROWID;
)";

// Binds and steps one statement, then resets it for the next use.
class Statement {
public:
    explicit Statement(sqlite3_stmt* s) : s_(s) {}
    ~Statement() {
        if (s_ != nullptr) {
            sqlite3_reset(s_);
            sqlite3_clear_bindings(s_);
        }
    }
    Statement& text(int i, const std::string& v) {
        sqlite3_bind_text(s_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& number(int i, long long v) {
        sqlite3_bind_int64(s_, i, v);
        return *this;
    }
    int step() { return s_ == nullptr ? SQLITE_ERROR : sqlite3_step(s_); }
    bool done() { return step() == SQLITE_DONE; }
    std::string column(int i) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s_, i));
        return t == nullptr ? std::string() : std::string(t, static_cast<std::size_t>(sqlite3_column_bytes(s_, i)));
    }
    long long columnNumber(int i) { return sqlite3_column_int64(s_, i); }
    double columnDouble(int i) { return sqlite3_column_double(s_, i); }

private:
    sqlite3_stmt* s_;
};
}  // namespace

Store::Store(const std::string& folder) {
    std::error_code ec;
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    const std::string path =
        folder.empty() ? ":memory:" : (std::filesystem::path(folder) / "daro-server.sqlite").string();
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const std::string why = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw std::runtime_error("cannot open " + path + ": " + why);
    }
    // WAL with NORMAL sync: a commit is in the log before we announce it, so
    // a killed process loses nothing; only a power cut may lose the last few.
    if (!run("PRAGMA journal_mode=WAL") || !run("PRAGMA synchronous=NORMAL") || !run("PRAGMA busy_timeout=2000") ||
        !run(schema) || !addListingColumns() || !addPaceColumns()) {
        const std::string why = lastError_;
        sqlite3_close(db_);
        throw std::runtime_error("cannot prepare " + path + ": " + why);
    }
    if (!folder.empty()) {
        run("PRAGMA wal_autocheckpoint=0");
        checkpointer_ = std::thread([this, path] { checkpointEverySecond(path); });
    }
}

void Store::checkpointEverySecond(std::string path) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return;
    }
    sqlite3_busy_timeout(db, 100);
    std::unique_lock lock(stopMutex_);
    while (!stop_.wait_for(lock, std::chrono::seconds(1), [this] { return stopping_; })) {
        lock.unlock();
        // PASSIVE never waits for the writer; what it cannot copy now, it copies next time.
        sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
        lock.lock();
    }
    sqlite3_close(db);
}

Store::~Store() {
    if (checkpointer_.joinable()) {
        {
            std::lock_guard lock(stopMutex_);
            stopping_ = true;
        }
        stop_.notify_all();
        checkpointer_.join();
    }
    // Finalizes the cached statements with the connection.
    sqlite3_stmt* s = nullptr;
    while ((s = sqlite3_next_stmt(db_, nullptr)) != nullptr) sqlite3_finalize(s);
    sqlite3_close(db_);
}

bool Store::run(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
    lastError_ = message != nullptr ? message : "unknown SQLite error";
    sqlite3_free(message);
    return false;
}

// Statements are prepared once and kept: the same few run for every move.
sqlite3_stmt* Store::prepare(const char* sql) {
    for (sqlite3_stmt* s = sqlite3_next_stmt(db_, nullptr); s != nullptr; s = sqlite3_next_stmt(db_, s))
        if (sqlite3_sql(s) == sql || std::string_view(sqlite3_sql(s)) == sql) return s;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr) != SQLITE_OK) {
        lastError_ = sqlite3_errmsg(db_);
        return nullptr;
    }
    return s;
}

bool Store::commitOrRollBack(bool ok) {
    if (!ok) lastError_ = sqlite3_errmsg(db_);
    if (ok && run("COMMIT")) return true;
    run("ROLLBACK");
    return false;
}

// Stores from before the lobby have no such columns: their tables are
// private and wait for their players, as they always did.
bool Store::addListingColumns() {
    bool has = false;
    {
        Statement columns(prepare("PRAGMA table_info(tables)"));
        while (columns.step() == SQLITE_ROW) has = has || columns.column(1) == "public";
    }
    return has || run("ALTER TABLE tables ADD COLUMN public INTEGER NOT NULL DEFAULT 0;"
                      "ALTER TABLE tables ADD COLUMN quick_wait INTEGER NOT NULL DEFAULT 0");
}

// Stores from before turn-based tables: every table in them is live.
bool Store::addPaceColumns() {
    bool has = false;
    {
        Statement columns(prepare("PRAGMA table_info(tables)"));
        while (columns.step() == SQLITE_ROW) has = has || columns.column(1) == "pace";
    }
    return (has || run("ALTER TABLE tables ADD COLUMN pace TEXT NOT NULL DEFAULT 'live';"
                       "ALTER TABLE tables ADD COLUMN move_seconds INTEGER NOT NULL DEFAULT 0;"
                       "ALTER TABLE tables ADD COLUMN hints INTEGER NOT NULL DEFAULT 0;"
                       "ALTER TABLE tables ADD COLUMN turn_seat INTEGER NOT NULL DEFAULT 0;"
                       "ALTER TABLE tables ADD COLUMN turn_ends REAL NOT NULL DEFAULT 0;"
                       "ALTER TABLE tables ADD COLUMN created_from TEXT NOT NULL DEFAULT '';"
                       "ALTER TABLE tables ADD COLUMN rematch TEXT NOT NULL DEFAULT ''")) &&
           run("CREATE INDEX IF NOT EXISTS tables_due ON tables(turn_ends) WHERE finished = 0 AND pace = 'turn';"
               "CREATE INDEX IF NOT EXISTS tables_from ON tables(created_from) WHERE finished = 0");
}

bool Store::createTable(const StoredTable& table) {
    if (!run("BEGIN")) return false;
    bool ok = Statement(prepare("INSERT INTO tables(code, seats, level, grace, public, quick_wait, pace, move_seconds, "
                                "hints, created_from) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)"))
                  .text(1, table.code)
                  .text(2, table.seats)
                  .number(3, table.level)
                  .number(4, table.grace)
                  .number(5, table.isPublic ? 1 : 0)
                  .number(6, table.quickWait)
                  .text(7, table.turnPace ? "turn" : "live")
                  .number(8, table.moveSeconds)
                  .number(9, table.hints ? 1 : 0)
                  .text(10, table.createdFrom)
                  .done();
    ok = ok && insertLines(table.code, 0, table.lines);
    return commitOrRollBack(ok);
}

bool Store::setSeatKinds(const std::string& code, const std::string& seats) {
    if (!run("BEGIN")) return false;
    const bool ok = Statement(prepare("UPDATE tables SET seats = ?2 WHERE code = ?1")).text(1, code).text(2, seats).done();
    return commitOrRollBack(ok);
}

bool Store::setSeat(const std::string& code, int seat, const StoredSeat& holder) {
    if (!run("BEGIN")) return false;
    bool ok = Statement(prepare("INSERT OR REPLACE INTO seats(code, seat, name, token_hash) VALUES(?1, ?2, ?3, ?4)"))
                  .text(1, code)
                  .number(2, seat)
                  .text(3, holder.name)
                  .text(4, holder.tokenHash)
                  .done();
    return commitOrRollBack(ok);
}

bool Store::insertLines(const std::string& code, int firstIndex, const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool ok = Statement(prepare("INSERT INTO events(code, idx, line) VALUES(?1, ?2, ?3)"))
                            .text(1, code)
                            .number(2, firstIndex + static_cast<long long>(i))
                            .text(3, lines[i])
                            .done();
        if (!ok) return false;
    }
    return true;
}

bool Store::appendLines(const std::string& code, int firstIndex, const std::vector<std::string>& lines) {
    if (lines.empty()) return true;
    if (!run("BEGIN")) return false;
    return commitOrRollBack(insertLines(code, firstIndex, lines));
}

bool Store::finish(const std::string& code, const std::string& result, int firstIndex,
                   const std::vector<std::string>& lines) {
    if (!run("BEGIN")) return false;
    bool ok = insertLines(code, firstIndex, lines);
    ok = ok && Statement(prepare("UPDATE tables SET finished = 1, result = ?2 WHERE code = ?1"))
                   .text(1, code)
                   .text(2, result)
                   .done();
    return commitOrRollBack(ok);
}

bool Store::setTurn(const std::string& code, int seat, double ends) {
    if (!run("BEGIN")) return false;
    sqlite3_stmt* s = prepare("UPDATE tables SET turn_seat = ?2, turn_ends = ?3 WHERE code = ?1");
    bool ok = s != nullptr;
    if (ok) {
        sqlite3_bind_double(s, 3, ends);
        ok = Statement(s).text(1, code).number(2, seat).done();
    }
    return commitOrRollBack(ok);
}

bool Store::setRematch(const std::string& code, const std::string& rematch) {
    if (!run("BEGIN")) return false;
    const bool ok =
        Statement(prepare("UPDATE tables SET rematch = ?2 WHERE code = ?1")).text(1, code).text(2, rematch).done();
    return commitOrRollBack(ok);
}

std::vector<std::string> Store::dueTables(double now, int limit) {
    std::vector<std::string> codes;
    sqlite3_stmt* s = prepare("SELECT code FROM tables WHERE finished = 0 AND pace = 'turn' AND turn_ends > 0 "
                              "AND turn_ends <= ?1 ORDER BY turn_ends LIMIT ?2");
    if (s == nullptr) return codes;
    sqlite3_bind_double(s, 1, now);
    Statement rows(s);
    rows.number(2, limit);
    while (rows.step() == SQLITE_ROW) codes.push_back(rows.column(0));
    return codes;
}

int Store::unfinishedFrom(const std::string& address) {
    Statement row(prepare("SELECT count(*) FROM tables WHERE finished = 0 AND created_from = ?1"));
    row.text(1, address);
    return row.step() == SQLITE_ROW ? static_cast<int>(row.columnNumber(0)) : 0;
}

bool Store::removeTable(const std::string& code) {
    if (!run("BEGIN")) return false;
    bool ok = Statement(prepare("DELETE FROM events WHERE code = ?1")).text(1, code).done();
    ok = ok && Statement(prepare("DELETE FROM seats WHERE code = ?1")).text(1, code).done();
    ok = ok && Statement(prepare("DELETE FROM tables WHERE code = ?1")).text(1, code).done();
    return commitOrRollBack(ok);
}

void Store::readSeatsAndLines(StoredTable& table) {
    Statement seats(prepare("SELECT seat, name, token_hash FROM seats WHERE code = ?1"));
    seats.text(1, table.code);
    while (seats.step() == SQLITE_ROW) {
        const long long s = seats.columnNumber(0);
        if (s >= 1 && s <= 7) table.seat[static_cast<std::size_t>(s)] = {seats.column(1), seats.column(2)};
    }
    Statement lines(prepare("SELECT line FROM events WHERE code = ?1 ORDER BY idx"));
    lines.text(1, table.code);
    while (lines.step() == SQLITE_ROW) table.lines.push_back(lines.column(0));
}

namespace {
StoredTable tableRow(Statement& row) {
    StoredTable t;
    t.code = row.column(0);
    t.seats = row.column(1);
    t.level = static_cast<int>(row.columnNumber(2));
    t.grace = static_cast<int>(row.columnNumber(3));
    t.finished = row.columnNumber(4) != 0;
    t.result = row.column(5);
    t.isPublic = row.columnNumber(6) != 0;
    t.quickWait = static_cast<int>(row.columnNumber(7));
    t.turnPace = row.column(8) == "turn";
    t.moveSeconds = static_cast<int>(row.columnNumber(9));
    t.hints = row.columnNumber(10) != 0;
    t.turnSeat = static_cast<int>(row.columnNumber(11));
    t.turnEnds = row.columnDouble(12);
    t.createdFrom = row.column(13);
    t.rematch = row.column(14);
    return t;
}
}  // namespace

std::vector<StoredTable> Store::unfinishedTables() {
    std::vector<StoredTable> tables;
    {
        Statement rows(prepare("SELECT code, seats, level, grace, finished, result, public, quick_wait, pace, move_seconds, hints, turn_seat, turn_ends, created_from, rematch FROM tables WHERE finished = 0 AND (pace = 'live' OR public = 1)"));
        while (rows.step() == SQLITE_ROW) tables.push_back(tableRow(rows));
    }
    for (auto& t : tables) readSeatsAndLines(t);
    return tables;
}

std::optional<StoredTable> Store::table(const std::string& code) {
    std::optional<StoredTable> found;
    {
        Statement row(prepare("SELECT code, seats, level, grace, finished, result, public, quick_wait, pace, move_seconds, hints, turn_seat, turn_ends, created_from, rematch FROM tables WHERE code = ?1"));
        row.text(1, code);
        if (row.step() == SQLITE_ROW) found = tableRow(row);
    }
    if (found) readSeatsAndLines(*found);
    return found;
}

}  // namespace daro::server
