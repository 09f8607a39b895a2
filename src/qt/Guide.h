#pragma once
// The guide inside the game (その他 → 遊び方, F1): the goal and the three
// wins, the turn order and the drop-outs, the centre piece, and one diagram
// per kind of piece drawn from the rules' own answers on a small board.

#include <QDialog>
#include <QImage>

#include <vector>

#include "guide/PieceExamples.h"

class QPushButton;
class QTextBrowser;

namespace daro::qt {

class Guide : public QDialog {
    Q_OBJECT
public:
    explicit Guide(QWidget* parent = nullptr);

    // The example of `kind` with every square its piece reaches marked, at
    // `ratio` device pixels a logical pixel.
    static QImage diagram(int kind, qreal ratio);
    // Logical pixels of a square of the diagram, and of its border.
    static constexpr int squarePixels = 31;
    static constexpr int borderPixels = 6;
    // The marks: a dot on a square the piece moves to, a frame round a piece
    // it takes.
    static QColor moveMark();
    static QColor captureMark();
    // A cross on a square a king's move reaches but the king rule refuses.
    static QColor refusedMark();

    QTextBrowser* text() const { return text_; }
    QPushButton* closeButton() const { return close_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void fill();

    QTextBrowser* text_;
    QPushButton* close_ = nullptr;
};

}  // namespace daro::qt
