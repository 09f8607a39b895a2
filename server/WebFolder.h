#pragma once
// The browser's page, served from one folder: `/` and `/t/CODE` are its
// index.html, anything else a file under the folder. A request never
// reaches a file outside it, whatever it spells (`..`, `%2e%2e`, a symlink
// out, NUL, an absolute path), nor a folder, a hidden file or a device.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace daro::server {

struct WebAnswer {
    int status = 404;
    std::string contentType = "text/plain; charset=utf-8";
    std::string cacheControl = "no-cache";
    std::string body;
};

class WebFolder {
public:
    // Files larger than this are not served: the page has nothing near it.
    static constexpr std::uintmax_t maxFileBytes = 64 * 1024 * 1024;

    // An empty path, or one that is no folder: every page request is a 404.
    explicit WebFolder(const std::filesystem::path& root = {});

    bool present() const { return !root_.empty(); }
    const std::filesystem::path& root() const { return root_; }

    // The answer to GET (or HEAD) of a request target: path, maybe a query.
    WebAnswer get(std::string_view target) const;

private:
    WebAnswer file(const std::string& relative, bool page) const;
    std::filesystem::path root_;  // canonical, or empty
};

// By the name's extension; application/octet-stream when unknown.
std::string_view contentTypeOf(std::string_view name);

// Vite's `assets/NAME-HASH.EXT`: such a name never holds other bytes.
bool isHashedAsset(std::string_view relative);

// The page's own scripts and wasm, workers from the same place, and the
// WebSocket back to the host it came from; `host` is the request's Host
// header, used only when it is a plain host[:port].
std::string contentSecurityPolicy(std::string_view host);

// %XX decoded; false for a broken escape.
bool percentDecode(std::string_view in, std::string& out);

}  // namespace daro::server
