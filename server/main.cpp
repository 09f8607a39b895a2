// daro-server: tables of daro for players on other machines.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "Secrets.h"
#include "Server.h"

namespace {

const char* usage =
    "usage: daro-server [--listen HOST:PORT] [--data DIR] [--tls-cert FILE --tls-key FILE]\n"
    "                   [--workers N] [--per-address N] [--max-tables N] [--code-prefix C]\n"
    "                   [--web DIR] [--idle-seconds N] [--clock-file FILE]\n"
    "  --listen HOST:PORT  where to accept players (default 127.0.0.1:7770; port 0 picks one)\n"
    "  --data DIR          the tables' store (default $XDG_DATA_HOME/daro-server,\n"
    "                      or ~/.local/share/daro-server)\n"
    "  --tls-cert, --tls-key  PEM files: players connect with wss:// instead of ws://\n"
    "  --workers N         threads for the computer's searches (default: cores - 1)\n"
    "  --per-address N     connections allowed from one address, and unfinished\n"
    "                      tables created from it (default 32 each)\n"
    "  --max-tables N      tables held at once (default 10000)\n"
    "  --code-prefix C     every table code starts with C, for a proxy that routes by code\n"
    "  --web DIR           the browser's page to serve at / and /t/CODE (default: the\n"
    "                      installed one, share/daro/web beside the program's folder)\n"
    "  --idle-seconds N    a table nobody is at is let go of memory after this long (default 1800)\n"
    "  --clock-file FILE   for tests: FILE holds seconds to add to the clock, read again every tick\n";

// Set by the build from the install layout.
#ifndef DARO_WEB_FROM_PROGRAM
#define DARO_WEB_FROM_PROGRAM "../share/daro/web"
#endif

// The installed page, found from the program's own folder as the game finds
// its data; in the build tree, the page the build made beside the tools.
std::string defaultWebFolder() {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    for (const char* relative : {DARO_WEB_FROM_PROGRAM, "../web/dist"}) {
        const fs::path folder = (program.parent_path() / relative).lexically_normal();
        if (fs::is_regular_file(folder / "index.html", ec)) return folder.string();
    }
    return {};
}

// systemd's StateDirectory= first, then the user's data folder.
std::string defaultDataFolder() {
    if (const char* state = std::getenv("STATE_DIRECTORY"); state != nullptr && state[0] == '/') return state;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/')
        return std::string(xdg) + "/daro-server";
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        return std::string(home) + "/.local/share/daro-server";
    return "daro-server-data";
}

std::optional<long> number(const std::string& s, long lo, long hi) {
    if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    const long v = std::stol(s);
    if (v < lo || v > hi) return std::nullopt;
    return v;
}

bool parseListen(const std::string& value, daro::server::ServerOptions& o) {
    const auto colon = value.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    auto port = number(value.substr(colon + 1), 0, 65535);
    if (!port) return false;
    o.host = value.substr(0, colon);
    if (o.host.size() > 2 && o.host.front() == '[' && o.host.back() == ']') o.host = o.host.substr(1, o.host.size() - 2);
    o.port = static_cast<unsigned short>(*port);
    return true;
}

std::optional<daro::server::ServerOptions> parse(const std::vector<std::string>& args) {
    daro::server::ServerOptions o;
    o.dataFolder = defaultDataFolder();
    bool webNamed = false;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) return std::nullopt;
        const std::string& a = args[i];
        const std::string& v = args[i + 1];
        if (a == "--listen") {
            if (!parseListen(v, o)) return std::nullopt;
        } else if (a == "--data" && !v.empty()) {
            o.dataFolder = v;
        } else if (a == "--web" && !v.empty()) {
            o.webFolder = v;
            webNamed = true;
        } else if (a == "--tls-cert" && !v.empty()) {
            o.tlsCert = v;
        } else if (a == "--tls-key" && !v.empty()) {
            o.tlsKey = v;
        } else if (a == "--workers") {
            auto n = number(v, 1, 64);
            if (!n) return std::nullopt;
            o.workers = static_cast<int>(*n);
        } else if (a == "--per-address") {
            auto n = number(v, 1, 1000000);
            if (!n) return std::nullopt;
            o.limits.connectionsPerAddress = static_cast<int>(*n);
            o.limits.tablesPerAddress = static_cast<int>(*n);
        } else if (a == "--code-prefix") {
            if (v.size() != 1 || !daro::server::isTableCode(v + "AAAAA")) return std::nullopt;
            o.limits.codePrefix = v;
        } else if (a == "--clock-file" && !v.empty()) {
            o.clockFile = v;
        } else if (a == "--idle-seconds") {
            auto n = number(v, 1, 1000000);
            if (!n) return std::nullopt;
            o.limits.idleTableSeconds = static_cast<double>(*n);
        } else if (a == "--max-tables") {
            auto n = number(v, 1, 10000000);
            if (!n) return std::nullopt;
            o.limits.maxTables = static_cast<std::size_t>(*n);
        } else {
            return std::nullopt;
        }
    }
    if (o.tlsCert.empty() != o.tlsKey.empty()) return std::nullopt;
    if (!webNamed) o.webFolder = defaultWebFolder();
    return o;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << usage;
        return 0;
    }
    const auto options = parse(args);
    if (!options) {
        std::cerr << usage;
        return 2;
    }
    return daro::server::runServer(*options);
}
