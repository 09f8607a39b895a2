// The network panel's new table: how it is played (live, or turn-based with
// a time for each move), whether the lobby lists it and whether hints are
// allowed; and quick play, which finds a table of that pace or makes one.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QLabel>

#include "NetSentences.h"
#include "NetWindow.h"

namespace daro::qt {

namespace {

QString text(const char* source) { return QCoreApplication::translate("NetWindow", source); }

// The move times offered for a turn-based table; a day is the server's default.
constexpr int moveTimes[] = {3600, 86400, 3 * 86400, 7 * 86400};
constexpr int defaultMoveTime = 1;

}  // namespace

void NetWindow::buildTableRules(QFormLayout* form) {
    pace_ = new QComboBox(this);
    pace_->setObjectName(QStringLiteral("NET_PACE"));
    pace_->addItem(text(QT_TRANSLATE_NOOP("NetWindow", "その場で")), QStringLiteral("live"));
    pace_->addItem(text(QT_TRANSLATE_NOOP("NetWindow", "手番ごと")), QStringLiteral("turn"));
    moveTime_ = new QComboBox(this);
    moveTime_->setObjectName(QStringLiteral("NET_MOVE_TIME"));
    for (int seconds : moveTimes) moveTime_->addItem(moveTimeText(seconds), seconds);
    moveTime_->setCurrentIndex(defaultMoveTime);
    moveTime_->setEnabled(false);
    connect(pace_, &QComboBox::currentIndexChanged, this,
            [this] { moveTime_->setEnabled(pace_->currentData().toString() == QLatin1String("turn")); });
    auto* paceRow = new QHBoxLayout;
    paceRow->addWidget(pace_);
    paceRow->addWidget(new QLabel(text(QT_TRANSLATE_NOOP("NetWindow", "一手の時間")), this));
    paceRow->addWidget(moveTime_);
    paceRow->addStretch();
    form->addRow(text(QT_TRANSLATE_NOOP("NetWindow", "進め方")), paceRow);

    public_ = new QCheckBox(text(QT_TRANSLATE_NOOP("NetWindow", "公開の卓にする")), this);
    public_->setObjectName(QStringLiteral("NET_PUBLIC"));
    hints_ = new QCheckBox(text(QT_TRANSLATE_NOOP("NetWindow", "ヒントを許す")), this);
    hints_->setObjectName(QStringLiteral("NET_HINTS"));
    auto* choices = new QHBoxLayout;
    choices->addWidget(public_);
    choices->addWidget(hints_);
    choices->addStretch();
    form->addRow(choices);
}

QJsonObject NetWindow::createRequest() const {
    QJsonArray seats;
    for (int seat = 1; seat <= Codes::seatCount; ++seat)
        seats.append(newSeats_[static_cast<std::size_t>(seat)]->currentData().toString());
    QJsonObject request{{"type", "create"}, {"seats", seats}};
    // Only what differs from the server's defaults is said.
    if (public_->isChecked()) request["public"] = true;
    if (hints_->isChecked()) request["hints"] = true;
    if (pace_->currentData().toString() == QLatin1String("turn")) {
        request["pace"] = QStringLiteral("turn");
        request["moveSeconds"] = moveTime_->currentData().toInt();
    }
    return request;
}

QJsonObject NetWindow::quickRequest() const {
    QJsonObject request{{"type", "quick"}};
    if (pace_->currentData().toString() == QLatin1String("turn")) {
        request["pace"] = QStringLiteral("turn");
        request["moveSeconds"] = moveTime_->currentData().toInt();
    }
    return request;
}

}  // namespace daro::qt
