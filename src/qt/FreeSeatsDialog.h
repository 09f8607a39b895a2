#pragma once
// 自由対局: a human or the computer at a level of its own at every seat.

#include <QDialog>

#include <array>
#include <optional>

#include "table/Table.h"

class QComboBox;

namespace daro::qt {

class FreeSeatsDialog : public QDialog {
public:
    // `level` is the computers' level until the player chooses another.
    FreeSeatsDialog(int level, QWidget* parent);
    std::array<SeatKind, 8> seats() const;

    // Asks; nothing when the player cancels.
    static std::optional<std::array<SeatKind, 8>> ask(int level, QWidget* parent);

    // A computer seat as every seat chooser and list of the window names it.
    static QString computerName(int level);

private:
    std::array<QComboBox*, 8> choices_{};
};

}  // namespace daro::qt
