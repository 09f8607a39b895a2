#pragma once
// ネット対局: the game at a daro server. The panel connects, creates a table
// (live or turn-based, public or private), joins one by its code or by quick
// play (or watches one), lists the seats and who sits where, counts down an
// absent player's grace, holds the table's chat and, after the game, offers
// a rematch. The board stays in
// the main window, which follows the server's game. It remembers the
// server, the name, the seats it holds and their chat across runs, and
// after a lost connection it goes back to its seat by itself.

#include <QElapsedTimer>
#include <QJsonObject>
#include <QPointer>
#include <QWebSocket>
#include <QWidget>

#include <array>
#include <functional>
#include <map>
#include <memory>

#include "NetMemory.h"
#include "table/Table.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QFormLayout;
class QVBoxLayout;

namespace daro {
class Form1;
}

namespace daro::qt {

class Preferences;

class NetWindow : public QWidget {
public:
    using Dispatch = std::function<void(std::function<void(Form1&)>)>;
    // `preferences` keeps the server and the name (none: this run only);
    // `memoryFolder` is where the held seats and their chat live (empty: the
    // program's data folder).
    NetWindow(Dispatch dispatch, QWidget* parent, Preferences* preferences = nullptr, QString memoryFolder = {});

    // The waits before each attempt to reconnect: 1, 2, 4 … seconds, at most 30.
    static int retryDelay(int attempt);

protected:
    void showEvent(QShowEvent* event) override;
    // A closed panel follows no list.
    void hideEvent(QHideEvent* event) override;

private:
    void buildLayout();
    void buildSeatChoices(QVBoxLayout* layout);
    void buildTableRules(QFormLayout* form);
    void buildRematchRow(QVBoxLayout* layout);
    void buildLobby(QVBoxLayout* layout);
    // What 卓を作る and クイック対局 ask the server for, as the boxes are set.
    QJsonObject createRequest() const;
    QJsonObject quickRequest() const;
    void buildJoinRow(QVBoxLayout* layout);
    // `retrying`: going back after a lost connection, not the player's choice.
    void openConnection(const QJsonObject& firstRequest, bool retrying = false);
    void dropConnection();
    void rejoin(const HeldSeat& held);
    // A table by its code: a seat held there is taken back, else `seat` (0: the first free one).
    void joinTable(const QString& code, int seat);
    void send(const QJsonObject& message);
    void received(const QString& text);
    void onJoined(const QJsonObject& joined);
    void onTable(const QJsonObject& table);
    void onEvent(const QJsonObject& event, const QString& type);
    void onSeat(const QJsonObject& seat);
    void onChat(const QJsonObject& chat);
    void onError(const QJsonObject& error);
    void onRematch(const QJsonObject& rematch);
    // The lobby: the public tables, followed while the list is shown.
    void followLobby();
    void onLobby(const QJsonObject& lobby);
    void showRematch();
    void lostConnection();
    // The wait before the next attempt, counted down each second.
    void showRetry();
    void showSeats();
    void showHeldTables();
    // Your tables: what the server says of each table a seat is held at.
    void askAboutHeldTables();
    void onMine(const QJsonObject& mine);
    void showHeldTimes();
    QString heldRow(const HeldSeat& held) const;
    void turnCameToYou();
    QString timeLeft(qint64 endsAt) const;
    // The end on `clock_` of a clock with `secondsLeft`; 0 for none.
    qint64 clockEnd(const QJsonValue& secondsLeft) const;
    void showTableSeats();
    void showOwnSeatChoices();
    void setStatus(const QString& text);
    QString tableLine() const;
    int missingPlayers() const;
    void remember();

    Dispatch dispatch_;
    Preferences* preferences_ = nullptr;
    NetMemory memory_;
    std::unique_ptr<QWebSocket> socket_;
    QJsonObject firstRequest_;  // sent after the server's welcome
    QString code_, token_;
    int seat_ = 0;
    bool atTable_ = false;
    QString tableStatus_;
    std::array<QJsonObject, 8> seats_{};
    // When each away player's grace ends, on `clock_`; 0 when none runs.
    std::array<qint64, 8> graceEnds_{};
    QElapsedTimer clock_;
    bool seatsKnown_ = false;  // false while the connection is down
    int turn_ = 0;
    bool refusalShown_ = false;
    bool welcomed_ = false;  // the server answered this connection's hello
    // Going back after a lost connection: the attempt under way, and when
    // the next one starts (on `clock_`).
    int attempt_ = 0;
    bool returning_ = false;
    qint64 retryAt_ = 0;
    // The table's rematch once one was offered; what was last heard of it.
    QString rematchCode_;
    QString rematchNews_;
    // The clock of the seat to move at this table, on `clock_`; 0 when none.
    qint64 turnEnds_ = 0;
    struct HeldStatus {
        QJsonObject entry;
        qint64 turnEnds = 0;
    };
    std::map<QString, HeldStatus> heldStatus_;
    QTimer* askTimer_ = nullptr;
    std::array<int, 8> ownChoices_{};
    bool showingTable_ = false;

    QLineEdit* address_ = nullptr;
    QLineEdit* name_ = nullptr;
    std::array<QComboBox*, 8> newSeats_{};
    QPushButton* createButton_ = nullptr;
    QPushButton* quickButton_ = nullptr;
    QComboBox* pace_ = nullptr;
    QComboBox* moveTime_ = nullptr;
    QCheckBox* public_ = nullptr;
    QCheckBox* hints_ = nullptr;
    QLabel* rulesLabel_ = nullptr;
    QLabel* rematchNote_ = nullptr;
    QPushButton* rematchButton_ = nullptr;
    QPushButton* lobbyButton_ = nullptr;
    QListWidget* lobbyList_ = nullptr;
    bool lobbyWanted_ = false;
    QLineEdit* codeField_ = nullptr;
    QComboBox* seatChoice_ = nullptr;
    QListWidget* heldTables_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* turnLabel_ = nullptr;
    QListWidget* seatList_ = nullptr;
    QPushButton* nowButton_ = nullptr;
    QPlainTextEdit* chatLog_ = nullptr;
    QLineEdit* chatLine_ = nullptr;
    QTimer* countdown_ = nullptr;
    QTimer* retry_ = nullptr;
    QTimer* retryCountdown_ = nullptr;
};

}  // namespace daro::qt
