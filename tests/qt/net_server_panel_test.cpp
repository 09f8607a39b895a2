// The network panel against a real daro-server over real sockets: a
// turn-based public table made from the panel, with its pace and its clock;
// the game the computers finish, then a rematch offered from one panel and
// accepted from another, each on its own seat at the new table and able to
// come back to it; quick play per pace, the lobby followed live and a table
// joined from it; and the wait before reconnecting counted down when the
// server is gone.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWebSocket>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>

#include "Eventually.h"
#include "NetMemory.h"
#include "NetWindow.h"

#ifdef DARO_SERVER_PATH
#include "ServerProcess.h"
#endif

namespace daro::test {
namespace {

#ifdef DARO_SERVER_PATH

// One panel with folders of its own, as a second program would have.
struct Panel {
    explicit Panel(const QString& folder, unsigned short port, const QString& name)
        : memory(folder), window([](const std::function<void(Form1&)>&) {}, nullptr, nullptr, folder) {
        fields()[0]->setText(QStringLiteral("ws://127.0.0.1:%1/").arg(port));
        fields()[1]->setText(name);
    }
    QList<QLineEdit*> fields() { return window.findChildren<QLineEdit*>(); }
    template <class T>
    T* child(const char* name) {
        return window.findChild<T*>(QLatin1String(name));
    }
    QString label(const char* name) { return child<QLabel>(name)->text(); }
    QString status() { return label("NET_STATUS"); }
    QString turn() { return label("NET_TURN"); }
    void press(const QString& caption) {
        for (QPushButton* b : window.findChildren<QPushButton*>())
            if (b->text() == QCoreApplication::translate("NetWindow", caption.toUtf8().constData())) return b->click();
        ADD_FAILURE() << "no button " << caption.toStdString();
    }
    void join(const QString& code) {
        child<QLineEdit>("NET_CODE")->setText(code);
        press(QStringLiteral("参加"));
    }
    // The table the panel sits at, from its status line ("卓 CODE: あなたは…").
    QString seatedAt() {
        const QString s = status();
        return s.startsWith(QStringLiteral("卓 ")) && s.contains(QStringLiteral(": あなたは")) ? s.mid(2, 6) : QString();
    }
    QString memory;
    qt::NetWindow window;
};

// The server's answer of `type` to `request`, asked on a connection of its own.
QJsonObject ask(unsigned short port, const QJsonObject& request, const QString& type) {
    QWebSocket socket;
    QJsonObject answer;
    const auto say = [&](const QJsonObject& m) {
        socket.sendTextMessage(QString::fromUtf8(QJsonDocument(m).toJson(QJsonDocument::Compact)));
    };
    QObject::connect(&socket, &QWebSocket::connected, [&] { say({{"type", "hello"}, {"version", 1}}); });
    QObject::connect(&socket, &QWebSocket::textMessageReceived, [&](const QString& text) {
        const QJsonObject m = QJsonDocument::fromJson(text.toUtf8()).object();
        if (m.value("type") == "welcome") say(request);
        if (m.value("type") == type) answer = m;
    });
    socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/").arg(port)));
    eventually([&] { return !answer.isEmpty(); });
    return answer;
}

class NetServerPanel : public ::testing::Test {
protected:
    void startServer(std::vector<std::string> extra = {}) {
        server = std::make_unique<ServerProcess>(folder.filePath(QStringLiteral("server")).toStdString(), std::move(extra));
        ASSERT_NE(server->port(), 0) << server->log();
    }
    std::unique_ptr<Panel> panel(const char* name) {
        return std::make_unique<Panel>(folder.filePath(QLatin1String(name)), server->port(), QLatin1String(name));
    }
    std::string why() { return server ? server->log() : std::string(); }

    QTemporaryDir folder;
    std::unique_ptr<ServerProcess> server;
};

TEST_F(NetServerPanel, ATurnTableMadeHereShowsItsPaceAndClockAndARematchIsAcceptedFromAnotherPanel) {
    const std::string clockFile = folder.filePath(QStringLiteral("clock")).toStdString();
    std::ofstream(clockFile) << 0;
    startServer({"--clock-file", clockFile});
    auto ann = panel("Ann");
    auto bob = panel("Bob");
    ann->window.show();
    bob->window.show();

    // 秦 and 楚 human, the others the computer at level 1; turn-based, an hour a move, public.
    ann->child<QComboBox>("NET_SEAT_2")->setCurrentIndex(0);
    for (const char* seat : {"NET_SEAT_3", "NET_SEAT_4", "NET_SEAT_5", "NET_SEAT_6", "NET_SEAT_7"})
        ann->child<QComboBox>(seat)->setCurrentIndex(1);
    auto* moveTime = ann->child<QComboBox>("NET_MOVE_TIME");
    EXPECT_FALSE(moveTime->isEnabled()) << "a live table has no move time";
    ann->child<QComboBox>("NET_PACE")->setCurrentIndex(1);
    ASSERT_TRUE(moveTime->isEnabled());
    moveTime->setCurrentIndex(0);
    ann->child<QCheckBox>("NET_PUBLIC")->setChecked(true);
    ann->child<QPushButton>("NET_CREATE")->click();
    ASSERT_TRUE(eventually([&] { return !ann->seatedAt().isEmpty(); }, 10000)) << ann->status().toStdString() << why();
    const QString first = ann->seatedAt();
    EXPECT_EQ(ann->label("NET_TABLE_RULES").toStdString(), "進め方: 手番ごと、一手 1時間");
    // A public table: the lobby lists it while it waits, with its pace.
    const QJsonObject lobby = ask(server->port(), {{"type", "lobby"}}, QStringLiteral("lobby"));
    const QJsonArray waiting = lobby.value("waiting").toArray();
    ASSERT_EQ(waiting.size(), 1) << QJsonDocument(lobby).toJson().toStdString();
    EXPECT_EQ(waiting[0].toObject().value("code").toString(), first);
    EXPECT_EQ(waiting[0].toObject().value("pace").toString().toStdString(), "turn");
    EXPECT_EQ(waiting[0].toObject().value("moveSeconds").toInt(), 3600);

    bob->join(first);
    ASSERT_TRUE(eventually([&] { return bob->seatedAt() == first; }, 10000)) << bob->status().toStdString() << why();
    EXPECT_EQ(bob->label("NET_TABLE_RULES"), ann->label("NET_TABLE_RULES"));
    // The game has started: 秦 to move, with the hour counting down at both panels.
    ASSERT_TRUE(eventually([&] { return ann->turn().startsWith(QStringLiteral("あなたの番です  残り ")); }, 10000))
        << ann->turn().toStdString();
    EXPECT_TRUE(ann->turn().contains(QRegularExpression(QStringLiteral("残り (0:59:[0-5][0-9]|1:00:00)$"))))
        << ann->turn().toStdString();
    ASSERT_TRUE(eventually([&] { return bob->turn().startsWith(QStringLiteral("手番: 秦  残り 0:59:")) ||
                                        bob->turn().startsWith(QStringLiteral("手番: 秦  残り 1:00:00")); }))
        << bob->turn().toStdString();
    EXPECT_FALSE(ann->child<QPushButton>("NET_REMATCH")->isVisible());

    // Nobody moves: each hour that passes the computer moves for the seat,
    // after three it plays both seats, and the computers finish the game.
    double skew = 0;
    const bool over = eventually(
        [&] {
            skew += 3601;
            std::ofstream(clockFile) << skew;
            return ann->status() == QStringLiteral("対局は終わりました") &&
                   bob->status() == QStringLiteral("対局は終わりました");
        },
        200000);
    ASSERT_TRUE(over) << ann->status().toStdString() << "\n" << why();
    EXPECT_FALSE(qt::NetMemory(ann->memory).seatAt(first)) << "a finished table is nothing to go back to";
    EXPECT_EQ(ann->turn().toStdString(), "") << "nobody is to move after the end";

    // Ann offers the rematch and goes over to the new table, on the same seat.
    auto* offer = ann->child<QPushButton>("NET_REMATCH");
    ASSERT_TRUE(offer->isVisible());
    EXPECT_EQ(offer->text().toStdString(), "再戦");
    offer->click();
    ASSERT_TRUE(eventually([&] { return !ann->seatedAt().isEmpty() && ann->seatedAt() != first; }, 10000))
        << ann->status().toStdString() << why();
    const QString next = ann->seatedAt();
    EXPECT_EQ(ann->child<QLineEdit>("NET_CODE")->text(), next) << "the code to hand on is the new table's";
    EXPECT_TRUE(ann->status().endsWith(QStringLiteral("あなたは１番目(秦)"))) << ann->status().toStdString();
    EXPECT_EQ(ann->label("NET_TABLE_RULES").toStdString(), "進め方: 手番ごと、一手 1時間") << "the rematch keeps the pace";
    EXPECT_FALSE(offer->isVisible());
    const auto annHeld = qt::NetMemory(ann->memory).seatAt(next);
    ASSERT_TRUE(annHeld);
    EXPECT_EQ(annHeld->seat, 1);

    // Bob hears of it, and accepts.
    ASSERT_TRUE(eventually([&] { return bob->label("NET_REMATCH_NOTE") == QStringLiteral("秦が再戦を申し込みました（卓 %1）").arg(next); }))
        << bob->label("NET_REMATCH_NOTE").toStdString();
    auto* accept = bob->child<QPushButton>("NET_REMATCH");
    ASSERT_TRUE(accept->isVisible());
    EXPECT_EQ(accept->text().toStdString(), "再戦を受ける");
    accept->click();
    ASSERT_TRUE(eventually([&] { return bob->seatedAt() == next; }, 10000)) << bob->status().toStdString() << why();
    EXPECT_TRUE(bob->status().endsWith(QStringLiteral("あなたは2番目(楚)"))) << bob->status().toStdString();
    const auto bobHeld = qt::NetMemory(bob->memory).seatAt(next);
    ASSERT_TRUE(bobHeld);
    EXPECT_EQ(bobHeld->seat, 2);
    EXPECT_NE(bobHeld->token, annHeld->token);
    // Both human seats are taken: the rematch begins with 秦 to move.
    ASSERT_TRUE(eventually([&] { return ann->turn().startsWith(QStringLiteral("あなたの番です")); }, 10000))
        << ann->turn().toStdString();

    // Bob's program is closed and started again: the new table is offered and taken back.
    bob.reset();
    bob = panel("Bob");
    auto* held = bob->child<QListWidget>("NET_HELD_TABLES");
    ASSERT_TRUE(eventually([&] {
        for (int i = 0; i < held->count(); ++i)
            if (held->item(i)->text().startsWith(QStringLiteral("卓 %1 に戻る").arg(next))) return true;
        return false;
    })) << "held: " << held->count();
    for (int i = 0; i < held->count(); ++i)
        if (held->item(i)->text().startsWith(QStringLiteral("卓 %1 に戻る").arg(next))) emit held->itemActivated(held->item(i));
    ASSERT_TRUE(eventually([&] { return bob->status() == QStringLiteral("卓 %1: あなたは2番目(楚)").arg(next); }, 10000))
        << bob->status().toStdString() << why();
}

TEST_F(NetServerPanel, QuickPlayAndTheLobbySeatThePanelAtATableOfItsPaceAndTheWaitToReconnectCountsDown) {
    startServer();
    auto ann = panel("Ann");
    auto bob = panel("Bob");
    auto carl = panel("Carl");
    auto dana = panel("Dana");
    // Dana follows the lobby: nothing at first, then each table as it fills.
    auto* lobby = dana->child<QListWidget>("NET_LOBBY");
    dana->child<QPushButton>("NET_SHOW_LOBBY")->click();
    ASSERT_TRUE(eventually([&] { return lobby->count() == 1 && lobby->item(0)->text() == QStringLiteral("公開の卓はありません"); }))
        << lobby->count();
    EXPECT_EQ(dana->status(), QString());
    ann->press(QStringLiteral("クイック対局"));
    ASSERT_TRUE(eventually([&] { return !ann->seatedAt().isEmpty(); }, 10000)) << ann->status().toStdString() << why();
    EXPECT_EQ(ann->label("NET_TABLE_RULES").toStdString(), "進め方: その場で");
    bob->press(QStringLiteral("クイック対局"));
    ASSERT_TRUE(eventually([&] { return bob->seatedAt() == ann->seatedAt(); }, 10000)) << bob->status().toStdString() << why();
    EXPECT_NE(bob->status(), ann->status()) << "another seat at the same table";
    const QString quick = ann->seatedAt();
    ASSERT_TRUE(eventually([&] { return lobby->count() == 1 && lobby->item(0)->text() == QStringLiteral("卓 %1  空席 5  その場で").arg(quick); }))
        << (lobby->count() ? lobby->item(0)->text().toStdString() : "");
    // A turn-based quick play is not seated at the live table.
    carl->child<QComboBox>("NET_PACE")->setCurrentIndex(1);
    carl->press(QStringLiteral("クイック対局"));
    ASSERT_TRUE(eventually([&] { return !carl->seatedAt().isEmpty(); }, 10000)) << carl->status().toStdString() << why();
    EXPECT_NE(carl->seatedAt(), ann->seatedAt());
    EXPECT_EQ(carl->label("NET_TABLE_RULES").toStdString(), "進め方: 手番ごと、一手 1日");
    // The lobby lists the turn-based table too; Dana joins the live one from the list.
    ASSERT_TRUE(eventually([&] { return lobby->count() == 2; })) << lobby->count();
    QListWidgetItem* live = nullptr;
    for (int i = 0; i < lobby->count(); ++i)
        if (lobby->item(i)->text().startsWith(QStringLiteral("卓 %1 ").arg(quick))) live = lobby->item(i);
    ASSERT_NE(live, nullptr);
    emit lobby->itemActivated(live);
    ASSERT_TRUE(eventually([&] { return dana->seatedAt() == quick; }, 10000)) << dana->status().toStdString() << why();
    ASSERT_TRUE(eventually([&] {
        for (int i = 0; i < lobby->count(); ++i)
            if (lobby->item(i)->text() == QStringLiteral("卓 %1  空席 4  その場で").arg(quick)) return true;
        return false;
    })) << "the list follows the seat taken";
    for (const Panel* p : {ann.get(), bob.get(), carl.get(), dana.get()}) EXPECT_EQ(qt::NetMemory(p->memory).seats().size(), 1u);

    // The server is gone: each wait before trying again is counted down, second by second.
    server->stop(SIGKILL);
    QStringList seen;
    eventually(
        [&] {
            const QString s = ann->status();
            if (seen.isEmpty() || seen.last() != s) seen << s;
            return s.contains(QStringLiteral("（3回目）")) && s.contains(QStringLiteral("再接続まで 1 秒"));
        },
        15000);
    const QString lost = QStringLiteral("接続が切れました。再接続まで %1 秒（3回目）");
    const qsizetype four = seen.indexOf(lost.arg(4));
    ASSERT_GE(four, 0) << seen.join(QLatin1Char('\n')).toStdString();
    const QStringList counted = seen.mid(four, 4);
    EXPECT_EQ(counted, (QStringList{lost.arg(4), lost.arg(3), lost.arg(2), lost.arg(1)}))
        << seen.join(QLatin1Char('\n')).toStdString();
}

#else

TEST(NetServerPanel, NeedsTheServer) { GTEST_SKIP() << "this build has no daro-server"; }

#endif

}  // namespace
}  // namespace daro::test
