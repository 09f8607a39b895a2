#include "NetWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "Form1.h"
#include "FreeSeatsDialog.h"
#include "NetSentences.h"
#include "Preferences.h"

namespace daro::qt {

namespace {

QString text(const char* source) { return QCoreApplication::translate("NetWindow", source); }

constexpr const char* seatNames[8] = {"",
                                      QT_TRANSLATE_NOOP("NetWindow", "１番目(秦)"),
                                      QT_TRANSLATE_NOOP("NetWindow", "2番目(楚)"),
                                      QT_TRANSLATE_NOOP("NetWindow", "3番目(韓)"),
                                      QT_TRANSLATE_NOOP("NetWindow", "4番目(斉)"),
                                      QT_TRANSLATE_NOOP("NetWindow", "5番目(魏)"),
                                      QT_TRANSLATE_NOOP("NetWindow", "6番目(趙)"),
                                      QT_TRANSLATE_NOOP("NetWindow", "7番目(燕)")};

// The server's messages are bounded; one larger than this is not the server's.
constexpr qint64 largestMessage = 4 * 1024 * 1024;
constexpr int longestRetry = 30;
// A grace of more than a day is no server's.
constexpr double longestGrace = 86400;

bool isSeat(int seat) { return seat >= 1 && seat <= Codes::seatCount; }
std::size_t at(int seat) { return static_cast<std::size_t>(seat); }

QString field(const QJsonObject& m, const char* name) { return m.value(QLatin1String(name)).toString(); }

}  // namespace

int NetWindow::retryDelay(int attempt) {
    return attempt >= 5 ? longestRetry : std::min(longestRetry, 1 << std::max(0, attempt));
}

NetWindow::NetWindow(Dispatch dispatch, QWidget* parent, Preferences* preferences, QString memoryFolder)
    : QWidget(parent, Qt::Window), dispatch_(std::move(dispatch)), preferences_(preferences),
      memory_(std::move(memoryFolder)) {
    setObjectName(QStringLiteral("NET_PLAY_WINDOW"));
    setWindowTitle(text(QT_TRANSLATE_NOOP("NetWindow", "ネット対局")));
    clock_.start();
    buildLayout();
    countdown_ = new QTimer(this);
    countdown_->setInterval(1000);
    connect(countdown_, &QTimer::timeout, this, [this] {
        showSeats();
        showHeldTimes();
    });
    countdown_->start();
    // What the server says of the held tables is asked again now and then.
    askTimer_ = new QTimer(this);
    askTimer_->setInterval(60 * 1000);
    connect(askTimer_, &QTimer::timeout, this, [this] {
        if (isVisible()) askAboutHeldTables();
    });
    askTimer_->start();
    retry_ = new QTimer(this);
    retry_->setSingleShot(true);
    connect(retry_, &QTimer::timeout, this, [this] {
        // A server that does not answer may keep the attempt waiting a while.
        setStatus(text(QT_TRANSLATE_NOOP("NetWindow", "再接続しています…（%1回目）")).arg(attempt_));
        openConnection(firstRequest_, true);
    });
    retryCountdown_ = new QTimer(this);
    retryCountdown_->setSingleShot(true);
    connect(retryCountdown_, &QTimer::timeout, this, &NetWindow::showRetry);
    showHeldTables();
}

void NetWindow::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    auto* server = new QFormLayout;
    const QString defaultName = qEnvironmentVariable("USER", QStringLiteral("guest")).left(32);
    address_ = new QLineEdit(this);
    name_ = new QLineEdit(this);
    address_->setText(preferences_ ? preferences_->value(QStringLiteral("netServer"), QStringLiteral("ws://127.0.0.1:7770/")).toString()
                                   : QStringLiteral("ws://127.0.0.1:7770/"));
    name_->setMaxLength(32);
    name_->setText(preferences_ ? preferences_->value(QStringLiteral("netName"), defaultName).toString() : defaultName);
    server->addRow(text(QT_TRANSLATE_NOOP("NetWindow", "サーバー")), address_);
    server->addRow(text(QT_TRANSLATE_NOOP("NetWindow", "名前")), name_);
    layout->addLayout(server);
    buildSeatChoices(layout);
    buildJoinRow(layout);
    buildLobby(layout);

    heldTables_ = new QListWidget(this);
    heldTables_->setObjectName(QStringLiteral("NET_HELD_TABLES"));
    heldTables_->setMaximumHeight(90);
    layout->addWidget(heldTables_);
    connect(heldTables_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (const auto held = memory_.seatAt(item->data(Qt::UserRole).toString())) rejoin(*held);
    });

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("NET_STATUS"));
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);
    rulesLabel_ = new QLabel(this);
    rulesLabel_->setObjectName(QStringLiteral("NET_TABLE_RULES"));
    rulesLabel_->setTextFormat(Qt::PlainText);
    layout->addWidget(status_);
    layout->addWidget(rulesLabel_);
    // Made in the order shown, so that Tab goes from one to the next.
    buildRematchRow(layout);
    turnLabel_ = new QLabel(this);
    turnLabel_->setObjectName(QStringLiteral("NET_TURN"));
    turnLabel_->setTextFormat(Qt::PlainText);
    seatList_ = new QListWidget(this);
    nowButton_ = new QPushButton(text(QT_TRANSLATE_NOOP("NetWindow", "今の局面へ")), this);
    nowButton_->setObjectName(QStringLiteral("NET_BACK_TO_NOW"));
    connect(nowButton_, &QPushButton::clicked, this, [this] { dispatch_([](Form1& f) { f.backToNow(); }); });
    chatLog_ = new QPlainTextEdit(this);
    chatLog_->setReadOnly(true);
    chatLog_->setMaximumBlockCount(NetMemory::chatLines + 100);
    chatLine_ = new QLineEdit(this);
    chatLine_->setMaxLength(200);
    chatLine_->setPlaceholderText(text(QT_TRANSLATE_NOOP("NetWindow", "チャット")));
    layout->addWidget(turnLabel_);
    layout->addWidget(seatList_);
    layout->addWidget(nowButton_);
    layout->addWidget(chatLog_);
    layout->addWidget(chatLine_);
    connect(chatLine_, &QLineEdit::returnPressed, this, [this] {
        const QString line = chatLine_->text().trimmed();
        if (line.isEmpty() || !atTable_) return;
        send(QJsonObject{{"type", "chat"}, {"text", line}});
        chatLine_->clear();
    });
}

void NetWindow::buildSeatChoices(QVBoxLayout* layout) {
    auto* create = new QFormLayout;
    for (int seat = 1; seat <= Codes::seatCount; ++seat) {
        auto* choice = new QComboBox(this);
        choice->setObjectName(QStringLiteral("NET_SEAT_%1").arg(seat));
        choice->addItem(text(QT_TRANSLATE_NOOP("NetWindow", "人間")), QStringLiteral("human"));
        for (int l = 1; l <= Table::levelFive; ++l)
            choice->addItem(FreeSeatsDialog::computerName(l), QStringLiteral("level%1").arg(l));
        choice->setCurrentIndex(seat == 1 ? 0 : 3);
        create->addRow(text(seatNames[seat]), choice);
        newSeats_[at(seat)] = choice;
    }
    buildTableRules(create);
    createButton_ = new QPushButton(text(QT_TRANSLATE_NOOP("NetWindow", "卓を作る")), this);
    createButton_->setObjectName(QStringLiteral("NET_CREATE"));
    quickButton_ = new QPushButton(text(QT_TRANSLATE_NOOP("NetWindow", "クイック対局")), this);
    quickButton_->setObjectName(QStringLiteral("NET_QUICK"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(createButton_);
    buttons->addWidget(quickButton_);
    create->addRow(buttons);
    layout->addLayout(create);
    connect(createButton_, &QPushButton::clicked, this, [this] {
        // The boxes show the table's seats: the first click gives them back.
        if (showingTable_) {
            showOwnSeatChoices();
            return;
        }
        openConnection(createRequest());
    });
    connect(quickButton_, &QPushButton::clicked, this, [this] { openConnection(quickRequest()); });
}

void NetWindow::buildJoinRow(QVBoxLayout* layout) {
    auto* join = new QHBoxLayout;
    codeField_ = new QLineEdit(this);
    codeField_->setObjectName(QStringLiteral("NET_CODE"));
    codeField_->setMaxLength(6);
    codeField_->setPlaceholderText(text(QT_TRANSLATE_NOOP("NetWindow", "コード")));
    seatChoice_ = new QComboBox(this);
    seatChoice_->addItem(text(QT_TRANSLATE_NOOP("NetWindow", "空いている席")), 0);
    for (int seat = 1; seat <= Codes::seatCount; ++seat) seatChoice_->addItem(text(seatNames[seat]), seat);
    auto* joinButton = new QPushButton(text(QT_TRANSLATE_NOOP("NetWindow", "参加")), this);
    auto* watchButton = new QPushButton(text(QT_TRANSLATE_NOOP("NetWindow", "観戦")), this);
    join->addWidget(codeField_);
    join->addWidget(seatChoice_);
    join->addWidget(joinButton);
    join->addWidget(watchButton);
    layout->addLayout(join);
    connect(joinButton, &QPushButton::clicked, this,
            [this] { joinTable(codeField_->text().trimmed().toUpper(), seatChoice_->currentData().toInt()); });
    connect(watchButton, &QPushButton::clicked, this, [this] {
        openConnection(QJsonObject{{"type", "spectate"}, {"code", codeField_->text().trimmed().toUpper()}});
    });
}

// Every request that goes to a table goes on a connection of its own: the
// seat of a table the window was at stays its own (with its grace, and its
// token to go back), where `leave` would give it up.
void NetWindow::openConnection(const QJsonObject& firstRequest, bool retrying) {
    firstRequest_ = firstRequest;
    remember();
    if (!retrying) {
        // The player's own choice: whatever was being taken up again is over.
        returning_ = false;
        attempt_ = 0;
        retry_->stop();
        rulesLabel_->clear();
    }
    const auto state = socket_ ? socket_->state() : QAbstractSocket::UnconnectedState;
    if (!atTable_ && state == QAbstractSocket::ConnectedState && welcomed_) {
        send(firstRequest_);
        return;
    }
    // Still saying hello: the welcome sends the request.
    if (!atTable_ && !retrying && state != QAbstractSocket::UnconnectedState && state != QAbstractSocket::ClosingState)
        return;
    dropConnection();
    socket_ = std::make_unique<QWebSocket>();
    welcomed_ = false;
    socket_->setMaxAllowedIncomingMessageSize(largestMessage);
    QWebSocket* socket = socket_.get();
    connect(socket, &QWebSocket::connected, this, [this] {
        QJsonObject hello{{"type", "hello"}, {"version", 1}};
        if (!name_->text().trimmed().isEmpty()) hello["name"] = name_->text().trimmed().left(32);
        send(hello);
    });
    connect(socket, &QWebSocket::textMessageReceived, this, &NetWindow::received);
    connect(socket, &QWebSocket::stateChanged, this, [this](QAbstractSocket::SocketState state) {
        if (state == QAbstractSocket::UnconnectedState) QTimer::singleShot(0, this, &NetWindow::lostConnection);
    });
    if (!returning_) setStatus(text(QT_TRANSLATE_NOOP("NetWindow", "接続中…")));
    socket->open(QUrl(address_->text().trimmed()));
}

// The old connection goes without a word back: nothing it still says is heard.
void NetWindow::dropConnection() {
    retry_->stop();
    atTable_ = false;
    if (!socket_) return;
    QWebSocket* old = socket_.release();
    disconnect(old, nullptr, this, nullptr);
    old->abort();
    old->deleteLater();
}

void NetWindow::joinTable(const QString& code, int seat) {
    // A seat this program holds at that table is taken back with its token.
    if (const auto held = memory_.seatAt(code)) {
        rejoin(*held);
        return;
    }
    QJsonObject request{{"type", "join"}, {"code", code}};
    if (seat > 0) request["seat"] = seat;
    openConnection(request);
}

void NetWindow::rejoin(const HeldSeat& held) {
    code_ = held.code;
    seat_ = held.seat;
    token_ = held.token;
    openConnection(QJsonObject{{"type", "reconnect"}, {"code", held.code}, {"seat", held.seat}, {"token", held.token}});
}

void NetWindow::remember() {
    if (!preferences_) return;
    preferences_->setValue(QStringLiteral("netServer"), address_->text().trimmed());
    preferences_->setValue(QStringLiteral("netName"), name_->text().trimmed());
}

void NetWindow::send(const QJsonObject& message) {
    if (!socket_) return;
    socket_->sendTextMessage(QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
}

void NetWindow::received(const QString& message) {
    const QJsonObject m = QJsonDocument::fromJson(message.toUtf8()).object();
    const QString type = field(m, "type");
    if (type == QLatin1String("welcome")) {
        welcomed_ = true;
        send(firstRequest_);
        // The list followed goes on with every new connection.
        if (lobbyWanted_ && field(firstRequest_, "type") != QLatin1String("lobby"))
            send(QJsonObject{{"type", "lobby"}, {"subscribe", true}});
    } else if (type == QLatin1String("lobby")) {
        onLobby(m);
    } else if (type == QLatin1String("mine")) {
        onMine(m);
    } else if (type == QLatin1String("created")) {
        if (!isTableCode(field(m, "code"))) return;
        code_ = field(m, "code");
        codeField_->setText(code_);
        bool anyHuman = false;
        for (int seat = 1; seat <= Codes::seatCount; ++seat) anyHuman = anyHuman || newSeats_[at(seat)]->currentIndex() == 0;
        send(anyHuman ? QJsonObject{{"type", "join"}, {"code", code_}} : QJsonObject{{"type", "spectate"}, {"code", code_}});
    } else if (type == QLatin1String("joined")) {
        onJoined(m);
    } else if (type == QLatin1String("table")) {
        onTable(m);
    } else if (type == QLatin1String("seat")) {
        onSeat(m);
    } else if (type == QLatin1String("chat")) {
        onChat(m);
    } else if (type == QLatin1String("error")) {
        onError(m);
    } else if (type == QLatin1String("left")) {
        atTable_ = false;
        showRematch();
    } else if (type == QLatin1String("rematch")) {
        onRematch(m);
    } else {
        onEvent(m, type);
    }
}

void NetWindow::onJoined(const QJsonObject& joined) {
    const int seat = joined.value(QStringLiteral("seat")).toInt();
    const bool withToken = joined.contains(QStringLiteral("token"));
    if (!isTableCode(field(joined, "code")) || !isSeat(seat) || (withToken && !isSeatToken(field(joined, "token"))))
        return;
    code_ = field(joined, "code");
    seat_ = seat;
    // The code of the table sat at, to hand on: after quick play or a rematch too.
    codeField_->setText(code_);
    if (withToken) {
        token_ = field(joined, "token");
        memory_.keepSeat({code_, seat_, token_});
        showHeldTables();
    }
}

void NetWindow::onTable(const QJsonObject& table) {
    const int you = table.value(QStringLiteral("you")).toInt();
    if (!isTableCode(field(table, "code")) || you < 0 || you > Codes::seatCount) return;
    const bool sameTable = code_ == field(table, "code");
    atTable_ = true;
    seatsKnown_ = true;
    refusalShown_ = false;
    attempt_ = 0;
    code_ = field(table, "code");
    seat_ = you;
    const auto held = memory_.seatAt(code_);
    if (you == 0 || (held && held->seat == you)) token_ = you == 0 ? QString() : held->token;
    else if (!sameTable) token_.clear();
    tableStatus_ = field(table, "status");
    const QString rematch = isTableCode(field(table, "rematch")) ? field(table, "rematch") : QString();
    // What was heard of another table's rematch is no news here.
    if (!sameTable || rematch != rematchCode_) rematchNews_.clear();
    rematchCode_ = rematch;
    rematchButton_->setEnabled(true);
    rulesLabel_->setText(tableRulesText(field(table, "pace") == QLatin1String("turn"),
                                        table.value(QStringLiteral("moveSeconds")).toInt(),
                                        table.value(QStringLiteral("hints")).toBool()));
    turn_ = tableStatus_ == QLatin1String("over") ? 0 : table.value(QStringLiteral("turn")).toInt();
    turnEnds_ = clockEnd(table.value(QStringLiteral("turnLeft")));
    std::array<SeatKind, 8> kinds{};
    const QJsonArray seats = table.value(QStringLiteral("seats")).toArray();
    for (int s = 1; s <= Codes::seatCount; ++s) {
        const QJsonObject seat = s <= seats.size() ? seats.at(s - 1).toObject() : QJsonObject{};
        QJsonObject numbered = seat;
        numbered[QStringLiteral("seat")] = s;
        onSeat(numbered);
        const bool human = field(seat, "kind") == QLatin1String("human");
        kinds[at(s)] = {human, human ? 0 : seat.value(QStringLiteral("level")).toInt()};
    }
    std::vector<std::string> lines;
    for (const QJsonValue& line : table.value(QStringLiteral("record")).toArray()) lines.push_back(line.toString().toStdString());
    const bool hints = table.value(QStringLiteral("hints")).toBool();
    dispatch_([this, kinds, you, lines, hints](Form1& f) {
        f.remoteHints = hints;
        f.sendMove = [this](const TableMove& m) {
            send(QJsonObject{{"type", "move"}, {"from", QJsonArray{m.fromX, m.fromY}}, {"to", QJsonArray{m.toX, m.toY}}});
        };
        f.followRemoteGame(kinds, you, lines);
    });
    // The chat of a table the window holds a seat at was kept with it.
    chatLog_->clear();
    if (seat_ > 0)
        for (const QString& line : memory_.chat(code_)) chatLog_->appendPlainText(line);
    // A game that ended while the window was away is nothing to go back to either.
    if (seat_ > 0 && tableStatus_ == QLatin1String("over")) memory_.forget(code_);
    setStatus(returning_ ? text(QT_TRANSLATE_NOOP("NetWindow", "再接続しました。%1")).arg(tableLine()) : tableLine());
    returning_ = false;
    showTableSeats();
    showHeldTables();
    showSeats();
    showRematch();
}

QString NetWindow::tableLine() const {
    if (tableStatus_ == QLatin1String("over")) return text(QT_TRANSLATE_NOOP("NetWindow", "対局は終わりました"));
    return seat_ == 0 ? text(QT_TRANSLATE_NOOP("NetWindow", "観戦中: %1")).arg(code_)
                      : text(QT_TRANSLATE_NOOP("NetWindow", "卓 %1: あなたは%2")).arg(code_, text(seatNames[seat_]));
}

int NetWindow::missingPlayers() const {
    int missing = 0;
    for (int s = 1; s <= Codes::seatCount; ++s)
        if (field(seats_[at(s)], "kind") == QLatin1String("human") && seats_[at(s)].value(QStringLiteral("open")).toBool())
            ++missing;
    return missing;
}

void NetWindow::onEvent(const QJsonObject& event, const QString& type) {
    std::string line;
    const int seat = event.value(QStringLiteral("seat")).toInt();
    if (type == QLatin1String("moved")) {
        const QJsonArray from = event.value(QStringLiteral("from")).toArray();
        const QJsonArray to = event.value(QStringLiteral("to")).toArray();
        line = QStringLiteral("move %1 %2 %3 %4 %5 %6 %7 %8")
                   .arg(event.value(QStringLiteral("n")).toInt())
                   .arg(seat)
                   .arg(from.at(0).toInt())
                   .arg(from.at(1).toInt())
                   .arg(to.at(0).toInt())
                   .arg(to.at(1).toInt())
                   .arg(event.value(QStringLiteral("piece")).toInt())
                   .arg(event.value(QStringLiteral("captured")).toInt())
                   .toStdString();
        turnEnds_ = 0;
    } else if (type == QLatin1String("out") || type == QLatin1String("pass")) {
        line = type.toStdString() + " " + std::to_string(seat);
    } else if (type == QLatin1String("turn")) {
        turn_ = seat;
        turnEnds_ = clockEnd(event.value(QStringLiteral("left")));
        if (isSeat(seat_) && seat == seat_) turnCameToYou();
        showSeats();
        return;
    } else if (type == QLatin1String("started")) {
        // What was said while the table waited no longer applies.
        tableStatus_ = QStringLiteral("playing");
        refusalShown_ = false;
        setStatus(tableLine());
        return;
    } else if (type == QLatin1String("over")) {
        tableStatus_ = QStringLiteral("over");
        // Nobody is to move any more.
        turn_ = 0;
        turnEnds_ = 0;
        showSeats();
        setStatus(tableLine());
        // The game is done: its seat is nothing to go back to.
        if (seat_ > 0) memory_.forget(code_);
        showHeldTables();
        showRematch();
        return;
    } else {
        return;
    }
    dispatch_([this, line](Form1& f) {
        // A game that no longer follows is fetched whole again.
        if (!f.presentRemoteLine(line) && socket_) socket_->close();
    });
}

void NetWindow::onSeat(const QJsonObject& seat) {
    const int s = seat.value(QStringLiteral("seat")).toInt();
    if (!isSeat(s)) return;
    seats_[at(s)] = seat;
    // The grace need not be whole seconds; it is counted on the monotonic clock.
    const double grace = seat.value(QStringLiteral("graceLeft")).toDouble(0);
    graceEnds_[at(s)] = grace > 0 && grace <= longestGrace ? clock_.elapsed() + static_cast<qint64>(grace * 1000) : 0;
    showSeats();
}

void NetWindow::onChat(const QJsonObject& chat) {
    QString line = field(chat, "name").left(32) + QStringLiteral(": ") + field(chat, "text").left(400);
    // The server's own lines are said in the window's language.
    const QString notice = field(chat, "notice");
    const int about = chat.value(QStringLiteral("noticeSeat")).toInt();
    if (!notice.isEmpty() && isSeat(about)) {
        if (notice == QLatin1String("abandoned"))
            line = text(QT_TRANSLATE_NOOP("NetWindow", "― %1は3手続けて時間切れでした。プレイヤーが戻るまでコンピュータが指します"))
                       .arg(kingdomName(about));
        else if (notice == QLatin1String("back"))
            line = text(QT_TRANSLATE_NOOP("NetWindow", "― %1はまたプレイヤーが指します")).arg(kingdomName(about));
        else
            line = QStringLiteral("― ") + field(chat, "text").left(400);
    }
    chatLog_->appendPlainText(line);
    if (seat_ > 0 && memory_.seatAt(code_)) memory_.addChat(code_, line);
}

void NetWindow::onError(const QJsonObject& error) {
    const QString code = field(error, "code");
    const QString about = field(error, "about");
    // The panel asks about its tables by itself; a server that predates the
    // question is no news to the player.
    if (about == QLatin1String("mine") || about == QLatin1String("lobby")) return;
    setStatus(refusalSentence(code, missingPlayers(), tableStatus_ == QLatin1String("over")));
    refusalShown_ = true;
    rematchButton_->setEnabled(true);
    // A seat the server no longer gives back with our token is forgotten;
    // only the table the token was offered for, never the one shown.
    const QString asked = field(firstRequest_, "code");
    const bool refusedReturn = field(firstRequest_, "type") == QLatin1String("reconnect") &&
                               (about == QLatin1String("reconnect") || about.isEmpty());
    if (refusedReturn && (code == QLatin1String("bad_token") || code == QLatin1String("no_such_table") ||
                          code == QLatin1String("game_over"))) {
        memory_.forget(asked);
        token_.clear();
        returning_ = false;
        retry_->stop();
        showHeldTables();
    }
    // Another window has the seat now: this one does not take it back.
    if (code == QLatin1String("replaced")) {
        token_.clear();
        code_.clear();
        seat_ = 0;
        returning_ = false;
        retry_->stop();
    }
}

void NetWindow::lostConnection() {
    if (!socket_ || socket_->state() != QAbstractSocket::UnconnectedState) return;
    const bool wasAtTable = atTable_ || returning_;
    atTable_ = false;
    seatsKnown_ = false;
    showSeats();
    showRematch();
    // The list of public tables is the server's: it comes again with the next connection.
    lobbyList_->clear();
    const bool seated = seat_ > 0 && !token_.isEmpty();
    if (!wasAtTable || (!seated && code_.isEmpty()) || tableStatus_ == QLatin1String("over")) {
        setStatus(welcomed_ ? text(QT_TRANSLATE_NOOP("NetWindow", "接続が切れました"))
                            : text(QT_TRANSLATE_NOOP("NetWindow", "サーバーに接続できません")));
        return;
    }
    // Back to the seat with its token (or to watching), later each time.
    firstRequest_ = seated ? QJsonObject{{"type", "reconnect"}, {"code", code_}, {"seat", seat_}, {"token", token_}}
                           : QJsonObject{{"type", "spectate"}, {"code", code_}};
    returning_ = true;
    const int wait = retryDelay(attempt_++);
    retryAt_ = clock_.elapsed() + wait * 1000;
    retry_->start(wait * 1000);
    showRetry();
}

// Shown again as each second goes, on a clock of its own so that no second is skipped.
void NetWindow::showRetry() {
    if (!retry_->isActive()) return;
    const qint64 ms = std::max<qint64>(1, retryAt_ - clock_.elapsed());
    const qint64 left = (ms + 999) / 1000;
    setStatus(text(QT_TRANSLATE_NOOP("NetWindow", "接続が切れました。再接続まで %1 秒（%2回目）")).arg(left).arg(attempt_));
    if (left > 1) retryCountdown_->start(static_cast<int>(ms - (left - 1) * 1000) + 1);
}

void NetWindow::showSeats() {
    seatList_->clear();
    for (int s = 1; s <= Codes::seatCount; ++s) {
        const QJsonObject& seat = seats_[at(s)];
        if (seat.isEmpty()) continue;
        QString row = text(seatNames[s]) + QStringLiteral("  ");
        const bool human = field(seat, "kind") == QLatin1String("human");
        if (!human)
            row += FreeSeatsDialog::computerName(seat.value(QStringLiteral("level")).toInt());
        else if (seat.value(QStringLiteral("open")).toBool())
            row += text(QT_TRANSLATE_NOOP("NetWindow", "(空席)"));
        else
            row += field(seat, "name").left(32);
        if (human && !seat.value(QStringLiteral("open")).toBool()) {
            const qint64 left = graceEnds_[at(s)] - clock_.elapsed();
            if (!seatsKnown_)
                row += QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "接続不明"));
            else if (seat.value(QStringLiteral("connected")).toBool())
                row += QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "接続中"));
            else if (graceEnds_[at(s)] > 0 && left > 0)
                row += QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "切断: あと%1秒"))
                                                  .arg(static_cast<int>(std::ceil(static_cast<double>(left) / 1000)));
            else
                row += QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "切断"));
            if (field(seat, "playedBy") == QLatin1String("computer"))
                row += QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "(COMが代打ち)"));
            const int missed = seat.value(QStringLiteral("missed")).toInt();
            if (missed > 0 && !seat.value(QStringLiteral("abandoned")).toBool())
                row += QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "時間切れ %1回")).arg(missed);
        }
        if (s == seat_) row += QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "← あなた"));
        seatList_->addItem(row);
    }
    QString turn;
    if (isSeat(turn_))
        turn = isSeat(seat_) && turn_ == seat_ ? text(QT_TRANSLATE_NOOP("NetWindow", "あなたの番です"))
                                               : text(QT_TRANSLATE_NOOP("NetWindow", "手番: %1")).arg(kingdomName(turn_));
    // The time the seat to move has left, at either pace.
    if (!turn.isEmpty() && turnEnds_ > 0 && seatsKnown_)
        turn += QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "残り %1")).arg(timeLeft(turnEnds_));
    turnLabel_->setText(turn);
}

// A seated or watching window's seat boxes show the table's seats, read-only.
void NetWindow::showTableSeats() {
    if (!showingTable_)
        for (int s = 1; s <= Codes::seatCount; ++s) ownChoices_[at(s)] = newSeats_[at(s)]->currentIndex();
    showingTable_ = true;
    for (int s = 1; s <= Codes::seatCount; ++s) {
        const QJsonObject& seat = seats_[at(s)];
        const bool human = field(seat, "kind") == QLatin1String("human");
        newSeats_[at(s)]->setCurrentIndex(human ? 0 : std::clamp(seat.value(QStringLiteral("level")).toInt(), 1, Table::levelFive));
        newSeats_[at(s)]->setEnabled(false);
    }
    createButton_->setText(text(QT_TRANSLATE_NOOP("NetWindow", "新しい卓の席を選ぶ")));
}

void NetWindow::showOwnSeatChoices() {
    showingTable_ = false;
    for (int s = 1; s <= Codes::seatCount; ++s) {
        newSeats_[at(s)]->setCurrentIndex(ownChoices_[at(s)]);
        newSeats_[at(s)]->setEnabled(true);
    }
    createButton_->setText(text(QT_TRANSLATE_NOOP("NetWindow", "卓を作る")));
}

void NetWindow::setStatus(const QString& message) { status_->setText(message); }

}  // namespace daro::qt
