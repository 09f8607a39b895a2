#include "FreeSeatsDialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

namespace daro::qt {

namespace {

QString text(const char* source) { return QCoreApplication::translate("FreeSeatsDialog", source); }

// The seats as the seat commands name them.
constexpr const char* seatNames[8] = {"",
                                      QT_TRANSLATE_NOOP("FreeSeatsDialog", "１番目(秦)"),
                                      QT_TRANSLATE_NOOP("FreeSeatsDialog", "2番目(楚)"),
                                      QT_TRANSLATE_NOOP("FreeSeatsDialog", "3番目(韓)"),
                                      QT_TRANSLATE_NOOP("FreeSeatsDialog", "4番目(斉)"),
                                      QT_TRANSLATE_NOOP("FreeSeatsDialog", "5番目(魏)"),
                                      QT_TRANSLATE_NOOP("FreeSeatsDialog", "6番目(趙)"),
                                      QT_TRANSLATE_NOOP("FreeSeatsDialog", "7番目(燕)")};

}  // namespace

FreeSeatsDialog::FreeSeatsDialog(int level, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FREE_PLAY_DIALOG"));
    setWindowTitle(text(QT_TRANSLATE_NOOP("FreeSeatsDialog", "自由対局")));
    auto* form = new QFormLayout(this);
    for (int seat = 1; seat <= Codes::seatCount; ++seat) {
        auto* choice = new QComboBox(this);
        choice->setObjectName(QStringLiteral("SEAT_%1").arg(seat));
        choice->addItem(text(QT_TRANSLATE_NOOP("FreeSeatsDialog", "人間")), 0);
        for (int l = 1; l <= Table::levelFive; ++l)
            choice->addItem(computerName(l), l);
        // One human at the first seat against the computers, as 1_PLAY starts.
        choice->setCurrentIndex(seat == 1 ? 0 : std::clamp(level, 1, Table::levelFive));
        form->addRow(text(seatNames[seat]), choice);
        choices_[static_cast<std::size_t>(seat)] = choice;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(text(QT_TRANSLATE_NOOP("FreeSeatsDialog", "開始")));
    buttons->button(QDialogButtonBox::Cancel)->setText(text(QT_TRANSLATE_NOOP("FreeSeatsDialog", "取消")));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

std::array<SeatKind, 8> FreeSeatsDialog::seats() const {
    std::array<SeatKind, 8> kinds{};
    for (int seat = 1; seat <= Codes::seatCount; ++seat) {
        const int level = choices_[static_cast<std::size_t>(seat)]->currentData().toInt();
        kinds[static_cast<std::size_t>(seat)] = {level == 0, level};
    }
    return kinds;
}

QString FreeSeatsDialog::computerName(int level) {
    return text(QT_TRANSLATE_NOOP("FreeSeatsDialog", "COM LEVEL%1")).arg(level);
}

std::optional<std::array<SeatKind, 8>> FreeSeatsDialog::ask(int level, QWidget* parent) {
    FreeSeatsDialog dialog(level, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.seats();
}

}  // namespace daro::qt
