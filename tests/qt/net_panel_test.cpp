// The network panel as a player meets it, against a scripted server over a
// real socket: refusals in sentences of both languages, one that no longer
// applies going when the game starts, the table's seats in the seat boxes,
// the seats and the chat kept across a restart of the panel, and the way
// back to a seat after the connection is lost.
#include <QCoreApplication>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QWebSocket>
#include <QWebSocketServer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "Eventually.h"
#include "FreeSeatsDialog.h"
#include "Language.h"
#include "NetMemory.h"
#include "NetSentences.h"
#include "NetWindow.h"
#include "Preferences.h"

namespace daro::test {
namespace {

bool hasJapanese(const QString& text) {
    for (QChar c : text)
        if (c.unicode() >= 0x3000) return true;
    return false;
}

// The codes of the protocol's table of errors.
QStringList documentedRefusals() {
    QFile doc(QStringLiteral(DARO_SOURCE_DIR "/docs/protocol.md"));
    if (!doc.open(QIODevice::ReadOnly)) return {};
    const QString text = QString::fromUtf8(doc.readAll());
    const QString errors = text.mid(text.indexOf(QLatin1String("\n## Errors")));
    QStringList codes;
    static const QRegularExpression row(QStringLiteral("^\\| `([a-z_]+)` \\|"), QRegularExpression::MultilineOption);
    for (auto it = row.globalMatch(errors); it.hasNext();) codes << it.next().captured(1);
    return codes;
}

TEST(NetSentences, EveryRefusalOfTheProtocolIsASentenceInJapaneseAndEnglish) {
    const QStringList codes = documentedRefusals();
    ASSERT_GE(codes.size(), 25) << "the protocol's table of errors was not found";
    const QString fallback = qt::refusalSentence(QStringLiteral("no_code_like_this"));
    for (const QString& code : codes) {
        EXPECT_TRUE(qt::knownRefusals().contains(code)) << code.toStdString();
        const QString ja = qt::refusalSentence(code);
        EXPECT_FALSE(ja.contains(code)) << code.toStdString();
        EXPECT_TRUE(hasJapanese(ja)) << code.toStdString();
    }
    EXPECT_TRUE(qt::refusalSentence(QStringLiteral("game_not_running"), 2).contains(QLatin1String("2")));
    qt::Language language;
    ASSERT_TRUE(language.use(QStringLiteral("en")));
    QStringList english;
    for (const QString& code : codes) {
        const QString en = qt::refusalSentence(code);
        EXPECT_FALSE(hasJapanese(en)) << code.toStdString() << ": " << en.toStdString();
        EXPECT_FALSE(en.contains(QLatin1Char('_'))) << en.toStdString();
        english << en;
    }
    english.removeDuplicates();
    EXPECT_EQ(english.size(), codes.size()) << "two refusals read alike";
    EXPECT_EQ(qt::refusalSentence(QStringLiteral("game_not_running"), 1).toStdString(),
              "The game starts when every human seat is taken — waiting for 1 more player");
    EXPECT_EQ(qt::refusalSentence(QStringLiteral("game_not_running"), 3).toStdString(),
              "The game starts when every human seat is taken — waiting for 3 more players");
    EXPECT_NE(fallback, qt::refusalSentence(QStringLiteral("no_code_like_this")));
    language.use(QStringLiteral("ja"));
}

// A move time is said in its largest whole unit, and a table's pace with it.
TEST(NetSentences, MoveTimesAndPaceReadInTheLargestWholeUnitInBothLanguages) {
    EXPECT_EQ(qt::moveTimeText(3600).toStdString(), "1時間");
    EXPECT_EQ(qt::moveTimeText(3 * 86400).toStdString(), "3日");
    EXPECT_EQ(qt::moveTimeText(90 * 60).toStdString(), "90分");
    EXPECT_EQ(qt::tableRulesText(true, 7200, true).toStdString(), "進め方: 手番ごと、一手 2時間（ヒントあり）");
    qt::Language language;
    ASSERT_TRUE(language.use(QStringLiteral("en")));
    EXPECT_EQ(qt::moveTimeText(60).toStdString(), "1 minute");
    EXPECT_EQ(qt::moveTimeText(86400).toStdString(), "1 day");
    EXPECT_EQ(qt::moveTimeText(7 * 86400).toStdString(), "7 days");
    EXPECT_EQ(qt::moveTimeText(25 * 3600).toStdString(), "25 hours");
    EXPECT_EQ(qt::tableRulesText(false, 0, false).toStdString(), "Pace: live");
    EXPECT_EQ(qt::tableRulesText(true, 86400, false).toStdString(), "Pace: turn-based, 1 day a move");
    EXPECT_EQ(qt::paceText(true, 3 * 86400).toStdString(), "turn-based, 3 days a move");
    language.use(QStringLiteral("ja"));
}

// A computer seat reads the same in the panel and the free-seating dialog.
TEST(NetPanel, ComputerSeatsAreWordedAsInTheFreeSeatingDialog) {
    qt::Language language;
    ASSERT_TRUE(language.use(QStringLiteral("en")));
    QTemporaryDir folder;
    qt::NetWindow panel([](const std::function<void(Form1&)>&) {}, nullptr, nullptr, folder.path());
    qt::FreeSeatsDialog dialog(3, nullptr);
    auto* net = panel.findChild<QComboBox*>(QStringLiteral("NET_SEAT_2"));
    auto* free = dialog.findChild<QComboBox*>(QStringLiteral("SEAT_2"));
    ASSERT_TRUE(net && free);
    ASSERT_EQ(net->count(), free->count());
    for (int i = 0; i < net->count(); ++i) EXPECT_EQ(net->itemText(i).toStdString(), free->itemText(i).toStdString());
    EXPECT_EQ(net->itemText(3).toStdString(), "Computer, level 3");
    language.use(QStringLiteral("ja"));
}

TEST(NetPanel, WaitsBeforeReconnectingGrowToHalfAMinute) {
    std::vector<int> waits;
    for (int attempt = 0; attempt < 8; ++attempt) waits.push_back(qt::NetWindow::retryDelay(attempt));
    EXPECT_EQ(waits, (std::vector<int>{1, 2, 4, 8, 16, 30, 30, 30}));
}

QString line(const QJsonObject& message) {
    return QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact));
}

const QString token = QStringLiteral("0123456789abcdef0123456789abcdef");

// Seats 1 and 2 human, the rest the computer at level 2; seat 2 free or taken.
QJsonObject table(const QString& status, bool secondTaken) {
    QJsonArray seats;
    for (int s = 1; s <= 7; ++s) {
        const bool human = s <= 2;
        const bool open = s == 2 && !secondTaken;
        seats.append(QJsonObject{{"seat", s}, {"kind", human ? "human" : "computer"}, {"level", 2},
                                 {"name", s == 1 ? "me" : (open || !human ? "" : "you")}, {"open", open},
                                 {"connected", human && !open}, {"playedBy", open ? "nobody" : "player"}});
    }
    return {{"type", "table"}, {"code", "ABCDEF"}, {"status", status}, {"you", 1}, {"seats", seats},
            {"turn", status == "playing" ? 1 : 0}, {"record", QJsonArray{}}};
}

// A server that hears every message and answers what the test says.
class ScriptedServer {
public:
    ScriptedServer() {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&server_, &QWebSocketServer::newConnection, [this] {
            peer_.reset(server_.nextPendingConnection());
            ++connections;
            QObject::connect(peer_.get(), &QWebSocket::textMessageReceived, [this](const QString& text) {
                heard.append(QJsonDocument::fromJson(text.toUtf8()).object());
                if (heard.last().value("type") == "hello") say({{"type", "welcome"}, {"version", 1}});
            });
        });
    }
    QString address() const { return QStringLiteral("ws://127.0.0.1:%1/").arg(server_.serverPort()); }
    void say(const QJsonObject& m) { peer_->sendTextMessage(line(m)); }
    void hangUp() { peer_->abort(); }
    // The last message of `type` heard, once it comes.
    QJsonObject awaitHeard(const QString& type, int after = 0) {
        for (int waited = 0; waited < 8000; waited += 20) {
            for (int i = static_cast<int>(heard.size()) - 1; i >= after; --i)
                if (heard[i].value("type") == type) return heard[i];
            QTest::qWait(20);
        }
        return {};
    }
    QList<QJsonObject> heard;
    int connections = 0;

private:
    QWebSocketServer server_{QStringLiteral("scripted"), QWebSocketServer::NonSecureMode};
    std::unique_ptr<QWebSocket> peer_;
};

QPushButton* button(QWidget& panel, const char* objectName) {
    return panel.findChild<QPushButton*>(QLatin1String(objectName));
}
QString status(QWidget& panel) { return panel.findChild<QLabel*>(QStringLiteral("NET_STATUS"))->text(); }
QStringList rows(QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}
QListWidget* seatRows(QWidget& panel) {
    for (QListWidget* list : panel.findChildren<QListWidget*>())
        if (list->objectName().isEmpty()) return list;
    return nullptr;
}

TEST(NetPanel, ATableIsRememberedWithItsChatAndTheSeatIsTakenBackAfterALostConnection) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString memory = folder.filePath(QStringLiteral("tables"));
    const QString settings = folder.filePath(QStringLiteral("daro.conf"));
    ScriptedServer server;
    int followed = 0;
    const auto dispatch = [&](const std::function<void(Form1&)>&) { ++followed; };
    {
        qt::Preferences preferences(settings);
        qt::NetWindow panel(dispatch, nullptr, &preferences, memory);
        panel.findChildren<QLineEdit*>().at(0)->setText(server.address());
        panel.findChildren<QLineEdit*>().at(1)->setText(QStringLiteral("Alice"));
        panel.findChild<QLineEdit*>(QStringLiteral("NET_CODE"))->setText(QStringLiteral("abcdef"));
        for (QPushButton* b : panel.findChildren<QPushButton*>())
            if (b->text() == QCoreApplication::translate("NetWindow", "参加")) b->click();
        EXPECT_EQ(server.awaitHeard("hello").value("name").toString(), "Alice");
        EXPECT_EQ(server.awaitHeard("join").value("code").toString(), "ABCDEF");
        server.say({{"type", "joined"}, {"code", "ABCDEF"}, {"seat", 1}, {"token", token}});
        server.say(table("waiting", false));
        ASSERT_TRUE(eventually([&] { return followed == 1; }));

        // The seat boxes show the table's seats, and cannot be changed.
        auto* second = panel.findChild<QComboBox*>(QStringLiteral("NET_SEAT_2"));
        auto* third = panel.findChild<QComboBox*>(QStringLiteral("NET_SEAT_3"));
        EXPECT_EQ(second->currentData().toString(), "human");
        EXPECT_EQ(third->currentData().toString(), "level2");
        EXPECT_FALSE(third->isEnabled());
        EXPECT_TRUE(rows(seatRows(panel)).join('\n').contains(QLatin1String("COM LEVEL2")));

        // A move before the start says whom the game waits for, until it starts.
        server.say({{"type", "error"}, {"code", "game_not_running"}, {"about", "move"}});
        ASSERT_TRUE(eventually([&] { return status(panel).contains(QStringLiteral("あと1人")); }, 5000)) << status(panel).toStdString();
        server.say({{"type", "seat"}, {"seat", 2}, {"kind", "human"}, {"name", "you"}, {"open", false},
                    {"connected", true}});
        server.say({{"type", "started"}});
        ASSERT_TRUE(eventually([&] { return !status(panel).contains(QStringLiteral("あと1人")); }, 5000));
        EXPECT_TRUE(status(panel).contains(QLatin1String("ABCDEF"))) << status(panel).toStdString();

        // A refusal for another table leaves the seat held here alone.
        server.say({{"type", "error"}, {"code", "no_such_table"}, {"about", "join"}});
        for (int n = 1; n <= qt::NetMemory::chatLines + 5; ++n)
            server.say({{"type", "chat"}, {"seat", 2}, {"name", "you"}, {"text", QStringLiteral("line %1").arg(n)}});
        ASSERT_TRUE(eventually([&] { return qt::NetMemory(memory).chat("ABCDEF").size() == qt::NetMemory::chatLines &&
                                     qt::NetMemory(memory).chat("ABCDEF").last() == "you: line 205"; }, 8000));
        EXPECT_EQ(qt::NetMemory(memory).chat("ABCDEF").first().toStdString(), "you: line 6");

        // The server goes: nobody's connection is known, and the panel comes back by itself.
        const int before = static_cast<int>(server.heard.size());
        server.hangUp();
        ASSERT_TRUE(eventually([&] { return rows(seatRows(panel)).join('\n').contains(QStringLiteral("接続不明")); }, 5000));
        EXPECT_FALSE(rows(seatRows(panel)).join('\n').contains(QStringLiteral("  接続中")));
        EXPECT_TRUE(status(panel).contains(QStringLiteral("再接続まで 1 秒"))) << status(panel).toStdString();
        const QJsonObject back = server.awaitHeard("reconnect", before);
        EXPECT_EQ(back.value("code").toString(), "ABCDEF");
        EXPECT_EQ(back.value("seat").toInt(), 1);
        EXPECT_EQ(back.value("token").toString(), token);
        EXPECT_EQ(server.connections, 2);
        server.say({{"type", "joined"}, {"code", "ABCDEF"}, {"seat", 1}});
        server.say(table("playing", true));
        ASSERT_TRUE(eventually([&] { return status(panel).contains(QStringLiteral("再接続しました")); }, 5000));
        EXPECT_TRUE(rows(seatRows(panel)).join('\n').contains(QStringLiteral("接続中")));
    }

    // Opened again: the server and the name, the way back to the table, its chat.
    qt::Preferences preferences(settings);
    qt::NetWindow panel(dispatch, nullptr, &preferences, memory);
    EXPECT_EQ(panel.findChildren<QLineEdit*>().at(0)->text(), server.address());
    EXPECT_EQ(panel.findChildren<QLineEdit*>().at(1)->text().toStdString(), "Alice");
    auto* held = panel.findChild<QListWidget*>(QStringLiteral("NET_HELD_TABLES"));
    ASSERT_EQ(rows(held), QStringList{QStringLiteral("卓 ABCDEF に戻る")});
    const int before = static_cast<int>(server.heard.size());
    emit held->itemActivated(held->item(0));
    EXPECT_EQ(server.awaitHeard("reconnect", before).value("token").toString(), token);
    server.say({{"type", "joined"}, {"code", "ABCDEF"}, {"seat", 1}});
    server.say(table("playing", true));
    auto* chat = panel.findChild<QPlainTextEdit*>();
    ASSERT_TRUE(eventually([&] { return chat->toPlainText().endsWith(QLatin1String("you: line 205")); }, 5000));
    EXPECT_EQ(chat->blockCount(), qt::NetMemory::chatLines);

    // A token the server no longer takes is forgotten.
    server.hangUp();
    const int again = static_cast<int>(server.heard.size());
    server.awaitHeard("reconnect", again);
    server.say({{"type", "error"}, {"code", "bad_token"}, {"about", "reconnect"}});
    ASSERT_TRUE(eventually([&] { return qt::NetMemory(memory).seats().empty(); }, 5000));
    EXPECT_TRUE(rows(held).isEmpty());
    EXPECT_TRUE(qt::NetMemory(memory).chat("ABCDEF").isEmpty());
}

TEST(NetPanel, YourTablesAreAskedAboutWithYourTurnFirstAndTheirClocks) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString memory = folder.filePath(QStringLiteral("tables"));
    qt::NetMemory held(memory);
    const QString other = QStringLiteral("fedcba9876543210fedcba9876543210");
    held.keepSeat({QStringLiteral("AAAAAA"), 3, token});
    held.keepSeat({QStringLiteral("BBBBBB"), 5, other});
    held.keepSeat({QStringLiteral("CCCCCC"), 1, token});
    ScriptedServer server;
    qt::Preferences preferences(QString{});
    preferences.setValue(QStringLiteral("netServer"), server.address());
    qt::NetWindow panel([](const std::function<void(Form1&)>&) {}, nullptr, &preferences, memory);
    panel.show();
    const QJsonArray asked = server.awaitHeard("mine").value("tables").toArray();
    ASSERT_EQ(asked.size(), 3);
    EXPECT_EQ(asked[1].toObject().value("code").toString(), "BBBBBB");
    EXPECT_EQ(asked[1].toObject().value("seat").toInt(), 5);
    EXPECT_EQ(asked[1].toObject().value("token").toString(), other);

    const auto entry = [](const char* code, int seat, bool yours, double left) {
        QJsonObject e{{"code", code}, {"seat", seat}, {"status", "playing"}, {"pace", "turn"}, {"moveSeconds", 86400},
                      {"turn", yours ? seat : 1}, {"yourTurn", yours}, {"moveNumber", 12}, {"result", ""}};
        if (left > 0) e["turnLeft"] = left;
        return e;
    };
    server.say({{"type", "mine"},
                {"tables", QJsonArray{entry("AAAAAA", 3, false, 0), entry("BBBBBB", 5, true, 3600),
                                      QJsonObject{{"code", "CCCCCC"}, {"seat", 1}, {"error", "no_such_table"}}}}});
    auto* list = panel.findChild<QListWidget*>(QStringLiteral("NET_HELD_TABLES"));
    ASSERT_TRUE(eventually([&] { return list->count() == 2; })) << rows(list).join('|').toStdString();
    EXPECT_TRUE(rows(list)[0].startsWith(QStringLiteral("★ 卓 BBBBBB に戻る  あなたの番です  残り 0:59:")) ||
                rows(list)[0].startsWith(QStringLiteral("★ 卓 BBBBBB に戻る  あなたの番です  残り 1:00:00")))
        << rows(list)[0].toStdString();
    EXPECT_EQ(rows(list)[1].toStdString(), "卓 AAAAAA に戻る");
    EXPECT_FALSE(qt::NetMemory(memory).seatAt(QStringLiteral("CCCCCC")));
    // A server that does not know the question: the player hears nothing of it.
    server.say({{"type", "error"}, {"code", "unknown_type"}, {"about", "mine"}});
    QTest::qWait(300);
    EXPECT_EQ(status(panel), QString());

    // The server's own chat lines are the window's sentences; a seat's missed moves show.
    server.say({{"type", "chat"}, {"seat", 0}, {"name", ""}, {"text", "Seat 2 missed 3 moves in a row; ..."},
                {"notice", "abandoned"}, {"noticeSeat", 2}});
    server.say({{"type", "seat"}, {"seat", 1}, {"kind", "human"}, {"name", "me"}, {"open", false}, {"connected", false},
                {"playedBy", "player"}, {"missed", 2}});
    auto* chat = panel.findChild<QPlainTextEdit*>();
    ASSERT_TRUE(eventually([&] { return chat->toPlainText().contains(QStringLiteral("楚は3手続けて時間切れ")); }))
        << chat->toPlainText().toStdString();
    EXPECT_TRUE(rows(seatRows(panel)).join('|').contains(QStringLiteral("時間切れ 2回")));

    // At the table itself the clock of the seat to move runs, here the grace of an away player.
    emit list->itemActivated(list->item(1));
    EXPECT_EQ(server.awaitHeard("reconnect").value("code").toString(), "AAAAAA");
    QJsonObject atTable = table("playing", true);
    atTable["code"] = "AAAAAA";
    atTable["you"] = 3;
    atTable["turn"] = 2;
    atTable["turnLeft"] = 90.5;
    server.say({{"type", "joined"}, {"code", "AAAAAA"}, {"seat", 3}});
    server.say(atTable);
    ASSERT_TRUE(eventually([&] {
        for (QLabel* label : panel.findChildren<QLabel*>())
            if (label->text().startsWith(QStringLiteral("手番: 楚  残り 0:01:3"))) return true;
        return false;
    }));
    server.say({{"type", "turn"}, {"seat", 3}, {"left", 86400.0 * 2 + 7200}});
    ASSERT_TRUE(eventually([&] {
        for (QLabel* label : panel.findChildren<QLabel*>())
            if (label->text() == QStringLiteral("あなたの番です  残り 2日2時間")) return true;
        return false;
    }));

    // Back at a table whose game ended meanwhile: the seat is let go, and the rematch is offered.
    ASSERT_TRUE(qt::NetMemory(memory).seatAt(QStringLiteral("AAAAAA")));
    QJsonObject ended = atTable;
    ended["status"] = "over";
    ended["turn"] = 0;
    ended.remove("turnLeft");
    server.say(ended);
    ASSERT_TRUE(eventually([&] { return !qt::NetMemory(memory).seatAt(QStringLiteral("AAAAAA")); }));
    EXPECT_TRUE(qt::NetMemory(memory).seatAt(QStringLiteral("BBBBBB"))) << "only that table's seat";
    EXPECT_TRUE(button(panel, "NET_REMATCH")->isVisible());
    EXPECT_EQ(status(panel).toStdString(), "対局は終わりました");

    // 楚 offers a rematch; accepted, the new table is this window's, and once
    // its game is over too the offer heard at the old one is no news there.
    server.say({{"type", "rematch"}, {"code", "NEXTAB"}, {"seat", 2}});
    auto* note = panel.findChild<QLabel*>(QStringLiteral("NET_REMATCH_NOTE"));
    ASSERT_TRUE(eventually([&] { return note->isVisible(); }));
    EXPECT_EQ(note->text().toStdString(), "楚が再戦を申し込みました（卓 NEXTAB）");
    EXPECT_EQ(button(panel, "NET_REMATCH")->text().toStdString(), "再戦を受ける");
    const int heardBefore = static_cast<int>(server.heard.size());
    button(panel, "NET_REMATCH")->click();
    EXPECT_FALSE(server.awaitHeard("rematch", heardBefore).isEmpty());
    server.say({{"type", "joined"}, {"code", "NEXTAB"}, {"seat", 3}, {"token", token}});
    QJsonObject next = ended;
    next["code"] = "NEXTAB";
    server.say(next);
    ASSERT_TRUE(eventually([&] { return button(panel, "NET_REMATCH")->text() == QStringLiteral("再戦"); }));
    EXPECT_EQ(panel.findChild<QLineEdit*>(QStringLiteral("NET_CODE"))->text().toStdString(), "NEXTAB");
    EXPECT_FALSE(note->isVisible());
}

}  // namespace
}  // namespace daro::test
