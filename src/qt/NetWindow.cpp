#include "NetWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "Form1.h"

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
constexpr const char* kingdoms[8] = {"",
                                     QT_TRANSLATE_NOOP("NetWindow", "秦"),
                                     QT_TRANSLATE_NOOP("NetWindow", "楚"),
                                     QT_TRANSLATE_NOOP("NetWindow", "韓"),
                                     QT_TRANSLATE_NOOP("NetWindow", "斉"),
                                     QT_TRANSLATE_NOOP("NetWindow", "魏"),
                                     QT_TRANSLATE_NOOP("NetWindow", "趙"),
                                     QT_TRANSLATE_NOOP("NetWindow", "燕")};

// The server's messages are bounded; one larger than this is not the server's.
constexpr qint64 largestMessage = 4 * 1024 * 1024;

// What the server names is checked before it is used: a table's code names
// a file in the token folder, and a seat indexes the panel's lists.
bool isAsciiLetterOrDigit(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}
bool isTableCode(const QString& code) {
    return code.size() == 6 && std::all_of(code.begin(), code.end(), [](QChar c) {
               return isAsciiLetterOrDigit(c) && !(c >= QLatin1Char('a') && c <= QLatin1Char('z'));
           });
}
bool isToken(const QString& token) {
    return token.size() == 32 && std::all_of(token.begin(), token.end(), isAsciiLetterOrDigit);
}

QString tokenFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/tables");
}

}  // namespace

NetWindow::NetWindow(Dispatch dispatch, QWidget* parent) : QWidget(parent, Qt::Window), dispatch_(std::move(dispatch)) {
    setObjectName(QStringLiteral("NET_PLAY_WINDOW"));
    setWindowTitle(text(QT_TRANSLATE_NOOP("NetWindow", "ネット対局")));
    socket_.setMaxAllowedIncomingMessageSize(largestMessage);
    buildLayout();
    connect(&socket_, &QWebSocket::connected, this, [this] {
        QJsonObject hello{{"type", "hello"}, {"version", 1}};
        if (!name_->text().trimmed().isEmpty()) hello["name"] = name_->text().trimmed().left(32);
        send(hello);
    });
    connect(&socket_, &QWebSocket::textMessageReceived, this, &NetWindow::received);
    connect(&socket_, &QWebSocket::disconnected, this, &NetWindow::lostConnection);
    countdown_ = new QTimer(this);
    countdown_->setInterval(1000);
    connect(countdown_, &QTimer::timeout, this, [this] {
        for (int& left : graceLeft_)
            if (left > 0) --left;
        showSeats();
    });
    countdown_->start();
    retry_ = new QTimer(this);
    retry_->setSingleShot(true);
    connect(retry_, &QTimer::timeout, this, [this] {
        connectTo(QJsonObject{{"type", "reconnect"}, {"code", code_}, {"seat", seat_}, {"token", token_}});
    });
}

void NetWindow::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    auto* server = new QFormLayout;
    address_ = new QLineEdit(QStringLiteral("ws://127.0.0.1:7770/"), this);
    name_ = new QLineEdit(qEnvironmentVariable("USER", QStringLiteral("guest")).left(32), this);
    name_->setMaxLength(32);
    server->addRow(text(QT_TRANSLATE_NOOP("NetWindow", "サーバー")), address_);
    server->addRow(text(QT_TRANSLATE_NOOP("NetWindow", "名前")), name_);
    layout->addLayout(server);

    auto* create = new QFormLayout;
    for (int seat = 1; seat <= Codes::seatCount; ++seat) {
        auto* choice = new QComboBox(this);
        choice->addItem(text(QT_TRANSLATE_NOOP("NetWindow", "人間")), QStringLiteral("human"));
        for (int l = 1; l <= Table::levelFive; ++l)
            choice->addItem(QStringLiteral("COM LEVEL%1").arg(l), QStringLiteral("level%1").arg(l));
        choice->setCurrentIndex(seat == 1 ? 0 : 3);
        create->addRow(text(seatNames[seat]), choice);
        newSeats_[static_cast<std::size_t>(seat)] = choice;
    }
    auto* createButton = new QPushButton(text(QT_TRANSLATE_NOOP("NetWindow", "卓を作る")), this);
    create->addRow(createButton);
    layout->addLayout(create);
    connect(createButton, &QPushButton::clicked, this, [this] {
        QJsonArray seats;
        for (int seat = 1; seat <= Codes::seatCount; ++seat)
            seats.append(newSeats_[static_cast<std::size_t>(seat)]->currentData().toString());
        connectTo(QJsonObject{{"type", "create"}, {"seats", seats}});
    });

    auto* join = new QHBoxLayout;
    codeField_ = new QLineEdit(this);
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
    connect(joinButton, &QPushButton::clicked, this, [this] {
        const QString code = codeField_->text().trimmed().toUpper();
        int seat = 0;
        QString token;
        // A seat this program holds at that table is taken back with its token.
        if (loadToken(code, seat, token)) {
            code_ = code;
            seat_ = seat;
            token_ = token;
            connectTo(QJsonObject{{"type", "reconnect"}, {"code", code}, {"seat", seat}, {"token", token}});
            return;
        }
        QJsonObject request{{"type", "join"}, {"code", code}};
        if (seatChoice_->currentData().toInt() > 0) request["seat"] = seatChoice_->currentData().toInt();
        connectTo(request);
    });
    connect(watchButton, &QPushButton::clicked, this, [this] {
        connectTo(QJsonObject{{"type", "spectate"}, {"code", codeField_->text().trimmed().toUpper()}});
    });

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("NET_STATUS"));
    status_->setTextFormat(Qt::PlainText);
    turnLabel_ = new QLabel(this);
    turnLabel_->setTextFormat(Qt::PlainText);
    seatList_ = new QListWidget(this);
    chatLog_ = new QPlainTextEdit(this);
    chatLog_->setReadOnly(true);
    chatLog_->setMaximumBlockCount(500);
    chatLine_ = new QLineEdit(this);
    chatLine_->setMaxLength(200);
    chatLine_->setPlaceholderText(text(QT_TRANSLATE_NOOP("NetWindow", "チャット")));
    layout->addWidget(status_);
    layout->addWidget(turnLabel_);
    layout->addWidget(seatList_);
    layout->addWidget(chatLog_);
    layout->addWidget(chatLine_);
    connect(chatLine_, &QLineEdit::returnPressed, this, [this] {
        const QString line = chatLine_->text().trimmed();
        if (line.isEmpty() || !atTable_) return;
        send(QJsonObject{{"type", "chat"}, {"text", line}});
        chatLine_->clear();
    });
}

void NetWindow::connectTo(const QJsonObject& firstRequest) {
    firstRequest_ = firstRequest;
    if (socket_.state() == QAbstractSocket::ConnectedState) {
        if (atTable_) send(QJsonObject{{"type", "leave"}});
        atTable_ = false;
        send(firstRequest_);
        return;
    }
    socket_.abort();
    setStatus(text(QT_TRANSLATE_NOOP("NetWindow", "接続中…")));
    socket_.open(QUrl(address_->text().trimmed()));
}

void NetWindow::send(const QJsonObject& message) {
    socket_.sendTextMessage(QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
}

void NetWindow::received(const QString& message) {
    const QJsonObject m = QJsonDocument::fromJson(message.toUtf8()).object();
    const QString type = m.value(QStringLiteral("type")).toString();
    if (type == QLatin1String("welcome")) {
        send(firstRequest_);
    } else if (type == QLatin1String("created")) {
        if (!isTableCode(m.value(QStringLiteral("code")).toString())) return;
        code_ = m.value(QStringLiteral("code")).toString();
        codeField_->setText(code_);
        bool anyHuman = false;
        for (int seat = 1; seat <= Codes::seatCount; ++seat)
            anyHuman = anyHuman || newSeats_[static_cast<std::size_t>(seat)]->currentIndex() == 0;
        send(anyHuman ? QJsonObject{{"type", "join"}, {"code", code_}}
                      : QJsonObject{{"type", "spectate"}, {"code", code_}});
    } else if (type == QLatin1String("joined")) {
        const int seat = m.value(QStringLiteral("seat")).toInt();
        const bool withToken = m.contains(QStringLiteral("token"));
        if (!isTableCode(m.value(QStringLiteral("code")).toString()) || seat < 1 || seat > Codes::seatCount ||
            (withToken && !isToken(m.value(QStringLiteral("token")).toString())))
            return;
        code_ = m.value(QStringLiteral("code")).toString();
        seat_ = seat;
        if (withToken) {
            token_ = m.value(QStringLiteral("token")).toString();
            keepToken(code_, seat_, token_);
        }
    } else if (type == QLatin1String("table")) {
        onTable(m);
    } else if (type == QLatin1String("seat")) {
        onSeat(m);
    } else if (type == QLatin1String("chat")) {
        chatLog_->appendPlainText(m.value(QStringLiteral("name")).toString() + QStringLiteral(": ") +
                                  m.value(QStringLiteral("text")).toString());
    } else if (type == QLatin1String("error")) {
        onError(m);
    } else if (type == QLatin1String("left")) {
        atTable_ = false;
    } else {
        onEvent(m, type);
    }
}

void NetWindow::onTable(const QJsonObject& table) {
    const int you = table.value(QStringLiteral("you")).toInt();
    if (!isTableCode(table.value(QStringLiteral("code")).toString()) || you < 0 || you > Codes::seatCount) return;
    atTable_ = true;
    code_ = table.value(QStringLiteral("code")).toString();
    seat_ = you;
    turn_ = table.value(QStringLiteral("turn")).toInt();
    std::array<SeatKind, 8> kinds{};
    const QJsonArray seats = table.value(QStringLiteral("seats")).toArray();
    for (int s = 1; s <= Codes::seatCount && s <= seats.size(); ++s) {
        const QJsonObject seat = seats.at(s - 1).toObject();
        seats_[static_cast<std::size_t>(s)] = seat;
        graceLeft_[static_cast<std::size_t>(s)] = seat.value(QStringLiteral("graceLeft")).toInt();
        const bool human = seat.value(QStringLiteral("kind")).toString() == QLatin1String("human");
        kinds[static_cast<std::size_t>(s)] = {human, human ? 0 : seat.value(QStringLiteral("level")).toInt()};
    }
    std::vector<std::string> lines;
    for (const QJsonValue& line : table.value(QStringLiteral("record")).toArray())
        lines.push_back(line.toString().toStdString());
    dispatch_([this, kinds, you, lines](Form1& f) {
        f.sendMove = [this](const TableMove& m) {
            send(QJsonObject{{"type", "move"},
                             {"from", QJsonArray{m.fromX, m.fromY}},
                             {"to", QJsonArray{m.toX, m.toY}}});
        };
        f.followRemoteGame(kinds, you, lines);
    });
    setStatus(seat_ == 0 ? text(QT_TRANSLATE_NOOP("NetWindow", "観戦中: %1")).arg(code_)
                         : text(QT_TRANSLATE_NOOP("NetWindow", "卓 %1: あなたは%2")).arg(code_, text(seatNames[seat_])));
    showSeats();
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
    } else if (type == QLatin1String("out") || type == QLatin1String("pass")) {
        line = type.toStdString() + " " + std::to_string(seat);
    } else if (type == QLatin1String("turn")) {
        turn_ = seat;
        showSeats();
        return;
    } else if (type == QLatin1String("over")) {
        setStatus(text(QT_TRANSLATE_NOOP("NetWindow", "対局は終わりました")));
        return;
    } else {
        return;
    }
    dispatch_([this, line](Form1& f) {
        // A game that no longer follows is fetched whole again.
        if (!f.presentRemoteLine(line)) socket_.close();
    });
}

void NetWindow::onSeat(const QJsonObject& seat) {
    const int s = seat.value(QStringLiteral("seat")).toInt();
    if (s < 1 || s > Codes::seatCount) return;
    seats_[static_cast<std::size_t>(s)] = seat;
    graceLeft_[static_cast<std::size_t>(s)] = seat.value(QStringLiteral("graceLeft")).toInt();
    showSeats();
}

void NetWindow::onError(const QJsonObject& error) {
    const QString code = error.value(QStringLiteral("code")).toString();
    setStatus(text(QT_TRANSLATE_NOOP("NetWindow", "サーバーが断りました: %1")).arg(code));
    // A token that is no longer good is forgotten.
    if (code == QLatin1String("bad_token") || code == QLatin1String("no_such_table")) {
        QFile::remove(tokenFolder() + QLatin1Char('/') + code_ + QStringLiteral(".seat"));
        token_.clear();
        retry_->stop();
    }
}

void NetWindow::lostConnection() {
    const bool playing = atTable_ && seat_ > 0 && !token_.isEmpty();
    atTable_ = false;
    if (!playing) {
        setStatus(text(QT_TRANSLATE_NOOP("NetWindow", "接続が切れました")));
        return;
    }
    // The seat waits for us during the grace period: back with the token.
    setStatus(text(QT_TRANSLATE_NOOP("NetWindow", "再接続中…")));
    retry_->start(2000);
}

void NetWindow::showSeats() {
    seatList_->clear();
    for (int s = 1; s <= Codes::seatCount; ++s) {
        const QJsonObject& seat = seats_[static_cast<std::size_t>(s)];
        if (seat.isEmpty()) continue;
        QString row = text(seatNames[s]) + QStringLiteral("  ");
        const QString playedBy = seat.value(QStringLiteral("playedBy")).toString();
        if (seat.value(QStringLiteral("kind")).toString() == QLatin1String("computer"))
            row += QStringLiteral("COM LEVEL%1").arg(seat.value(QStringLiteral("level")).toInt());
        else if (seat.value(QStringLiteral("open")).toBool())
            row += text(QT_TRANSLATE_NOOP("NetWindow", "(空席)"));
        else
            row += seat.value(QStringLiteral("name")).toString();
        if (seat.value(QStringLiteral("kind")).toString() == QLatin1String("human") &&
            !seat.value(QStringLiteral("open")).toBool()) {
            if (seat.value(QStringLiteral("connected")).toBool())
                row += QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "接続中"));
            else if (graceLeft_[static_cast<std::size_t>(s)] > 0)
                row += QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "切断: あと%1秒")).arg(graceLeft_[static_cast<std::size_t>(s)]);
            else
                row += QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "切断"));
            if (playedBy == QLatin1String("computer")) row += QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "(COMが代打ち)"));
        }
        if (s == seat_) row += QStringLiteral("  ") + text(QT_TRANSLATE_NOOP("NetWindow", "← あなた"));
        seatList_->addItem(row);
    }
    turnLabel_->setText(turn_ >= 1 && turn_ <= Codes::seatCount ? text(QT_TRANSLATE_NOOP("NetWindow", "手番: %1")).arg(text(kingdoms[turn_]))
                                                                 : QString());
}

void NetWindow::setStatus(const QString& message) { status_->setText(message); }

void NetWindow::keepToken(const QString& code, int seat, const QString& token) {
    QDir().mkpath(tokenFolder());
    QSaveFile file(tokenFolder() + QLatin1Char('/') + code + QStringLiteral(".seat"));
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(QStringLiteral("%1 %2\n").arg(seat).arg(token).toUtf8());
    file.commit();
}

bool NetWindow::loadToken(const QString& code, int& seat, QString& token) const {
    if (code.isEmpty() || code.contains(QLatin1Char('/')) || code.contains(QLatin1Char('.'))) return false;
    QFile file(tokenFolder() + QLatin1Char('/') + code + QStringLiteral(".seat"));
    if (!file.open(QIODevice::ReadOnly) || file.size() > 256) return false;
    const QStringList words = QString::fromUtf8(file.readAll()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() != 2) return false;
    seat = words[0].toInt();
    token = words[1].trimmed();
    return seat >= 1 && seat <= Codes::seatCount && token.size() == 32;
}

}  // namespace daro::qt
