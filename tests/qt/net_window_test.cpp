// The network panel against a server that sends what it should not: codes
// that would name files outside the token folder, seats that are no seat,
// tokens that are no token. The panel ignores them, and takes the sound
// messages that follow as usual.
#include <QCoreApplication>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWebSocket>
#include <QWebSocketServer>

#include <gtest/gtest.h>

#include <memory>

#include "Eventually.h"
#include "NetWindow.h"

namespace daro::test {
namespace {

QString line(const QJsonObject& message) {
    return QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact));
}

QJsonObject tableMessage(const QString& code, int you) {
    QJsonArray seats;
    for (int s = 1; s <= 7; ++s)
        seats.append(QJsonObject{{"seat", s}, {"kind", s <= 2 ? "human" : "computer"}, {"level", 1},
                                 {"name", s == you ? "me" : ""}, {"open", false}, {"connected", true}});
    return {{"type", "table"}, {"code", code}, {"you", you}, {"seats", seats}, {"turn", 1}, {"record", QJsonArray{}}};
}

TEST(NetWindowTest, WhatTheServerNamesIsCheckedBeforeItNamesAFileOrASeat) {
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    const QByteArray previousData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    const QString tokens = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/tables");
    ASSERT_TRUE(tokens.startsWith(data.path())) << tokens.toStdString();

    QWebSocketServer server(QStringLiteral("fake"), QWebSocketServer::NonSecureMode);
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QWebSocket* peer = nullptr;
    QStringList heard;
    std::unique_ptr<QWebSocket> peerOwner;  // the server hands its sockets over
    QObject::connect(&server, &QWebSocketServer::newConnection, [&] {
        peer = server.nextPendingConnection();
        peerOwner.reset(peer);
        QObject::connect(peer, &QWebSocket::textMessageReceived, [&](const QString& text) {
            heard << QJsonDocument::fromJson(text.toUtf8()).object().value("type").toString();
        });
    });

    int dispatched = 0;
    qt::NetWindow panel([&](const std::function<void(Form1&)>&) { ++dispatched; }, nullptr);
    const auto fields = panel.findChildren<QLineEdit*>();
    ASSERT_FALSE(fields.isEmpty());
    fields.first()->setText(QStringLiteral("ws://127.0.0.1:%1/").arg(server.serverPort()));
    QPushButton* create = nullptr;
    for (QPushButton* b : panel.findChildren<QPushButton*>())
        if (b->text() == QCoreApplication::translate("NetWindow", "卓を作る")) create = b;
    ASSERT_NE(create, nullptr);
    create->click();
    ASSERT_TRUE(eventually([&] { return heard.contains("hello"); }));
    peer->sendTextMessage(line({{"type", "welcome"}, {"version", 1}}));
    ASSERT_TRUE(eventually([&] { return heard.contains("create"); }));

    const QString token = QStringLiteral("0123456789abcdef0123456789abcdef");
    const QJsonObject hostile[] = {
        {{"type", "joined"}, {"code", "../../evil"}, {"seat", 1}, {"token", token}},
        {{"type", "joined"}, {"code", "ABC/EF"}, {"seat", 1}, {"token", token}},
        {{"type", "joined"}, {"code", "ABCDEF"}, {"seat", 99}, {"token", token}},
        {{"type", "joined"}, {"code", "ABCDEF"}, {"seat", -1}, {"token", token}},
        {{"type", "joined"}, {"code", "ABCDEF"}, {"seat", 1}, {"token", "1\n../../x"}},
        tableMessage(QStringLiteral("../../evil"), 1),
        tableMessage(QStringLiteral("ABCDEF"), 99),
        tableMessage(QStringLiteral("ABCDEF"), -5),
    };
    for (const QJsonObject& m : hostile) peer->sendTextMessage(line(m));
    // Then what a server says: messages arrive in order, so once this table
    // is followed every one above has been read.
    peer->sendTextMessage(line({{"type", "joined"}, {"code", "ABCDEF"}, {"seat", 2}, {"token", token}}));
    peer->sendTextMessage(line(tableMessage(QStringLiteral("ABCDEF"), 2)));
    ASSERT_TRUE(eventually([&] { return dispatched >= 1; }));
    QTest::qWait(100);
    EXPECT_EQ(dispatched, 1);

    QStringList files;
    for (QDirIterator it(data.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        files << it.next();
    EXPECT_EQ(files.join(QLatin1Char('\n')).toStdString(), (tokens + QStringLiteral("/ABCDEF.seat")).toStdString());
    QFile kept(tokens + QStringLiteral("/ABCDEF.seat"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll().toStdString(), "2 " + token.toStdString() + "\n");

    if (previousData.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", previousData);
}

}  // namespace
}  // namespace daro::test
