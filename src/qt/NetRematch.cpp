// After the game at a server: a rematch at a new table with the same seats.
// The first player to press 再戦 offers it; the others hear of it and accept
// with the same button, and each goes over to the new table on the same
// seat, its new token kept with the held tables.
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QJsonObject>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "NetMemory.h"
#include "NetSentences.h"
#include "NetWindow.h"

namespace daro::qt {

namespace {

QString text(const char* source) { return QCoreApplication::translate("NetWindow", source); }

}  // namespace

void NetWindow::buildRematchRow(QVBoxLayout* layout) {
    rematchNote_ = new QLabel(this);
    rematchNote_->setObjectName(QStringLiteral("NET_REMATCH_NOTE"));
    rematchNote_->setTextFormat(Qt::PlainText);
    rematchNote_->setWordWrap(true);
    rematchButton_ = new QPushButton(this);
    rematchButton_->setObjectName(QStringLiteral("NET_REMATCH"));
    auto* row = new QHBoxLayout;
    row->addWidget(rematchNote_, 1);
    row->addWidget(rematchButton_);
    layout->addLayout(row);
    connect(rematchButton_, &QPushButton::clicked, this, [this] {
        if (!atTable_ || seat_ == 0) return;
        // One press is one request: the answer moves the window on.
        rematchButton_->setEnabled(false);
        send(QJsonObject{{"type", "rematch"}});
    });
    showRematch();
}

void NetWindow::onRematch(const QJsonObject& rematch) {
    const QString code = rematch.value(QStringLiteral("code")).toString();
    const int seat = rematch.value(QStringLiteral("seat")).toInt();
    if (!isTableCode(code) || seat < 1 || seat > Codes::seatCount) return;
    // The first word of a rematch offers it; every later one accepts it.
    const bool offer = rematchCode_.isEmpty();
    rematchCode_ = code;
    rematchNews_ = offer ? text(QT_TRANSLATE_NOOP("NetWindow", "%1が再戦を申し込みました（卓 %2）")).arg(kingdomName(seat), code)
                         : text(QT_TRANSLATE_NOOP("NetWindow", "%1が再戦を受けました（卓 %2）")).arg(kingdomName(seat), code);
    chatLog_->appendPlainText(QStringLiteral("― ") + rematchNews_);
    showRematch();
}

// Offered to a seated player once the game is over, while the window is at
// the table; a watcher only hears of it.
void NetWindow::showRematch() {
    const bool over = atTable_ && tableStatus_ == QLatin1String("over");
    rematchButton_->setVisible(over && seat_ > 0);
    rematchButton_->setText(rematchCode_.isEmpty() ? text(QT_TRANSLATE_NOOP("NetWindow", "再戦"))
                                                   : text(QT_TRANSLATE_NOOP("NetWindow", "再戦を受ける")));
    rematchNote_->setText(over ? rematchNews_ : QString());
    rematchNote_->setVisible(over && !rematchNews_.isEmpty());
}

}  // namespace daro::qt
