// The network panel's lobby: the server's public tables, those waiting for
// players first, followed live once the player asks for them. Activating a
// waiting table joins it; a game being played is watched.
#include <QCoreApplication>
#include <QHideEvent>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "NetMemory.h"
#include "NetSentences.h"
#include "NetWindow.h"

namespace daro::qt {

namespace {

QString text(const char* source) { return QCoreApplication::translate("NetWindow", source); }

// The server lists at most this many tables in one message.
constexpr int longestLobby = 100;

enum class Listed { waiting, playing };

}  // namespace

void NetWindow::buildLobby(QVBoxLayout* layout) {
    lobbyButton_ = new QPushButton(text(QT_TRANSLATE_NOOP("NetWindow", "公開の卓を見る")), this);
    lobbyButton_->setObjectName(QStringLiteral("NET_SHOW_LOBBY"));
    lobbyList_ = new QListWidget(this);
    lobbyList_->setObjectName(QStringLiteral("NET_LOBBY"));
    lobbyList_->setMaximumHeight(110);
    lobbyList_->hide();
    layout->addWidget(lobbyButton_);
    layout->addWidget(lobbyList_);
    connect(lobbyButton_, &QPushButton::clicked, this, [this] {
        lobbyWanted_ = true;
        lobbyList_->show();
        followLobby();
    });
    connect(lobbyList_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const QString code = item->data(Qt::UserRole).toString();
        if (!isTableCode(code)) return;
        codeField_->setText(code);
        if (item->data(Qt::UserRole + 1).toInt() == static_cast<int>(Listed::playing))
            openConnection(QJsonObject{{"type", "spectate"}, {"code", code}});
        else
            joinTable(code, 0);
    });
}

void NetWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Minimised is not closed.
    if (event->spontaneous() || !lobbyWanted_) return;
    lobbyWanted_ = false;
    lobbyList_->hide();
    if (socket_ && socket_->state() == QAbstractSocket::ConnectedState && welcomed_)
        send(QJsonObject{{"type", "lobby"}, {"subscribe", false}});
}

// A connection may follow the list wherever it is: at a table, the one it
// has; else one of its own.
void NetWindow::followLobby() {
    const QJsonObject follow{{"type", "lobby"}, {"subscribe", true}};
    const auto state = socket_ ? socket_->state() : QAbstractSocket::UnconnectedState;
    if (state == QAbstractSocket::ConnectedState && welcomed_)
        send(follow);
    else if (state == QAbstractSocket::UnconnectedState && !returning_)
        openConnection(follow);
    // Otherwise the connection under way follows it once welcomed.
}

void NetWindow::onLobby(const QJsonObject& lobby) {
    if (!lobbyWanted_) return;
    lobbyList_->clear();
    const auto list = [this](const QJsonArray& tables, Listed kind) {
        for (const QJsonValue& value : tables) {
            if (lobbyList_->count() >= longestLobby) return;
            const QJsonObject table = value.toObject();
            const QString code = table.value(QStringLiteral("code")).toString();
            if (!isTableCode(code)) continue;
            const QString pace = paceText(table.value(QStringLiteral("pace")).toString() == QLatin1String("turn"),
                                          table.value(QStringLiteral("moveSeconds")).toInt());
            const int free = std::clamp(table.value(QStringLiteral("free")).toInt(), 0, Codes::seatCount);
            const QString row = kind == Listed::waiting
                                    ? text(QT_TRANSLATE_NOOP("NetWindow", "卓 %1  空席 %2  %3")).arg(code).arg(free).arg(pace)
                                    : text(QT_TRANSLATE_NOOP("NetWindow", "卓 %1  対局中  %2")).arg(code, pace);
            auto* item = new QListWidgetItem(row, lobbyList_);
            item->setData(Qt::UserRole, code);
            item->setData(Qt::UserRole + 1, static_cast<int>(kind));
        }
    };
    list(lobby.value(QStringLiteral("waiting")).toArray(), Listed::waiting);
    list(lobby.value(QStringLiteral("playing")).toArray(), Listed::playing);
    if (lobbyList_->count() == 0) new QListWidgetItem(text(QT_TRANSLATE_NOOP("NetWindow", "公開の卓はありません")), lobbyList_);
    // A connection made only for the list has nothing more to say.
    if (!atTable_ && !returning_ && firstRequest_.value(QStringLiteral("type")).toString() == QLatin1String("lobby"))
        setStatus(QString());
}

}  // namespace daro::qt
