// Every Beast and Asio template lives in this one file: they are slow to compile.
#include "Server.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <boost/asio.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>
#include <boost/beast/websocket.hpp>
#include <boost/beast/websocket/ssl.hpp>
#include <atomic>
#include <chrono>
#include <cmath>
#include <fstream>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <deque>
#include <iostream>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "Secrets.h"
#include "WebFolder.h"

namespace daro::server {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
namespace ssl = asio::ssl;
using tcp = asio::ip::tcp;
using boost::system::error_code;

namespace {

// Beyond the lobby's 4 KiB a message is still read and answered; past this
// the connection is closed, so nobody makes us hold more.
constexpr std::size_t readLimit = 16 * 1024;
// A client that does not read its messages is let go before they pile up.
constexpr std::size_t writeQueueLimit = 4 * 1024 * 1024;
constexpr auto handshakeTime = std::chrono::seconds(15);
// A connection the server closes gets this long to answer the close.
constexpr auto closeReplyTime = std::chrono::seconds(5);
// Plain HTTP: what a request may be; past it, a status says which part.
constexpr std::size_t requestLineLimit = 4096;
constexpr std::size_t requestHeaderLimit = 16 * 1024;
constexpr std::size_t requestBodyLimit = 1024;
// After an answer, what the client still sends is read and dropped for a
// while, so the kernel does not meet it with a reset that loses the answer.
constexpr auto lingerTime = std::chrono::seconds(3);
constexpr std::size_t lingerBytes = 4 * 1024 * 1024;

// The lobby's clock is the wall clock: turn-based tables keep their move
// times in the store across restarts. A test may move it on with a file
// that holds the seconds to add (--clock-file), read again at every tick.
std::atomic<double> clockSkew{0};

double monotonicSeconds() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count() + clockSkew;
}

void readClockFile(const std::string& path) {
    if (path.empty()) return;
    std::ifstream in(path);
    double skew = 0;
    if (in >> skew && std::isfinite(skew)) clockSkew = skew;
}

void logLine(const std::string& line) {
    char stamp[32];
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&t, &tm);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &tm);
    std::string out = std::string(stamp) + " " + line + "\n";
    std::fwrite(out.data(), 1, out.size(), stderr);
}

class SessionBase {
public:
    virtual ~SessionBase() = default;
    virtual void send(const std::string& text) = 0;
    virtual void closeWhenSent() = 0;
};

// Searches run here, at a lower priority than the loop, so a busy engine
// slows other searches, never the announcement of a move.
class WorkerPool {
public:
    WorkerPool(asio::io_context& loop, int count) : loop_(loop) {
        for (int i = 0; i < count; ++i) threads_.emplace_back([this] { work(); });
    }
    ~WorkerPool() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (auto& t : threads_) t.join();
    }
    using Done = std::function<void(std::optional<ChosenMove>)>;
    void post(SearchRequest request, Done done) {
        {
            std::lock_guard lock(mutex_);
            jobs_.push_back({request, std::move(done)});
        }
        wake_.notify_one();
    }

private:
    struct Job {
        SearchRequest request;
        Done done;
    };
    void work() {
        setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
        for (;;) {
            Job job;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
                if (stopping_) return;
                job = std::move(jobs_.front());
                jobs_.pop_front();
            }
            auto chosen = think(job.request);
            asio::post(loop_, [done = std::move(job.done), chosen] { done(chosen); });
        }
    }
    asio::io_context& loop_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;  // at most one a table: a table waits for its search
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

class Server : public Outbox {
public:
    Server(asio::io_context& loop, Store& store, const ServerOptions& options, int workers)
        : loop_(loop),
          lobby_(store, *this, options.limits),
          pool_(loop, workers),
          web_(options.webFolder),
          handshakesPerAddress_(options.limits.connectionsPerAddress) {}

    void send(ConnId to, const std::string& text) override {
        if (auto it = sessions_.find(to); it != sessions_.end()) it->second->send(text);
    }
    void close(ConnId who) override {
        if (auto it = sessions_.find(who); it != sessions_.end()) it->second->closeWhenSent();
    }
    void search(const std::string& code, std::uint64_t ticket, const SearchRequest& request) override {
        pool_.post(request, [this, code, ticket](std::optional<ChosenMove> chosen) {
            lobby_.searched(code, ticket, chosen, monotonicSeconds());
        });
    }
    void log(const std::string& line) override { logLine(line); }

    Lobby& lobby() { return lobby_; }
    const WebFolder& web() const { return web_; }
    ConnId add(std::shared_ptr<SessionBase> s) {
        const ConnId id = ++lastId_;
        sessions_[id] = std::move(s);
        return id;
    }
    void remove(ConnId id) {
        if (sessions_.erase(id) != 0) lobby_.disconnected(id, monotonicSeconds());
    }
    std::size_t sessionCount() const { return sessions_.size(); }

    // A connection that has not finished its handshake is not the lobby's
    // yet, so it counts here, against the same limit per address: nobody
    // holds sockets open by never finishing one.
    bool handshakeStarted(const std::string& address) {
        int& count = handshaking_[address];
        if (count >= handshakesPerAddress_) {
            if (count == 0) handshaking_.erase(address);
            return false;
        }
        ++count;
        return true;
    }
    void handshakeEnded(const std::string& address) {
        if (auto it = handshaking_.find(address); it != handshaking_.end() && --it->second <= 0) handshaking_.erase(it);
    }

private:
    asio::io_context& loop_;
    Lobby lobby_;
    WorkerPool pool_;
    WebFolder web_;
    std::unordered_map<ConnId, std::shared_ptr<SessionBase>> sessions_;
    ConnId lastId_ = 0;
    const int handshakesPerAddress_;
    std::unordered_map<std::string, int> handshaking_;
};

template <class Stream>
class Session : public SessionBase, public std::enable_shared_from_this<Session<Stream>> {
public:
    Session(Server& server, Stream&& stream) : server_(server), ws_(std::move(stream)) {}

    void start(const std::string& address) {
        address_ = address;
        if (!server_.handshakeStarted(address_)) {
            error_code ignored;
            beast::get_lowest_layer(ws_).socket().close(ignored);
            return;
        }
        handshaking_ = true;
        beast::get_lowest_layer(ws_).expires_after(handshakeTime);
        if constexpr (std::is_same_v<Stream, beast::ssl_stream<beast::tcp_stream>>) {
            ws_.next_layer().async_handshake(ssl::stream_base::server,
                                             [self = this->shared_from_this()](error_code ec) {
                                                 if (ec) return self->handshakeOver();
                                                 self->readRequest();
                                             });
        } else {
            readRequest();
        }
    }

    void send(const std::string& text) override {
        if (closing_ || id_ == 0) return;
        queued_ += text.size();
        if (queued_ > writeQueueLimit) {
            server_.log("closing a connection from " + address_ + " that does not read");
            beast::get_lowest_layer(ws_).cancel();
            closing_ = true;
            return;
        }
        queue_.push_back(std::make_shared<std::string>(text));
        if (queue_.size() == 1) writeNext();
    }

    void closeWhenSent() override {
        closing_ = true;
        if (queue_.empty()) closeNow();
    }

private:
    void readRequest() {
        parser_.emplace();
        parser_->header_limit(requestHeaderLimit);
        parser_->body_limit(requestBodyLimit);
        http::async_read(ws_.next_layer(), buffer_, *parser_,
                         [self = this->shared_from_this()](error_code ec, std::size_t) {
                             if (ec) return self->refuseRequest(ec);
                             self->onRequest();
                         });
    }

    // A request that could not be read whole: answered with what was wrong
    // when it was too much or no HTTP; a timeout or a hang-up just ends.
    void refuseRequest(error_code ec) {
        http::status status;
        if (ec == http::error::header_limit || ec == http::error::buffer_overflow) {
            // The parser takes the request line off the buffer once it is
            // whole: what is left starts with a method only while the line
            // itself was too long (a field's name holds no space).
            const auto data = buffer_.cdata();
            const std::string_view seen(static_cast<const char*>(data.data()), data.size());
            const auto space = seen.find(' ');
            const bool inRequestLine = space != std::string_view::npos && space > 0 && space < seen.find(':') &&
                                       seen.substr(0, space).find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") ==
                                           std::string_view::npos;
            status = inRequestLine ? http::status::uri_too_long : http::status::request_header_fields_too_large;
        } else if (ec == http::error::body_limit) {
            status = http::status::payload_too_large;
        } else if (ec.category() == http::make_error_code(http::error::bad_target).category() &&
                   ec != http::error::end_of_stream && ec != http::error::partial_message) {
            status = http::status::bad_request;
        } else {
            return handshakeOver();
        }
        auto response = std::make_shared<http::response<http::string_body>>(status, 11);
        response->set(http::field::content_type, "text/plain; charset=utf-8");
        response->body() = "daro-server: " + std::string(http::obsolete_reason(status)) + "\n";
        response->prepare_payload();
        sendPlain(response);
    }

    void onRequest() {
        auto request = parser_->release();
        if (request.target().size() > requestLineLimit) {
            auto response = std::make_shared<http::response<http::string_body>>(http::status::uri_too_long, 11);
            response->set(http::field::content_type, "text/plain; charset=utf-8");
            response->body() = "daro-server: URI Too Long\n";
            response->prepare_payload();
            return sendPlain(response);
        }
        if (!websocket::is_upgrade(request)) return answerPlainRequest(request);
        beast::get_lowest_layer(ws_).expires_never();
        auto timeouts = websocket::stream_base::timeout::suggested(beast::role_type::server);
        // Bounds the close handshake too: a closed connection is not held
        // open for a reply that does not come.
        timeouts.handshake_timeout = closeReplyTime;
        ws_.set_option(timeouts);
        ws_.read_message_max(readLimit);
        ws_.set_option(websocket::stream_base::decorator(
            [](websocket::response_type& r) { r.set(http::field::server, "daro-server"); }));
        ws_.async_accept(request, [self = this->shared_from_this()](error_code ec) {
            if (ec) return self->handshakeOver();
            self->onAccepted();
        });
    }

    // Plain HTTP: GET /game/CODE is a table's game file, anything else the
    // browser's page from the web folder.
    void answerPlainRequest(const http::request<http::string_body>& request) {
        auto response = std::make_shared<http::response<http::string_body>>();
        response->version(request.version());
        const std::string target(request.target());
        const std::string prefix = "/game/";
        const bool head = request.method() == http::verb::head;
        if (request.method() != http::verb::get && !head) {
            response->result(http::status::method_not_allowed);
            response->set(http::field::allow, "GET, HEAD");
            response->body() = "daro-server: only GET and HEAD are answered here\n";
        } else if (target.rfind(prefix, 0) == 0) {
            const std::string code = tableCodeOf(target.substr(prefix.size()));
            std::string text = code.empty() ? "" : server_.lobby().gameFile(code);
            if (text.empty()) {
                response->result(http::status::not_found);
                response->body() = "daro-server: GET /game/CODE gives a table's game file; play over WebSocket\n";
            } else {
                response->result(http::status::ok);
                response->set(http::field::content_disposition, "attachment; filename=\"" + code + ".daro\"");
                response->body() = std::move(text);
            }
        } else {
            WebAnswer page = server_.web().get(target);
            response->result(static_cast<http::status>(page.status));
            response->set(http::field::content_type, page.contentType);
            response->set(http::field::cache_control, page.cacheControl);
            if (page.status == 200) {
                response->set("Content-Security-Policy",
                              contentSecurityPolicy(std::string(request[http::field::host])));
            } else if (!server_.web().present()) {
                page.body = "daro-server: this server has no web folder; play with the desktop program\n";
            }
            response->body() = std::move(page.body);
        }
        if (response->count(http::field::content_type) == 0)
            response->set(http::field::content_type, "text/plain; charset=utf-8");
        response->prepare_payload();
        // HEAD: the length of what GET would send, and nothing of it.
        if (head) response->body().clear();
        sendPlain(response);
    }

    void sendPlain(const std::shared_ptr<http::response<http::string_body>>& response) {
        response->set(http::field::server, "daro-server");
        response->set("X-Content-Type-Options", "nosniff");
        response->keep_alive(false);
        beast::get_lowest_layer(ws_).expires_after(handshakeTime);
        http::async_write(ws_.next_layer(), *response,
                          [self = this->shared_from_this(), response](error_code ec, std::size_t) {
                              if (ec) return self->closePlain();
                              error_code ignored;
                              beast::get_lowest_layer(self->ws_).socket().shutdown(tcp::socket::shutdown_send, ignored);
                              beast::get_lowest_layer(self->ws_).expires_after(lingerTime);
                              self->linger();
                          });
    }

    void linger() {
        beast::get_lowest_layer(ws_).async_read_some(
            asio::buffer(lingerBuffer_), [self = this->shared_from_this()](error_code ec, std::size_t n) {
                self->lingered_ += n;
                if (ec || self->lingered_ > lingerBytes) return self->closePlain();
                self->linger();
            });
    }

    void closePlain() {
        handshakeOver();
        error_code ignored;
        beast::get_lowest_layer(ws_).socket().close(ignored);
    }

    // Every way out of the handshake passes here once: success, failure,
    // time out, or a plain request answered.
    void handshakeOver() {
        if (!handshaking_) return;
        handshaking_ = false;
        server_.handshakeEnded(address_);
    }

    void onAccepted() {
        handshakeOver();
        id_ = server_.add(this->shared_from_this());
        buffer_.clear();
        if (!server_.lobby().connected(id_, address_, monotonicSeconds())) return;
        read();
    }

    void read() {
        ws_.async_read(buffer_, [self = this->shared_from_this()](error_code ec, std::size_t) {
            if (ec) return self->end();
            self->onMessage();
        });
    }

    void onMessage() {
        const auto data = buffer_.cdata();
        if (ws_.got_binary())
            server_.lobby().receivedBinary(id_, monotonicSeconds());
        else
            server_.lobby().received(id_, std::string_view(static_cast<const char*>(data.data()), data.size()),
                                     monotonicSeconds());
        buffer_.consume(buffer_.size());
        if (!closing_) read();
    }

    void writeNext() {
        ws_.text(true);
        ws_.async_write(asio::buffer(*queue_.front()), [self = this->shared_from_this()](error_code ec, std::size_t) {
            if (ec) return self->end();
            self->queued_ -= self->queue_.front()->size();
            self->queue_.pop_front();
            if (!self->queue_.empty())
                self->writeNext();
            else if (self->closing_)
                self->closeNow();
        });
    }

    void closeNow() {
        if (closeStarted_) return;
        closeStarted_ = true;
        ws_.async_close(websocket::close_code::policy_error,
                        [self = this->shared_from_this()](error_code) { self->end(); });
    }

    void end() {
        if (ended_) return;
        ended_ = true;
        closing_ = true;
        queue_.clear();
        error_code ignored;
        beast::get_lowest_layer(ws_).socket().close(ignored);
        if (id_ != 0) server_.remove(id_);
    }

    Server& server_;
    websocket::stream<Stream> ws_;
    beast::flat_buffer buffer_{readLimit + 1024};
    std::optional<http::request_parser<http::string_body>> parser_;
    std::array<char, 16 * 1024> lingerBuffer_;
    std::size_t lingered_ = 0;
    std::deque<std::shared_ptr<std::string>> queue_;
    std::size_t queued_ = 0;
    std::string address_;
    ConnId id_ = 0;
    bool closing_ = false, closeStarted_ = false, ended_ = false;
    bool handshaking_ = false;  // counted by the server until handshakeOver()
};

class Listener {
public:
    Listener(asio::io_context& loop, Server& server, tcp::endpoint at, ssl::context* tls)
        : loop_(loop), server_(server), acceptor_(loop), retry_(loop), tls_(tls) {
        acceptor_.open(at.protocol());
        acceptor_.set_option(asio::socket_base::reuse_address(true));
        acceptor_.bind(at);
        acceptor_.listen(asio::socket_base::max_listen_connections);
    }
    tcp::endpoint endpoint() const { return acceptor_.local_endpoint(); }
    void accept() {
        acceptor_.async_accept(loop_, [this](error_code ec, tcp::socket socket) {
            if (ec == asio::error::operation_aborted) return;
            if (ec) {
                // Out of descriptors, most likely: wait for some to be freed rather than spin.
                logLine("accept: " + ec.message());
                retry_.expires_after(std::chrono::milliseconds(200));
                retry_.async_wait([this](error_code e) {
                    if (!e) accept();
                });
                return;
            }
            error_code peerError;
            const auto peer = socket.remote_endpoint(peerError);
            socket.set_option(tcp::no_delay(true), peerError);
            const std::string address = peerError ? "?" : peer.address().to_string();
            if (tls_ != nullptr) {
                auto s = std::make_shared<Session<beast::ssl_stream<beast::tcp_stream>>>(
                    server_, beast::ssl_stream<beast::tcp_stream>(beast::tcp_stream(std::move(socket)), *tls_));
                s->start(address);
            } else {
                auto s = std::make_shared<Session<beast::tcp_stream>>(server_, beast::tcp_stream(std::move(socket)));
                s->start(address);
            }
            accept();
        });
    }
    void stop() {
        error_code ignored;
        acceptor_.close(ignored);
    }

private:
    asio::io_context& loop_;
    Server& server_;
    tcp::acceptor acceptor_;
    asio::steady_timer retry_;
    ssl::context* tls_;
};

void tickEvery(asio::steady_timer& timer, Lobby& lobby, const std::string& clockFile) {
    timer.expires_after(std::chrono::milliseconds(250));
    timer.async_wait([&timer, &lobby, &clockFile](error_code ec) {
        if (ec) return;
        readClockFile(clockFile);
        lobby.tick(monotonicSeconds());
        tickEvery(timer, lobby, clockFile);
    });
}

}  // namespace

int runServer(const ServerOptions& options) {
    try {
        Store store(options.dataFolder);
        asio::io_context loop(1);
        std::optional<ssl::context> tls;
        if (!options.tlsCert.empty()) {
            tls.emplace(ssl::context::tls_server);
            tls->set_options(ssl::context::default_workarounds | ssl::context::no_sslv2 | ssl::context::no_sslv3 |
                             ssl::context::no_tlsv1 | ssl::context::no_tlsv1_1);
            tls->use_certificate_chain_file(options.tlsCert);
            tls->use_private_key_file(options.tlsKey, ssl::context::pem);
        }
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        const int workers = options.workers > 0 ? options.workers : static_cast<int>(std::max(1u, cores - 1));
        readClockFile(options.clockFile);
        const auto restoreStart = std::chrono::steady_clock::now();
        Server server(loop, store, options, workers);
        server.lobby().restore(monotonicSeconds());
        Listener listener(loop, server, tcp::endpoint(asio::ip::make_address(options.host), options.port),
                          tls ? &*tls : nullptr);
        listener.accept();
        const auto at = listener.endpoint();
        logLine(std::string("listening on ") + (tls ? "wss://" : "ws://") + at.address().to_string() + ":" +
                std::to_string(at.port()) + " with data in " + options.dataFolder + ", " +
                std::to_string(server.lobby().tableCount()) + " tables restored in " +
                std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                                      restoreStart)
                                   .count()) +
                " ms");
        if (server.web().present())
            logLine("serving the page from " + server.web().root().string());
        else
            logLine("no web folder" + (options.webFolder.empty() ? std::string() : " at " + options.webFolder) +
                    ": GET / answers 404; --web DIR names the folder of the built page");
        asio::steady_timer ticker(loop);
        tickEvery(ticker, server.lobby(), options.clockFile);
        asio::signal_set signals(loop, SIGINT, SIGTERM);
        signals.async_wait([&](error_code, int) {
            logLine("stopping");
            listener.stop();
            loop.stop();
        });
        loop.run();
        return 0;
    } catch (const std::exception& e) {
        logLine(std::string("daro-server: ") + e.what());
        return 1;
    }
}

}  // namespace daro::server
