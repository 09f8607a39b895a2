// The browser's page as daro-server serves it, over real sockets, from a
// web folder of the test's own: the right types and caching, the page's
// safety headers, and nothing from outside the folder, however it is asked.
#include <sys/stat.h>

#include <fstream>

#include "RawSocket.h"
#include "ServerFixture.h"

namespace daro::test {
namespace {

namespace fs = std::filesystem;

const std::string secret = "the secret outside the web folder";

class WebTest : public ServerTest {
protected:
    void SetUp() override {
        ServerTest::SetUp();
        web_ = data_ + "/web";
        write("index.html", "<!doctype html><title>daro</title><script type=module src=/assets/index-Bx3k9Qz1.js></script>");
        write("assets/index-Bx3k9Qz1.js", "console.log('daro')");
        write("assets/game-0a1b2c3d.wasm", std::string("\0asm\1\0\0\0", 8));
        write("assets/style-D4e5F6g7.css", "body{margin:0}");
        write("pieces/king.svg", "<svg xmlns='http://www.w3.org/2000/svg'/>");
        write(".hidden", secret);
        write("sub/inner.txt", "inner");
        std::ofstream(data_ + "/outside.txt") << secret;
        fs::create_symlink(data_ + "/outside.txt", web_ + "/link.txt");
        fs::create_directory_symlink(data_, web_ + "/up");
        ASSERT_EQ(::mkfifo((web_ + "/pipe.js").c_str(), 0600), 0);
    }
    void write(const std::string& relative, const std::string& text) {
        fs::create_directories(fs::path(web_ + "/" + relative).parent_path());
        std::ofstream(web_ + "/" + relative, std::ios::binary) << text;
    }
    std::string web_;
};

TEST_F(WebTest, ThePageIsServedAtTheRootAndAtATablesLinkWithItsTypesCachingAndSafetyHeaders) {
    startServer({"--web", web_});
    const RawHttpAnswer root = rawGet(server_->port(), "/");
    ASSERT_EQ(root.status, 200) << server_->log();
    EXPECT_EQ(root.headers.at("content-type"), "text/html; charset=utf-8");
    EXPECT_EQ(root.headers.at("cache-control"), "no-cache");
    EXPECT_EQ(root.headers.at("x-content-type-options"), "nosniff");
    const std::string csp = root.headers.at("content-security-policy");
    for (const char* part : {"script-src 'self' 'wasm-unsafe-eval'", "worker-src 'self'", "connect-src 'self' ws://127.0.0.1",
                             "object-src 'none'", "frame-ancestors 'none'"})
        EXPECT_NE(csp.find(part), std::string::npos) << part << " in " << csp;
    EXPECT_EQ(csp.find("'unsafe-eval'"), std::string::npos);
    EXPECT_NE(root.body.find("<title>daro</title>"), std::string::npos);

    // The invitation link opens the same page, whatever the code's case.
    for (const char* link : {"/t/K7QMPA", "/t/k7qmpa", "/t/K7QMPA?from=chat"}) {
        const RawHttpAnswer page = rawGet(server_->port(), link);
        EXPECT_EQ(page.status, 200) << link;
        EXPECT_EQ(page.body, root.body) << link;
    }
    for (const char* notALink : {"/t/", "/t/K7QMPA/x", "/t/K7QMP", "/t/K7QMP0"})
        EXPECT_EQ(rawGet(server_->port(), notALink).status, 404) << notALink;

    struct Expected {
        const char* target;
        const char* type;
        const char* cache;
    };
    for (const Expected& e : {
             Expected{"/assets/index-Bx3k9Qz1.js", "text/javascript; charset=utf-8", "public, max-age=31536000, immutable"},
             Expected{"/assets/game-0a1b2c3d.wasm", "application/wasm", "public, max-age=31536000, immutable"},
             Expected{"/assets/style-D4e5F6g7.css", "text/css; charset=utf-8", "public, max-age=31536000, immutable"},
             Expected{"/pieces/king.svg", "image/svg+xml", "no-cache"},
             Expected{"/sub/inner.txt", "text/plain; charset=utf-8", "no-cache"},
         }) {
        const RawHttpAnswer a = rawGet(server_->port(), e.target);
        ASSERT_EQ(a.status, 200) << e.target;
        EXPECT_EQ(a.headers.at("content-type"), e.type) << e.target;
        EXPECT_EQ(a.headers.at("cache-control"), e.cache) << e.target;
        EXPECT_EQ(a.headers.at("x-content-type-options"), "nosniff") << e.target;
    }
    EXPECT_EQ(rawGet(server_->port(), "/assets/game-0a1b2c3d.wasm").body, std::string("\0asm\1\0\0\0", 8));

    // HEAD: the length of the page and none of it.
    const RawHttpAnswer head = rawHttp(server_->port(), "HEAD / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_EQ(head.status, 200);
    EXPECT_EQ(head.headers.at("content-length"), std::to_string(root.body.size()));
    EXPECT_EQ(head.body, "");

    // The game file beside the page, its code read case-blind too.
    auto host = connect("host");
    const std::string code = createTable(*host, std::vector<std::string>(7, "level1"));
    std::string lower = code;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const RawHttpAnswer game = rawGet(server_->port(), "/game/" + lower);
    EXPECT_EQ(game.status, 200);
    EXPECT_EQ(game.body.rfind("daro-game 1", 0), 0u) << game.body.substr(0, 40);
}

TEST_F(WebTest, NoPathOutsideTheWebFolderIsEverServedHoweverItIsSpelled) {
    startServer({"--web", web_});
    const unsigned short port = server_->port();
    for (const char* target : {
             "/../outside.txt", "/%2e%2e/outside.txt", "/%2E%2E%2Foutside.txt", "/assets/..%2f..%2foutside.txt",
             "/assets/%2e%2e/%2e%2e/outside.txt", "/link.txt", "/up/outside.txt", "//etc/passwd", "/%2fetc%2fpasswd",
             "/index.html%00.js", "/.hidden", "/%2ehidden", "/sub", "/sub/", "/pipe.js", "/nothing.js", "/%zz",
             "/assets\\..\\..\\outside.txt", "http://127.0.0.1/../outside.txt", "*",
         }) {
        const RawHttpAnswer a =
            rawHttp(port, "GET " + std::string(target) + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", 3s);
        EXPECT_GE(a.status, 400) << target;
        EXPECT_EQ(a.body.find(secret), std::string::npos) << target;
    }
    // A NUL in the request itself.
    using namespace std::string_literals;
    const RawHttpAnswer nul = rawHttp(port, "GET /index.html\0/../../outside.txt HTTP/1.1\r\nHost: x\r\n\r\n"s, 3s);
    EXPECT_EQ(nul.body.find(secret), std::string::npos);
    // The server answered every one at once (the pipe did not hold it) and still plays.
    EXPECT_EQ(rawGet(port, "/").status, 200);
    auto player = connect("player");
    player->send({{"type", "ping"}});
    EXPECT_TRUE(player->until("pong"));
}

TEST_F(WebTest, WithoutAWebFolderThePageIsA404TheLogSaysWhyAndPlayGoesOn) {
    startServer({"--web", data_ + "/no-such-folder"});
    const RawHttpAnswer a = rawGet(server_->port(), "/");
    EXPECT_EQ(a.status, 404);
    EXPECT_NE(a.body.find("no web folder"), std::string::npos) << a.body;
    EXPECT_NE(server_->log().find("no web folder at " + data_ + "/no-such-folder"), std::string::npos) << server_->log();
    auto player = connect("player");
    player->send({{"type", "ping"}});
    EXPECT_TRUE(player->until("pong"));
}

TEST_F(WebTest, AnInstalledServerServesTheInstalledPageFromBesideItsOwnFolder) {
    // The package's layout: PREFIX/games/daro-server and PREFIX/share/daro/web.
    const std::string prefix = data_ + "/usr";
    fs::create_directories(prefix + "/games");
    fs::create_directories(prefix + "/share/daro");
    fs::copy_file(DARO_SERVER_PATH, prefix + "/games/daro-server");
    fs::permissions(prefix + "/games/daro-server", fs::perms::owner_all);
    fs::rename(web_, prefix + "/share/daro/web");
    startServer({}, prefix + "/games/daro-server");
    const RawHttpAnswer a = rawGet(server_->port(), "/assets/index-Bx3k9Qz1.js");
    EXPECT_EQ(a.status, 200) << server_->log();
    EXPECT_EQ(a.body, "console.log('daro')");
    EXPECT_NE(server_->log().find("serving the page from " + prefix + "/share/daro/web"), std::string::npos)
        << server_->log();
}

}  // namespace
}  // namespace daro::test
