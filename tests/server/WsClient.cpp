// The only test file that includes Beast: it is slow to compile.
#include "WsClient.h"

#include <boost/asio.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>
#include <boost/beast/websocket.hpp>
#include <boost/beast/websocket/ssl.hpp>

namespace daro::test {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
namespace ssl = asio::ssl;
using tcp = asio::ip::tcp;
using TlsStream = beast::ssl_stream<beast::tcp_stream>;

namespace {

tcp::endpoint localhost(unsigned short port) { return {asio::ip::make_address("127.0.0.1"), port}; }

// The tests' certificates are their own, signed by nobody: nothing is checked.
ssl::context tlsClientContext() {
    ssl::context tls(ssl::context::tls_client);
    tls.set_verify_mode(ssl::verify_none);
    return tls;
}

template <class Stream>
constexpr bool overTls = std::is_same_v<Stream, TlsStream>;

}  // namespace

struct WsClient::Impl {
    virtual ~Impl() = default;
    asio::io_context loop;
    ssl::context tls = tlsClientContext();  // before the stream that uses it
    beast::flat_buffer buffer;
    std::deque<Json> arrived;
    bool open = false, reading = false, ended = false;

    virtual void connect(unsigned short port, std::chrono::milliseconds timeout) = 0;
    virtual void readOne() = 0;
    virtual void write(const std::string& text) = 0;
    virtual void closeSocket() = 0;

    // Runs the loop until `done` or the time is up.
    template <class Done>
    void runUntil(Done done, std::chrono::milliseconds timeout) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        loop.restart();
        while (!done()) {
            const auto left = end - std::chrono::steady_clock::now();
            if (left <= std::chrono::steady_clock::duration::zero()) break;
            if (loop.run_one_for(left) == 0 && loop.stopped()) loop.restart();
        }
    }
};

template <class Stream>
struct WsClient::Over : WsClient::Impl {
    websocket::stream<Stream> ws = makeStream();

    websocket::stream<Stream> makeStream() {
        if constexpr (overTls<Stream>)
            return websocket::stream<Stream>(loop, tls);
        else
            return websocket::stream<Stream>(loop);
    }

    void connect(unsigned short port, std::chrono::milliseconds timeout) override {
        bool done = false;
        auto& lowest = beast::get_lowest_layer(ws);
        auto upgrade = [this, &done] {
            ws.async_handshake("127.0.0.1", "/", [this, &done](beast::error_code ec) {
                done = true;
                open = !ec;
            });
        };
        lowest.expires_after(timeout);
        lowest.async_connect(localhost(port), [this, &done, upgrade](beast::error_code ec) {
            if (ec) {
                done = true;
                return;
            }
            if constexpr (overTls<Stream>) {
                ws.next_layer().async_handshake(ssl::stream_base::client, [&done, upgrade](beast::error_code ec2) {
                    if (ec2)
                        done = true;
                    else
                        upgrade();
                });
            } else {
                upgrade();
            }
        });
        runUntil([&] { return done; }, timeout + 1s);
        if (!done) {
            lowest.cancel();
            runUntil([&] { return done; }, 1s);
        }
        lowest.expires_never();
    }

    void readOne() override {
        if (reading || ended) return;
        reading = true;
        ws.async_read(buffer, [this](beast::error_code ec, std::size_t) {
            reading = false;
            if (ec) {
                ended = true;
                return;
            }
            const auto data = buffer.cdata();
            arrived.push_back(Json::parse(std::string_view(static_cast<const char*>(data.data()), data.size()),
                                          nullptr, false));
            buffer.consume(buffer.size());
            readOne();
        });
    }

    void write(const std::string& text) override {
        beast::error_code ec;
        ws.text(true);
        ws.write(asio::buffer(text), ec);
    }

    void closeSocket() override {
        beast::error_code ec;
        beast::get_lowest_layer(ws).socket().shutdown(tcp::socket::shutdown_both, ec);
        beast::get_lowest_layer(ws).socket().close(ec);
    }
};

WsClient::WsClient(unsigned short port, std::chrono::milliseconds timeout)
    : WsClient(port, Transport::plain, timeout) {}

WsClient::WsClient(unsigned short port, Transport transport, std::chrono::milliseconds timeout) {
    if (transport == Transport::tls)
        impl_ = std::make_unique<Over<TlsStream>>();
    else
        impl_ = std::make_unique<Over<beast::tcp_stream>>();
    impl_->connect(port, timeout);
    if (impl_->open) impl_->readOne();
}

WsClient::~WsClient() { disconnect(); }

bool WsClient::connected() const { return impl_->open; }

void WsClient::send(const Json& message) { sendText(message.dump()); }

void WsClient::sendText(const std::string& text) {
    if (!impl_->open || impl_->ended) return;
    impl_->write(text);
}

std::optional<Json> WsClient::next(std::chrono::milliseconds timeout) {
    impl_->runUntil([&] { return !impl_->arrived.empty() || impl_->ended; }, timeout);
    if (impl_->arrived.empty()) return std::nullopt;
    Json j = std::move(impl_->arrived.front());
    impl_->arrived.pop_front();
    seen.push_back(j);
    return j;
}

std::optional<Json> WsClient::until(const std::string& type, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        auto j = next(left);
        if (!j) return std::nullopt;
        if (j->is_object() && j->value("type", "") == type) return j;
    }
}

std::vector<Json> WsClient::drain(std::chrono::milliseconds quiet) {
    std::vector<Json> got;
    while (auto j = next(quiet)) got.push_back(*j);
    return got;
}

bool WsClient::closedByServer(std::chrono::milliseconds timeout) {
    impl_->runUntil([&] { return impl_->ended; }, timeout);
    while (!impl_->arrived.empty()) {
        seen.push_back(impl_->arrived.front());
        impl_->arrived.pop_front();
    }
    return impl_->ended;
}

void WsClient::disconnect() {
    if (!impl_->open) return;
    impl_->open = false;
    impl_->closeSocket();
    impl_->ended = true;
    impl_->loop.restart();
    impl_->loop.poll();
}

void greet(WsClient& client, const std::string& name) {
    client.send({{"type", "hello"}, {"version", 1}, {"name", name}});
    client.until("welcome");
}

namespace {

template <class Stream>
HttpAnswer fetch(asio::io_context& loop, Stream& stream, unsigned short port, const std::string& target,
                 std::chrono::milliseconds timeout) {
    HttpAnswer answer;
    http::request<http::empty_body> request{http::verb::get, target, 11};
    request.set(http::field::host, "127.0.0.1");
    beast::flat_buffer buffer;
    http::response<http::string_body> response;
    auto exchange = [&] {
        http::async_write(stream, request, [&](beast::error_code ec, std::size_t) {
            if (ec) return;
            http::async_read(stream, buffer, response, [&](beast::error_code ec2, std::size_t) {
                if (ec2) return;
                answer.status = static_cast<int>(response.result_int());
                answer.body = response.body();
            });
        });
    };
    auto& lowest = beast::get_lowest_layer(stream);
    lowest.expires_after(timeout);
    lowest.async_connect(localhost(port), [&](beast::error_code ec) {
        if (ec) return;
        if constexpr (overTls<Stream>) {
            stream.async_handshake(ssl::stream_base::client, [&](beast::error_code ec2) {
                if (!ec2) exchange();
            });
        } else {
            exchange();
        }
    });
    loop.run_for(timeout + 1s);
    return answer;
}

}  // namespace

HttpAnswer httpGet(unsigned short port, const std::string& target, Transport transport,
                   std::chrono::milliseconds timeout) {
    asio::io_context loop;
    if (transport == Transport::tls) {
        ssl::context tls = tlsClientContext();
        TlsStream stream(loop, tls);
        return fetch(loop, stream, port, target, timeout);
    }
    beast::tcp_stream stream(loop);
    return fetch(loop, stream, port, target, timeout);
}

}  // namespace daro::test
