// daro-server with a certificate: players reach it over wss:// only, and the
// game file comes over https. The certificate is made here, for the test
// alone, and signed by nobody.
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <cstdio>
#include <memory>

#include "ServerFixture.h"
#include "record/GameFile.h"

namespace daro::test {
namespace {

// A self-signed certificate for 127.0.0.1, valid for an hour, and its key,
// as PEM files. False when OpenSSL could not make them.
bool writeThrowawayCertificate(const std::string& certPath, const std::string& keyPath) {
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(EVP_EC_gen("P-256"), EVP_PKEY_free);
    std::unique_ptr<X509, decltype(&X509_free)> cert(X509_new(), X509_free);
    if (!key || !cert) return false;
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -60);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 3600);
    X509_set_pubkey(cert.get(), key.get());
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(cert.get(), name);
    if (X509_sign(cert.get(), key.get(), EVP_sha256()) == 0) return false;
    auto write = [](const std::string& path, auto put) {
        std::unique_ptr<FILE, decltype(&std::fclose)> f(std::fopen(path.c_str(), "w"), std::fclose);
        return f && put(f.get()) == 1;
    };
    return write(certPath, [&](FILE* f) { return PEM_write_X509(f, cert.get()); }) &&
           write(keyPath, [&](FILE* f) {
               return PEM_write_PrivateKey(f, key.get(), nullptr, nullptr, 0, nullptr, nullptr);
           });
}

class TlsServerTest : public ServerTest {
protected:
    void startTlsServer() {
        const std::string cert = data_ + "/cert.pem", key = data_ + "/key.pem";
        ASSERT_TRUE(writeThrowawayCertificate(cert, key));
        ServerProcess& server = startServer({"--tls-cert", cert, "--tls-key", key});
        ASSERT_NE(server.port(), 0) << server.log();
        ASSERT_NE(server.log().find("listening on wss://"), std::string::npos) << server.log();
        transport_ = Transport::tls;
    }
};

TEST_F(TlsServerTest, PlayersPlayOverWssAndTheGameDownloadsOverHttps) {
    startTlsServer();
    auto host = connect("host");
    ASSERT_TRUE(host->connected());
    const std::string code = createTable(*host, {"human", "human", "level1", "level1", "level1", "level1", "level1"});
    ASSERT_EQ(code.size(), 6u);
    std::vector<std::unique_ptr<Player>> players;
    players.push_back(join(code, 1));
    players.push_back(join(code, 2));
    for (auto& p : players) ASSERT_EQ(p->token.size(), 32u);

    // Each human moves twice; the five computers answer in between.
    int moves[3] = {0, 0, 0};
    const auto end = std::chrono::steady_clock::now() + 60s;
    while ((moves[1] < 2 || moves[2] < 2) && std::chrono::steady_clock::now() < end) {
        for (auto& p : players) ASSERT_TRUE(p->catchUp(50ms));
        for (auto& p : players)
            if (p->due()) {
                ASSERT_TRUE(p->play());
                ++moves[p->seat];
            }
    }
    ASSERT_EQ(moves[1], 2);
    ASSERT_EQ(moves[2], 2);
    // The computers answer the second human's last move; then both players
    // hold the same game, with seat 1 to move again.
    while (!(players[0]->due() && players[1]->turn == 1) && std::chrono::steady_clock::now() < end)
        for (auto& p : players) ASSERT_TRUE(p->catchUp(50ms));
    ASSERT_TRUE(players[0]->due());
    ASSERT_EQ(players[1]->turn, 1);
    EXPECT_GE(players[0]->mirror.table.moveNumber, 2 * 7);
    EXPECT_EQ(players[0]->mirror.table.moveNumber, players[1]->mirror.table.moveNumber);
    EXPECT_EQ(players[0]->mirror.table.board, players[1]->mirror.table.board);

    const HttpAnswer file = httpGet(server_->port(), "/game/" + code, Transport::tls);
    ASSERT_EQ(file.status, 200);
    const GameFileResult read = replayGameFile(file.body);
    ASSERT_TRUE(read.game) << read.problem.line << ": " << read.problem.reason << "\n" << file.body;
    EXPECT_EQ(static_cast<int>(read.game->record.size()) - 1, players[0]->mirror.table.moveNumber);
    EXPECT_EQ(read.game->record.back().board(), players[0]->mirror.table.board);
    EXPECT_EQ(httpGet(server_->port(), "/game/ZZZZZZ", Transport::tls).status, 404);
}

TEST_F(TlsServerTest, PlainConnectionsToTheTlsPortAreTurnedAwayAndTheServerCarriesOn) {
    startTlsServer();
    auto first = connect("first");
    ASSERT_TRUE(first->connected());

    for (int i = 0; i < 3; ++i) {
        WsClient plain(server_->port(), Transport::plain, 3s);
        EXPECT_FALSE(plain.connected());
        EXPECT_EQ(httpGet(server_->port(), "/game/ZZZZZZ", Transport::plain, 3s).status, 0);
    }

    // Those already connected and those who come next are served.
    first->send({{"type", "ping"}});
    EXPECT_TRUE(first->until("pong"));
    auto next = connect("next");
    ASSERT_TRUE(next->connected());
    next->send({{"type", "ping"}});
    EXPECT_TRUE(next->until("pong"));
    EXPECT_EQ(server_->log().find("daro-server:"), std::string::npos) << server_->log();
}

}  // namespace
}  // namespace daro::test
