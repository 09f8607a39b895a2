#pragma once
// ネット対局: the game at a daro server. The panel connects, creates or joins
// a table (or watches one), lists the seats and who sits where, counts down
// an absent player's grace, and holds the table's chat. The board stays in
// the main window, which follows the server's game.

#include <QJsonObject>
#include <QWebSocket>
#include <QWidget>

#include <array>
#include <functional>

#include "table/Table.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTimer;

namespace daro {
class Form1;
}

namespace daro::qt {

class NetWindow : public QWidget {
public:
    using Dispatch = std::function<void(std::function<void(Form1&)>)>;
    NetWindow(Dispatch dispatch, QWidget* parent);

private:
    void buildLayout();
    void connectTo(const QJsonObject& firstRequest);
    void send(const QJsonObject& message);
    void received(const QString& text);
    void onTable(const QJsonObject& table);
    void onEvent(const QJsonObject& event, const QString& type);
    void onSeat(const QJsonObject& seat);
    void onError(const QJsonObject& error);
    void lostConnection();
    void showSeats();
    void setStatus(const QString& text);
    void keepToken(const QString& code, int seat, const QString& token);
    bool loadToken(const QString& code, int& seat, QString& token) const;

    Dispatch dispatch_;
    QWebSocket socket_;
    QJsonObject firstRequest_;  // sent after the server's welcome
    QString code_, token_;
    int seat_ = 0;
    bool atTable_ = false;
    std::array<QJsonObject, 8> seats_{};
    std::array<int, 8> graceLeft_{};
    int turn_ = 0;

    QLineEdit* address_ = nullptr;
    QLineEdit* name_ = nullptr;
    std::array<QComboBox*, 8> newSeats_{};
    QLineEdit* codeField_ = nullptr;
    QComboBox* seatChoice_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* turnLabel_ = nullptr;
    QListWidget* seatList_ = nullptr;
    QPlainTextEdit* chatLog_ = nullptr;
    QLineEdit* chatLine_ = nullptr;
    QTimer* countdown_ = nullptr;
    QTimer* retry_ = nullptr;
};

}  // namespace daro::qt
