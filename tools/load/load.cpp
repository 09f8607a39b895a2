// daro-load: bot players for daro-server. Each table is seven bots on seven
// connections (or one bot against six LEVEL4 computers); the bots play
// random legal moves at a paced total rate and time every announcement from
// the moment the move was sent to its arrival at each player.
//
//   daro-load --port P [--tables N] [--rate MOVES_PER_S] [--seconds S]
//             [--warmup S] [--threads N] [--against-level4] [--record FILE]
//   daro-load --port P --check FILE --games DIR
//
// --record writes every announced move a bot saw ("CODE LINE") when the run
// ends, also when the server dies under it; --check then asks the restarted
// server for each table's game, reports any announced move it lacks, and
// writes the games to DIR for daro-autoplay --verify.
#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>

#include "TableMirror.h"

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using Json = nlohmann::json;
using Clock = std::chrono::steady_clock;

namespace {

using namespace daro;

struct Options {
    unsigned short port = 7770;
    int tables = 1000;
    double rate = 1000;
    double seconds = 30, warmup = 5;
    int threads = 2;
    bool againstLevel4 = false;
    std::string record, check, games;
};

// Everything a run measures; merged from every thread at the end.
struct Figures {
    std::vector<float> latencyMs;
    long movesSent = 0, announcements = 0, refused = 0, gamesFinished = 0;
    std::set<std::pair<std::string, std::string>> announced;  // (code, line)
    void add(const Figures& o) {
        latencyMs.insert(latencyMs.end(), o.latencyMs.begin(), o.latencyMs.end());
        movesSent += o.movesSent;
        announcements += o.announcements;
        refused += o.refused;
        gamesFinished += o.gamesFinished;
        announced.insert(o.announced.begin(), o.announced.end());
    }
};

class Group;

// One player's connection.
class Bot : public std::enable_shared_from_this<Bot> {
public:
    Bot(asio::io_context& loop, Group& group, int index) : ws_(loop), group_(group), index_(index) {}
    void connect(const tcp::endpoint& at);
    void send(std::string text) {
        if (dead_) return;
        queue_.push_back(std::move(text));
        if (queue_.size() == 1) writeNext();
    }
    void stop() {
        dead_ = true;
        beast::error_code ec;
        beast::get_lowest_layer(ws_).socket().close(ec);
    }

private:
    void read();
    void writeNext() {
        ws_.async_write(asio::buffer(queue_.front()), [self = shared_from_this()](beast::error_code ec, std::size_t) {
            if (ec) return;
            self->queue_.pop_front();
            if (!self->queue_.empty()) self->writeNext();
        });
    }
    websocket::stream<beast::tcp_stream> ws_;
    beast::flat_buffer buffer_;
    std::deque<std::string> queue_;
    Group& group_;
    int index_;
    bool dead_ = false;
};

struct Run {
    Options options;
    tcp::endpoint server;
    std::atomic<bool> measuring{false}, stopping{false};
    std::atomic<int> connected{0}, lost{0}, ready{0};
};

// One table and its bots.
class Group {
public:
    Group(asio::io_context& loop, Run& run, Figures& figures, std::uint32_t seed)
        : loop_(loop), run_(run), figures_(figures), pace_(loop), rng_(seed) {
        const int bots = run.options.againstLevel4 ? 1 : 7;
        for (int i = 0; i < bots; ++i) bots_.push_back(std::make_shared<Bot>(loop, *this, i));
    }

    void start() {
        for (auto& b : bots_) b->connect(run_.server);
    }
    void stop() {
        for (auto& b : bots_) b->stop();
    }

    void onConnected(int index) {
        ++run_.connected;
        bots_[static_cast<std::size_t>(index)]->send(
            Json{{"type", "hello"}, {"version", 1}, {"name", "bot" + std::to_string(index + 1)}}.dump());
        if (++connectedBots_ == static_cast<int>(bots_.size())) create();
    }
    void onLost() {
        ++run_.lost;
    }

    void onMessage(int index, const Json& m) {
        const std::string type = m.value("type", "");
        if (type == "created") {
            code_ = m["code"];
            for (std::size_t i = 0; i < bots_.size(); ++i)
                bots_[i]->send(Json{{"type", "join"}, {"code", code_}, {"seat", i + 1}}.dump());
            return;
        }
        if (type == "error") {
            ++figures_.refused;
            // A refused move (a king that would stand in reach): the computer's choice instead.
            if (m.value("about", "") == "move" && turn_ == index + 1) sendMove(true);
            return;
        }
        if (type == "moved") {
            const int n = m["n"];
            if (auto it = sentAt_.find(n); it != sentAt_.end() && run_.measuring) {
                figures_.latencyMs.push_back(
                    std::chrono::duration<float, std::milli>(Clock::now() - it->second).count());
                ++figures_.announcements;
            }
            if (!run_.options.record.empty()) {
                RecordEvent e{EventKind::Move, m["seat"].get<std::uint8_t>(), m["from"][0].get<std::uint8_t>(),
                              m["from"][1].get<std::uint8_t>(), m["to"][0].get<std::uint8_t>(),
                              m["to"][1].get<std::uint8_t>(), m["piece"].get<std::uint8_t>(),
                              m["captured"].get<std::uint8_t>()};
                figures_.announced.insert({code_, eventLine(e, n)});
            }
        }
        // The table's story is followed on the first bot's connection.
        if (index != 0) return;
        if (type == "table" && m["you"] == 1) {
            mirror_.start(m);
            if (!mirrorStarted_) ++run_.ready;
            mirrorStarted_ = true;
            return;
        }
        mirror_.follow(m);
        if (type == "moved") sentAt_.erase(sentAt_.begin(), sentAt_.lower_bound(m["n"].get<int>() - 8));
        if (type == "turn") {
            turn_ = m["seat"];
            if (turn_ <= static_cast<int>(bots_.size())) schedule();
        }
        if (type == "over") {
            ++figures_.gamesFinished;
            sentAt_.clear();
            for (auto& b : bots_) b->send(R"({"type":"leave"})");
            mirrorStarted_ = false;
            --run_.ready;
            create();
        }
    }

private:
    void create() {
        std::vector<std::string> seats(7, "human");
        if (run_.options.againstLevel4) std::fill(seats.begin() + 1, seats.end(), "level4");
        bots_[0]->send(Json{{"type", "create"}, {"seats", seats}, {"grace", 600}, {"level", 1}}.dump());
    }

    // The tables share the total rate: each moves once every tables/rate seconds.
    void schedule() {
        if (run_.stopping) return;
        const auto gap = std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(run_.options.againstLevel4 ? 0.0 : run_.options.tables / run_.options.rate));
        const auto at = std::max(Clock::now(), lastMove_ + gap);
        pace_.expires_at(at);
        pace_.async_wait([this](beast::error_code ec) {
            if (!ec) sendMove(false);
        });
    }

    void sendMove(bool asTheComputer) {
        if (run_.stopping || turn_ < 1 || turn_ > static_cast<int>(bots_.size())) return;
        const auto move = asTheComputer ? mirror_.choose(turn_) : randomMove(turn_);
        if (!move) return;
        lastMove_ = Clock::now();
        sentAt_[mirror_.table.moveNumber + 1] = lastMove_;
        if (run_.measuring) ++figures_.movesSent;
        bots_[static_cast<std::size_t>(turn_ - 1)]->send(
            Json{{"type", "move"}, {"from", {move->fromX, move->fromY}}, {"to", {move->toX, move->toY}}}.dump());
    }

    // A random legal move of any piece but the king (whose moves the
    // server may refuse for reach); the computer's when only the king can go.
    std::optional<TableMove> randomMove(int seat) {
        const Table& t = mirror_.table;
        const int block = Table::blockOfSeat(seat);
        std::vector<std::pair<int, int>> pieces;
        for (int x = 1; x <= 19; ++x)
            for (int y = 1; y <= 19; ++y) {
                const int code = t.board[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
                if (Table::blockOfCode(code) == block && !Table::isKingCode(code)) pieces.push_back({x, y});
            }
        std::shuffle(pieces.begin(), pieces.end(), rng_);
        for (const auto& [x, y] : pieces) {
            const int code = t.board[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
            int xmin, xmax, ymin, ymax;
            Table::取得_駒移動座標(code, x, y, xmin, xmax, ymin, ymax);
            std::vector<TableMove> moves;
            for (int tx = std::max(1, xmin); tx <= std::min(19, xmax); ++tx)
                for (int ty = std::max(1, ymin); ty <= std::min(19, ymax); ++ty)
                    if ((tx != x || ty != y) && t.移動チェック(x, y, tx, ty, code) == Table::valueYes)
                        moves.push_back({x, y, tx, ty});
            if (!moves.empty()) return moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(rng_)];
        }
        return mirror_.choose(seat);
    }

    asio::io_context& loop_;
    Run& run_;
    Figures& figures_;
    std::vector<std::shared_ptr<Bot>> bots_;
    int connectedBots_ = 0;
    std::string code_;
    server::TableMirror mirror_;
    bool mirrorStarted_ = false;
    int turn_ = 0;
    asio::steady_timer pace_;
    Clock::time_point lastMove_{};
    std::map<int, Clock::time_point> sentAt_;
    std::mt19937 rng_;
};

void Bot::connect(const tcp::endpoint& at) {
    beast::get_lowest_layer(ws_).expires_after(std::chrono::seconds(30));
    beast::get_lowest_layer(ws_).async_connect(at, [self = shared_from_this()](beast::error_code ec) {
        if (ec) return self->group_.onLost();
        beast::get_lowest_layer(self->ws_).socket().set_option(tcp::no_delay(true), ec);
        self->ws_.async_handshake("127.0.0.1", "/", [self](beast::error_code ec2) {
            beast::get_lowest_layer(self->ws_).expires_never();
            if (ec2) return self->group_.onLost();
            self->ws_.text(true);
            self->group_.onConnected(self->index_);
            self->read();
        });
    });
}

void Bot::read() {
    ws_.async_read(buffer_, [self = shared_from_this()](beast::error_code ec, std::size_t) {
        if (ec) {
            if (!self->dead_) self->group_.onLost();
            self->dead_ = true;
            return;
        }
        const auto data = self->buffer_.cdata();
        const Json m = Json::parse(std::string_view(static_cast<const char*>(data.data()), data.size()), nullptr, false);
        self->buffer_.consume(self->buffer_.size());
        if (m.is_object()) self->group_.onMessage(self->index_, m);
        self->read();
    });
}

double percentile(std::vector<float>& v, double p) {
    if (v.empty()) return 0;
    const auto k = static_cast<std::size_t>(p / 100.0 * static_cast<double>(v.size() - 1));
    std::nth_element(v.begin(), v.begin() + static_cast<long>(k), v.end());
    return v[k];
}

int runLoad(Run& run) {
    const Options& o = run.options;
    const int threads = std::max(1, o.threads);
    std::vector<std::unique_ptr<asio::io_context>> loops;
    std::vector<Figures> figures(static_cast<std::size_t>(threads));
    std::vector<std::vector<std::unique_ptr<Group>>> groups(static_cast<std::size_t>(threads));
    for (int i = 0; i < threads; ++i) loops.push_back(std::make_unique<asio::io_context>(1));
    for (int t = 0; t < o.tables; ++t) {
        const auto i = static_cast<std::size_t>(t % threads);
        groups[i].push_back(std::make_unique<Group>(*loops[i], run, figures[i], static_cast<std::uint32_t>(t + 1)));
    }
    std::vector<std::thread> workers;
    for (int i = 0; i < threads; ++i)
        workers.emplace_back([&, i] {
            auto guard = asio::make_work_guard(*loops[static_cast<std::size_t>(i)]);
            loops[static_cast<std::size_t>(i)]->run();
        });
    // Connections open a few tables at a time, as players arrive.
    const auto started = Clock::now();
    for (int t = 0; t < o.tables; ++t) {
        const auto i = static_cast<std::size_t>(t % threads);
        Group* g = groups[i][static_cast<std::size_t>(t / threads)].get();
        asio::post(*loops[i], [g] { g->start(); });
        if (t % 50 == 49) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const int expected = o.tables * (o.againstLevel4 ? 1 : 7);
    while (run.ready < o.tables && run.lost == 0 && Clock::now() - started < std::chrono::seconds(120))
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const double setup = std::chrono::duration<double>(Clock::now() - started).count();
    std::cerr << "daro-load: " << run.connected << " of " << expected << " connections, " << run.ready
              << " tables playing after " << setup << " s\n";
    std::this_thread::sleep_for(std::chrono::duration<double>(o.warmup));
    run.measuring = true;
    const auto measureStart = Clock::now();
    while (Clock::now() - measureStart < std::chrono::duration<double>(o.seconds) && run.lost < expected)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const double measured = std::chrono::duration<double>(Clock::now() - measureStart).count();
    run.measuring = false;
    run.stopping = true;
    for (std::size_t i = 0; i < loops.size(); ++i)
        asio::post(*loops[i], [&, i] {
            for (auto& g : groups[i]) g->stop();
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (auto& l : loops) l->stop();
    for (auto& w : workers) w.join();

    Figures all;
    for (auto& f : figures) all.add(f);
    std::cout << "connections " << run.connected << "\n"
              << "lost " << run.lost << "\n"
              << "seconds " << measured << "\n"
              << "moves_sent " << all.movesSent << "\n"
              << "moves_per_s " << static_cast<double>(all.movesSent) / measured << "\n"
              << "announcements " << all.announcements << "\n"
              << "games_finished " << all.gamesFinished << "\n"
              << "refused " << all.refused << "\n"
              << "latency_ms_p50 " << percentile(all.latencyMs, 50) << "\n"
              << "latency_ms_p99 " << percentile(all.latencyMs, 99) << "\n"
              << "latency_ms_max " << percentile(all.latencyMs, 100) << "\n";
    if (!o.record.empty()) {
        std::ofstream out(o.record + ".tmp");
        for (const auto& [code, line] : all.announced) out << code << " " << line << "\n";
        out.close();
        std::rename((o.record + ".tmp").c_str(), o.record.c_str());
        std::cout << "recorded " << all.announced.size() << "\n";
    }
    return 0;
}

// After a restart: every move a bot saw is in its table's game.
int checkRecord(const Options& o, const tcp::endpoint& server) {
    std::map<std::string, std::vector<std::string>> byTable;
    {
        std::ifstream in(o.check);
        std::string code, line;
        while (in >> code && std::getline(in, line)) byTable[code].push_back(line.substr(1));
    }
    asio::io_context loop;
    websocket::stream<tcp::socket> ws(loop);
    ws.next_layer().connect(server);
    ws.handshake("127.0.0.1", "/");
    ws.write(asio::buffer(Json{{"type", "hello"}, {"version", 1}, {"name", "checker"}}.dump()));
    beast::flat_buffer buffer;
    auto receive = [&] {
        buffer.consume(buffer.size());
        ws.read(buffer);
        const auto d = buffer.cdata();
        return Json::parse(std::string_view(static_cast<const char*>(d.data()), d.size()));
    };
    receive();
    long missing = 0, moves = 0;
    for (const auto& [code, lines] : byTable) {
        ws.write(asio::buffer(Json{{"type", "download"}, {"code", code}}.dump()));
        Json game;
        // Spread out, so the rate limit is never met.
        std::this_thread::sleep_for(std::chrono::milliseconds(55));
        game = receive();
        const std::string text = game.value("text", "");
        std::set<std::string> have;
        std::istringstream in(text);
        for (std::string l; std::getline(in, l);) have.insert(l);
        for (const auto& l : lines) {
            ++moves;
            if (have.count(l) == 0) {
                ++missing;
                std::cout << "missing " << code << " " << l << "\n";
            }
        }
        if (!o.games.empty()) std::ofstream(o.games + "/" + code + ".daro") << text;
    }
    std::cout << "tables " << byTable.size() << "\nannounced_moves " << moves << "\nmissing " << missing << "\n";
    return missing == 0 ? 0 : 1;
}

std::optional<Options> parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        try {
            if (a == "--port") o.port = static_cast<unsigned short>(std::stoi(value()));
            else if (a == "--tables") o.tables = std::clamp(std::stoi(value()), 1, 5000);
            else if (a == "--rate") o.rate = std::clamp(std::stod(value()), 1.0, 1e6);
            else if (a == "--seconds") o.seconds = std::clamp(std::stod(value()), 1.0, 3600.0);
            else if (a == "--warmup") o.warmup = std::clamp(std::stod(value()), 0.0, 600.0);
            else if (a == "--threads") o.threads = std::clamp(std::stoi(value()), 1, 16);
            else if (a == "--against-level4") o.againstLevel4 = true;
            else if (a == "--record") o.record = value();
            else if (a == "--check") o.check = value();
            else if (a == "--games") o.games = value();
            else return std::nullopt;
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }
    return o;
}

}  // namespace

int main(int argc, char** argv) {
    const auto options = parse(argc, argv);
    if (!options) {
        std::cerr << "usage: daro-load --port P [--tables N] [--rate R] [--seconds S] [--warmup S] [--threads N]\n"
                     "                 [--against-level4] [--record FILE]\n"
                     "       daro-load --port P --check FILE [--games DIR]\n";
        return 2;
    }
    const tcp::endpoint server(asio::ip::make_address("127.0.0.1"), options->port);
    try {
        if (!options->check.empty()) return checkRecord(*options, server);
        Run run;
        run.options = *options;
        run.server = server;
        return runLoad(run);
    } catch (const std::exception& e) {
        std::cerr << "daro-load: " << e.what() << "\n";
        return 1;
    }
}
