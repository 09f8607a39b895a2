#include "WebFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <utility>

#include "Secrets.h"

namespace daro::server {

namespace fs = std::filesystem;

namespace {

WebAnswer notFound() {
    WebAnswer a;
    a.body = "daro-server: no such page\n";
    return a;
}

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int hexValue(char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; }

bool endsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// Opens the file itself, then asks the open file what it is, so nothing
// can be swapped in between the check and the read.
bool readRegularFile(const fs::path& path, std::string& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st{};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::uintmax_t>(st.st_size) <= WebFolder::maxFileBytes;
    if (ok) {
        out.resize(static_cast<std::size_t>(st.st_size));
        std::size_t done = 0;
        while (ok && done < out.size()) {
            const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) ok = false;
            else done += static_cast<std::size_t>(n);
        }
    }
    ::close(fd);
    return ok;
}

}  // namespace

WebFolder::WebFolder(const fs::path& root) {
    std::error_code ec;
    if (root.empty() || !fs::is_directory(root, ec)) return;
    root_ = fs::canonical(root, ec);
    if (ec) root_.clear();
}

bool percentDecode(std::string_view in, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '%') {
            out += in[i];
            continue;
        }
        if (i + 2 >= in.size() || !isHex(in[i + 1]) || !isHex(in[i + 2])) return false;
        out += static_cast<char>(hexValue(in[i + 1]) * 16 + hexValue(in[i + 2]));
        i += 2;
    }
    return true;
}

std::string_view contentTypeOf(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 20> types{{
        {".html", "text/html; charset=utf-8"},
        {".js", "text/javascript; charset=utf-8"},
        {".mjs", "text/javascript; charset=utf-8"},
        {".css", "text/css; charset=utf-8"},
        {".wasm", "application/wasm"},
        {".svg", "image/svg+xml"},
        {".json", "application/json"},
        {".map", "application/json"},
        {".webmanifest", "application/manifest+json"},
        {".png", "image/png"},
        {".jpg", "image/jpeg"},
        {".webp", "image/webp"},
        {".ico", "image/x-icon"},
        {".woff2", "font/woff2"},
        {".woff", "font/woff"},
        {".ttf", "font/ttf"},
        {".txt", "text/plain; charset=utf-8"},
        {".daro", "text/plain; charset=utf-8"},
        {".wav", "audio/wav"},
        {".xml", "application/xml"},
    }};
    for (const auto& [extension, type] : types)
        if (endsWith(name, extension)) return type;
    return "application/octet-stream";
}

bool isHashedAsset(std::string_view relative) {
    if (relative.substr(0, 7) != "assets/") return false;
    const std::string_view name = relative.substr(7);
    if (name.find('/') != std::string_view::npos) return false;
    const auto dot = name.find('.');
    const auto dash = name.substr(0, dot).rfind('-');
    if (dot == std::string_view::npos || dash == std::string_view::npos) return false;
    const std::string_view hash = name.substr(dash + 1, dot - dash - 1);
    if (hash.size() < 8) return false;
    for (char c : hash)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '-'))
            return false;
    return true;
}

std::string contentSecurityPolicy(std::string_view host) {
    bool plain = !host.empty() && host.size() <= 255;
    for (char c : host)
        plain = plain && ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' ||
                          c == '-' || c == ':' || c == '[' || c == ']');
    std::string connect = "'self'";
    // Older browsers do not count ws: as 'self'.
    if (plain) connect += " ws://" + std::string(host) + " wss://" + std::string(host);
    return "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; worker-src 'self'; connect-src " + connect +
           "; img-src 'self' data: blob:; style-src 'self' 'unsafe-inline'; object-src 'none'; base-uri 'none'; "
           "frame-ancestors 'none'; form-action 'none'";
}

WebAnswer WebFolder::get(std::string_view target) const {
    const std::string_view path = target.substr(0, target.find_first_of("?#"));
    std::string decoded;
    if (path.empty() || path[0] != '/' || !percentDecode(path, decoded)) return notFound();
    if (decoded == "/" || decoded == "/index.html") return file("index.html", true);
    // The invitation link: the same page, which reads the code from its address.
    if (decoded.rfind("/t/", 0) == 0) {
        if (tableCodeOf(std::string_view(decoded).substr(3)).empty() || decoded.size() != 9) return notFound();
        return file("index.html", true);
    }
    // Every part a plain name: no "", ".", "..", hidden file, NUL or backslash.
    std::string relative = decoded.substr(1);
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = relative.find('/', start);
        const std::string_view part = std::string_view(relative).substr(start, end - start);
        if (part.empty() || part[0] == '.' || part.find('\0') != std::string_view::npos ||
            part.find('\\') != std::string_view::npos)
            return notFound();
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return file(relative, false);
}

WebAnswer WebFolder::file(const std::string& relative, bool page) const {
    if (!present()) return notFound();
    std::error_code ec;
    // Symlinks resolved, the file must still be inside the folder.
    const fs::path real = fs::canonical(root_ / relative, ec);
    if (ec) return notFound();
    const std::string rootText = root_.string() + "/";
    if (real.string().rfind(rootText, 0) != 0) return notFound();
    WebAnswer a;
    if (!readRegularFile(real, a.body)) return notFound();
    a.status = 200;
    a.contentType = std::string(contentTypeOf(relative));
    a.cacheControl = !page && isHashedAsset(relative) ? "public, max-age=31536000, immutable" : "no-cache";
    return a;
}

}  // namespace daro::server
