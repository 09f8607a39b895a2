// Connections and what they say: the address limits, the flood limits,
// reading a message and handing it to its handler, errors, hello.
#include "Lobby.h"

#include <algorithm>

#include "Announce.h"
#include "MessageFields.h"
#include "Secrets.h"

namespace daro::server {

bool Lobby::Bucket::take(double now, double rate, double burst) {
    if (last == 0) tokens = burst;
    tokens = std::min(burst, tokens + std::max(0.0, now - last) * rate);
    last = now;
    if (tokens < 1) return false;
    tokens -= 1;
    return true;
}

Lobby::Lobby(Store& store, Outbox& outbox, Limits limits) : store_(store), out_(outbox), limits_(limits) {}
Lobby::~Lobby() = default;

bool Lobby::connected(ConnId who, const std::string& address, double now) {
    if (connections_.count(who) != 0) return true;
    int& count = perAddress_[address];
    if (count >= limits_.connectionsPerAddress) {
        if (count == 0) perAddress_.erase(address);
        error(who, "too_many_connections", "", "this address has too many connections");
        out_.close(who);
        return false;
    }
    ++count;
    Connection& c = connections_[who];
    c.address = address;
    c.messages.last = c.chat.last = 0;
    (void)now;
    return true;
}

void Lobby::disconnected(ConnId who, double now) {
    auto it = connections_.find(who);
    if (it == connections_.end()) return;
    detach(who, it->second, now);
    subscribers_.erase(who);
    if (auto a = perAddress_.find(it->second.address); a != perAddress_.end() && --a->second <= 0)
        perAddress_.erase(a);
    connections_.erase(it);
}

void Lobby::received(ConnId who, std::string_view text, double now) {
    auto it = connections_.find(who);
    if (it == connections_.end()) return;
    Connection& c = it->second;
    if (!admitted(who, c, text, now)) return;
    const Json message = text.size() <= limits_.mineMessageBytes ? Json::parse(text, nullptr, false) : Json();
    // `mine` carries up to 100 tokens, more than other messages may.
    const bool mineList = message.is_object() && message.value("type", Json()) == "mine";
    if (text.size() > (mineList ? limits_.mineMessageBytes : limits_.maxMessageBytes)) {
        error(who, "too_large", "", "a message is at most " + std::to_string(limits_.maxMessageBytes) + " bytes");
        return;
    }
    if (message.is_discarded() || !message.is_object()) {
        error(who, "malformed", "", "a message is one JSON object");
        return;
    }
    try {
        dispatch(who, c, message, now);
    } catch (const nlohmann::json::exception&) {
        error(who, "malformed", "", "a field has the wrong type");
    }
}

// The flood limit. A refusal names the message it refused, so a client
// knows what to send again; the few it reads for that are bounded by the
// closing of the connection.
bool Lobby::admitted(ConnId who, Connection& c, std::string_view text, double now) {
    if (c.messages.take(now, limits_.messagesPerSecond, limits_.messageBurst)) return true;
    std::string about;
    if (text.size() <= limits_.maxMessageBytes) {
        const Json message = Json::parse(text, nullptr, false);
        const std::string* type = message.is_object() ? stringField(message, "type") : nullptr;
        if (type != nullptr && plainTextLength(*type)) about = type->substr(0, 32);
    }
    error(who, "rate_limited", about, "too many messages; slow down");
    if (++c.floods >= limits_.floodsBeforeClose) {
        out_.log("closing a flooding connection from " + c.address);
        out_.close(who);
    }
    return false;
}

void Lobby::receivedBinary(ConnId who, double now) {
    auto it = connections_.find(who);
    if (it == connections_.end() || !admitted(who, it->second, {}, now)) return;
    error(who, "malformed", "", "a message is one JSON object in a text message, not a binary one");
}

void Lobby::dispatch(ConnId who, Connection& c, const Json& m, double now) {
    const std::string* type = stringField(m, "type");
    if (type == nullptr) return error(who, "malformed", "", "a message needs a \"type\"");
    const std::string& t = *type;
    if (!c.greeted && t != "hello") return error(who, "hello_first", t, "the first message is \"hello\"");
    if (t == "hello") return hello(who, c, m);
    if (t == "create") return create(who, c, m, now);
    if (t == "join") return join(who, c, m, now);
    if (t == "spectate") return spectate(who, c, m, now);
    if (t == "reconnect") return reconnect(who, c, m, now);
    if (t == "leave") return leave(who, c, now);
    if (t == "move") return move(who, c, m, now);
    if (t == "chat") return chat(who, c, m, now);
    if (t == "download") return download(who, m);
    if (t == "lobby") return lobby(who, c, m, now);
    if (t == "quick") return quick(who, c, m, now);
    if (t == "rematch") return rematch(who, c, now);
    if (t == "mine") return mine(who, m, now);
    if (t == "ping") return sendJson(who, {{"type", "pong"}});
    error(who, "unknown_type", t.substr(0, 32), "no such message type");
}

void Lobby::error(ConnId who, std::string_view code, std::string_view about, std::string_view text) {
    Json j = {{"type", "error"}, {"code", code}, {"message", text}};
    if (!about.empty()) j["about"] = about;
    out_.send(who, dump(j));
}

void Lobby::hello(ConnId who, Connection& c, const Json& m) {
    if (c.greeted) return error(who, "unexpected", "hello", "already greeted");
    const auto version = intField(m, "version", 0, 1000000);
    if (!version) return error(who, "malformed", "hello", "\"version\" is a number");
    if (*version != protocolVersion)
        return error(who, "bad_version", "hello", "this server speaks version " + std::to_string(protocolVersion));
    std::string name = "guest";
    if (const std::string* given = stringField(m, "name")) {
        const auto length = plainTextLength(*given);
        if (!length || *length == 0 || *length > nameLength)
            return error(who, "bad_text", "hello", "a name is 1 to 32 characters, no control characters");
        name = *given;
    } else if (m.contains("name")) {
        return error(who, "malformed", "hello", "\"name\" is a string");
    }
    c.greeted = true;
    c.name = name;
    sendJson(who, {{"type", "welcome"},
                   {"version", protocolVersion},
                   {"server", "daro-server " DARO_VERSION},
                   {"maxMessageBytes", limits_.maxMessageBytes},
                   {"maxChat", chatLength}});
}

GameTable* Lobby::tableOf(const Connection& c) {
    if (c.table.empty()) return nullptr;
    auto it = tables_.find(c.table);
    return it == tables_.end() ? nullptr : it->second.get();
}

GameTable* Lobby::tableByCode(const Json& m, ConnId who, std::string_view about, double now) {
    const std::string* given = stringField(m, "code");
    const std::string code = given == nullptr ? "" : tableCodeOf(*given);
    if (code.empty()) {
        error(who, "malformed", about, "\"code\" is a table code of 6 characters");
        return nullptr;
    }
    auto it = tables_.find(code);
    if (it != tables_.end()) return it->second.get();
    if (GameTable* stored = bringBack(code, now)) return stored;
    error(who, "no_such_table", about, "no open table has that code");
    return nullptr;
}

const GameTable* Lobby::findTable(const std::string& code) const {
    auto it = tables_.find(code);
    return it == tables_.end() ? nullptr : it->second.get();
}

GameTable* Lobby::findTable(const std::string& code) {
    auto it = tables_.find(code);
    return it == tables_.end() ? nullptr : it->second.get();
}

}  // namespace daro::server
