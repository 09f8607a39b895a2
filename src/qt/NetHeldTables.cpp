// The network panel's "your tables": every table the window holds a seat
// at, with what the server says of it (`mine`), the tables where it is your
// turn first; the window asks for attention when your turn comes.
#include <QApplication>
#include <QCoreApplication>
#include <QJsonArray>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include <algorithm>
#include <cmath>

#include "NetWindow.h"

namespace daro::qt {

namespace {

QString text(const char* source) { return QCoreApplication::translate("NetWindow", source); }

// The server answers about at most this many tables at once.
constexpr int largestAsk = 100;
// A clock of more than a week is no server's.
constexpr double longestClock = 8 * 86400;

}  // namespace

void NetWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    askAboutHeldTables();
}

void NetWindow::askAboutHeldTables() {
    QJsonArray tables;
    for (const HeldSeat& held : memory_.seats()) {
        if (tables.size() == largestAsk) break;
        tables.append(QJsonObject{{"code", held.code}, {"seat", held.seat}, {"token", held.token}});
    }
    if (tables.isEmpty()) return;
    const QJsonObject ask{{"type", "mine"}, {"tables", tables}};
    if (socket_ && socket_->state() == QAbstractSocket::ConnectedState && welcomed_)
        send(ask);
    else if ((!socket_ || socket_->state() == QAbstractSocket::UnconnectedState) && !returning_)
        openConnection(ask);
}

qint64 NetWindow::clockEnd(const QJsonValue& secondsLeft) const {
    const double left = secondsLeft.toDouble(0);
    return left > 0 && left <= longestClock ? clock_.elapsed() + static_cast<qint64>(left * 1000) : 0;
}

void NetWindow::onMine(const QJsonObject& mine) {
    bool yourTurnCame = false;
    for (const QJsonValue& value : mine.value(QStringLiteral("tables")).toArray()) {
        const QJsonObject entry = value.toObject();
        const QString code = entry.value(QStringLiteral("code")).toString();
        if (!isTableCode(code)) continue;
        const QString error = entry.value(QStringLiteral("error")).toString();
        // A seat the server no longer knows, or no longer gives back, is forgotten.
        if (error == QLatin1String("no_such_table") || error == QLatin1String("bad_token")) {
            memory_.forget(code);
            heldStatus_.erase(code);
            continue;
        }
        if (!error.isEmpty()) continue;
        const bool wasYourTurn = heldStatus_.count(code) &&
                                 heldStatus_[code].entry.value(QStringLiteral("yourTurn")).toBool();
        const bool yourTurn = entry.value(QStringLiteral("yourTurn")).toBool();
        yourTurnCame = yourTurnCame || (yourTurn && !wasYourTurn && !(atTable_ && code == code_));
        heldStatus_[code] = {entry, clockEnd(entry.value(QStringLiteral("turnLeft")))};
    }
    showHeldTables();
    if (yourTurnCame) turnCameToYou();
    if (!atTable_ && !returning_ && firstRequest_.value(QStringLiteral("type")).toString() == QLatin1String("mine")) setStatus(QString());
}

void NetWindow::turnCameToYou() {
    // Only a window in the background blinks in the task bar.
    QApplication::alert(parentWidget() ? parentWidget()->window() : window(), 0);
}

QString NetWindow::timeLeft(qint64 endsAt) const {
    const qint64 seconds = std::max<qint64>(0, static_cast<qint64>(std::ceil((endsAt - clock_.elapsed()) / 1000.0)));
    if (seconds >= 86400)
        return text(QT_TRANSLATE_NOOP("NetWindow", "%1日%2時間")).arg(seconds / 86400).arg(seconds % 86400 / 3600);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds % 3600 / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString NetWindow::heldRow(const HeldSeat& held) const {
    QString row = text(QT_TRANSLATE_NOOP("NetWindow", "卓 %1 に戻る")).arg(held.code);
    const auto known = heldStatus_.find(held.code);
    if (known == heldStatus_.end()) return row;
    const QJsonObject& entry = known->second.entry;
    const QString status = entry.value(QStringLiteral("status")).toString();
    if (entry.value(QStringLiteral("yourTurn")).toBool())
        row = QStringLiteral("★ ") + row + QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "あなたの番です"));
    else if (status == QLatin1String("waiting"))
        row += QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "参加者を待っています"));
    else if (status == QLatin1String("over"))
        row += QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "終局"));
    if (known->second.turnEnds > 0)
        row += QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "残り %1")).arg(timeLeft(known->second.turnEnds));
    return row;
}

void NetWindow::showHeldTables() {
    std::vector<HeldSeat> held = memory_.seats();
    const auto yourTurn = [this](const HeldSeat& h) {
        const auto known = heldStatus_.find(h.code);
        return known != heldStatus_.end() && known->second.entry.value(QStringLiteral("yourTurn")).toBool();
    };
    std::stable_partition(held.begin(), held.end(), yourTurn);
    heldTables_->clear();
    for (const HeldSeat& h : held) {
        if (atTable_ && h.code == code_) continue;
        auto* item = new QListWidgetItem(heldRow(h), heldTables_);
        item->setData(Qt::UserRole, h.code);
        if (yourTurn(h)) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
        }
    }
    heldTables_->setVisible(heldTables_->count() > 0);
}

// The clocks count down in place; the list keeps its selection.
void NetWindow::showHeldTimes() {
    for (int i = 0; i < heldTables_->count(); ++i) {
        QListWidgetItem* item = heldTables_->item(i);
        if (const auto held = memory_.seatAt(item->data(Qt::UserRole).toString())) {
            const QString row = heldRow(*held);
            if (item->text() != row) item->setText(row);
        }
    }
}

}  // namespace daro::qt
