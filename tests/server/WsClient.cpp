// The only test file that includes Beast: it is slow to compile.
#include "WsClient.h"

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>

namespace daro::test {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;

struct WsClient::Impl {
    asio::io_context loop;
    websocket::stream<beast::tcp_stream> ws{loop};
    beast::flat_buffer buffer;
    std::deque<Json> arrived;
    bool open = false, reading = false, ended = false;

    void readOne() {
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

WsClient::WsClient(unsigned short port, std::chrono::milliseconds timeout) : impl_(std::make_unique<Impl>()) {
    bool done = false;
    beast::get_lowest_layer(impl_->ws).expires_after(timeout);
    beast::get_lowest_layer(impl_->ws).async_connect(
        tcp::endpoint(asio::ip::make_address("127.0.0.1"), port), [this, &done](beast::error_code ec) {
            if (ec) {
                done = true;
                return;
            }
            impl_->ws.async_handshake("127.0.0.1", "/", [this, &done](beast::error_code ec2) {
                done = true;
                impl_->open = !ec2;
            });
        });
    impl_->runUntil([&] { return done; }, timeout + 1s);
    if (!done) {
        beast::get_lowest_layer(impl_->ws).cancel();
        impl_->runUntil([&] { return done; }, 1s);
    }
    beast::get_lowest_layer(impl_->ws).expires_never();
    if (impl_->open) impl_->readOne();
}

WsClient::~WsClient() { disconnect(); }

bool WsClient::connected() const { return impl_->open; }

void WsClient::send(const Json& message) { sendText(message.dump()); }

void WsClient::sendText(const std::string& text) {
    if (!impl_->open || impl_->ended) return;
    beast::error_code ec;
    impl_->ws.text(true);
    impl_->ws.write(asio::buffer(text), ec);
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
    beast::error_code ec;
    beast::get_lowest_layer(impl_->ws).socket().shutdown(tcp::socket::shutdown_both, ec);
    beast::get_lowest_layer(impl_->ws).socket().close(ec);
    impl_->ended = true;
    impl_->loop.restart();
    impl_->loop.poll();
}

void greet(WsClient& client, const std::string& name) {
    client.send({{"type", "hello"}, {"version", 1}, {"name", name}});
    client.until("welcome");
}

}  // namespace daro::test
