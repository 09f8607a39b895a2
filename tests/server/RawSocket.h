#pragma once
// A TCP connection that sends exactly the bytes a test writes: requests no
// proper client would make, and WebSocket frames of any kind, unanswered
// closes included.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace daro::test {

class RawSocket {
public:
    explicit RawSocket(unsigned short port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(port);
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
    }
    ~RawSocket() {
        if (fd_ >= 0) ::close(fd_);
    }
    RawSocket(const RawSocket&) = delete;
    RawSocket& operator=(const RawSocket&) = delete;

    bool connected() const { return connected_; }

    bool sendAll(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n <= 0) return false;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    // Appends what arrives within `wait` to `into`; false once the server
    // has closed (or reset) and nothing more will come.
    bool readSome(std::string& into, std::chrono::milliseconds wait) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(wait.count())) <= 0) return true;
        char chunk[65536];
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n <= 0) {
            reset_ = n < 0;
            return false;
        }
        into.append(chunk, static_cast<std::size_t>(n));
        return true;
    }

    // Everything until the server closes, or until `wait` has passed.
    std::string readToEnd(std::chrono::milliseconds wait) {
        std::string got;
        const auto end = std::chrono::steady_clock::now() + wait;
        while (std::chrono::steady_clock::now() < end && readSome(got, std::chrono::milliseconds(50))) {
        }
        return got;
    }

    // The connection ended with a reset rather than a close.
    bool wasReset() const { return reset_; }

private:
    int fd_;
    bool connected_ = false;
    bool reset_ = false;
};

struct RawHttpAnswer {
    int status = 0;  // 0: no answer (closed or reset first)
    std::map<std::string, std::string> headers;  // names in lower case
    std::string body;
};

inline RawHttpAnswer parseHttpAnswer(const std::string& bytes) {
    RawHttpAnswer a;
    const auto headEnd = bytes.find("\r\n\r\n");
    if (bytes.rfind("HTTP/1.", 0) != 0 || headEnd == std::string::npos) return a;
    a.status = std::stoi(bytes.substr(9, 3));
    std::size_t at = bytes.find("\r\n") + 2;
    while (at < headEnd) {
        const auto end = bytes.find("\r\n", at);
        const std::string line = bytes.substr(at, end - at);
        const auto colon = line.find(':');
        std::string name = line.substr(0, colon);
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::string value = colon == std::string::npos ? "" : line.substr(colon + 1);
        while (!value.empty() && value.front() == ' ') value.erase(0, 1);
        a.headers[name] = value;
        at = end + 2;
    }
    a.body = bytes.substr(headEnd + 4);
    return a;
}

// Sends the request as it is and reads the answer to the server's close.
inline RawHttpAnswer rawHttp(unsigned short port, std::string_view request,
                             std::chrono::milliseconds wait = std::chrono::seconds(5)) {
    RawSocket s(port);
    if (!s.connected() || !s.sendAll(request)) return {};
    return parseHttpAnswer(s.readToEnd(wait));
}

inline RawHttpAnswer rawGet(unsigned short port, std::string_view target) {
    return rawHttp(port, "GET " + std::string(target) + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
}

// A frame as a client must send it: masked.
inline std::string clientFrame(int opcode, std::string_view payload, bool fin = true) {
    std::string f;
    f += static_cast<char>((fin ? 0x80 : 0) | opcode);
    if (payload.size() < 126) {
        f += static_cast<char>(0x80 | payload.size());
    } else {
        f += static_cast<char>(0x80 | 126);
        f += static_cast<char>(payload.size() >> 8);
        f += static_cast<char>(payload.size() & 0xff);
    }
    static std::mt19937 random(7);
    const char mask[4] = {static_cast<char>(random()), static_cast<char>(random()), static_cast<char>(random()),
                          static_cast<char>(random())};
    f.append(mask, 4);
    for (std::size_t i = 0; i < payload.size(); ++i) f += static_cast<char>(payload[i] ^ mask[i % 4]);
    return f;
}

struct ServerFrame {
    int opcode = 0;
    bool fin = true;
    std::string payload;
};

// Takes one whole frame from the front of `buffer`, when one is there.
inline std::optional<ServerFrame> takeFrame(std::string& buffer) {
    if (buffer.size() < 2) return std::nullopt;
    const auto b0 = static_cast<unsigned char>(buffer[0]), b1 = static_cast<unsigned char>(buffer[1]);
    std::size_t length = b1 & 0x7f, at = 2;
    if (length == 126) {
        if (buffer.size() < 4) return std::nullopt;
        length = (static_cast<unsigned char>(buffer[2]) << 8) | static_cast<unsigned char>(buffer[3]);
        at = 4;
    } else if (length == 127) {
        if (buffer.size() < 10) return std::nullopt;
        length = 0;
        for (int i = 2; i < 10; ++i) length = (length << 8) | static_cast<unsigned char>(buffer[static_cast<std::size_t>(i)]);
        at = 10;
    }
    if (buffer.size() < at + length) return std::nullopt;
    ServerFrame f{b0 & 0x0f, (b0 & 0x80) != 0, buffer.substr(at, length)};
    buffer.erase(0, at + length);
    return f;
}

// The opening handshake by hand; true when the server switched protocols.
inline bool rawWebSocketHandshake(RawSocket& s, std::string& rest) {
    if (!s.sendAll("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                   "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n"))
        return false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (rest.find("\r\n\r\n") == std::string::npos && std::chrono::steady_clock::now() < end)
        if (!s.readSome(rest, std::chrono::milliseconds(50))) return false;
    const auto headEnd = rest.find("\r\n\r\n");
    if (headEnd == std::string::npos || rest.rfind("HTTP/1.1 101", 0) != 0) return false;
    rest.erase(0, headEnd + 4);
    return true;
}

}  // namespace daro::test
