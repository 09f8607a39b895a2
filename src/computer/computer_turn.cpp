// One move of a computer kingdom: drop out, or think one ply and play the best move.
#include "Form1.h"

namespace daro {

namespace {

// Lower than any score a move can get.
constexpr Score noMoveScore = -999990;
// A kingdom with this many pieces or fewer leaves the game on the computer's watch.
constexpr int dropOutPieceCount = 10;

}  // namespace

void Form1::com_ban(int seat) {
    // A. Drop out instead of moving: king gone, or too few pieces left.
    描画_アイコン(seat, true);
    描画_将棋盤桝();
    if (存在チェック駒(取得_手番王(seat)) == valueNo || 調査_駒数(seat) <= dropOutPieceCount) {
        const bool dropsOut = 調査_駒数(seat) > 0;
        if (dropsOut) 戦線離脱処理(seat);
        描画_アイコン(seat, false);
        if (dropsOut) gameEndsAfterDropOut(seat);
        return;
    }

    // B. Thinking display; it covers the level and move-number texts.
    描画_絵(backgroundCode, -2, -1);
    描画_絵(backgroundCode, -1, -1);
    描画_絵(backgroundCode, 0, -1);
    for (int y = 0; y <= 1; ++y)
        for (int x = -2; x <= 0; ++x) 描画_絵(backgroundCode, x, y);
    描画_数値(-1.2, 0.3, std::string("思考中"), colorBlack, 0, 12);
    描画_数値(-1.3, 0.2, std::string("思考中"), colorWhite, 0, 12);

    // C. Preparation.
    Score bestScore = noMoveScore;
    勢力調査();
    for (int king : kingRefreshOrder) 取得_王座標(king);
    const int block = blockOfSeat(seat);
    const int low = 10 * block;
    const int high = 10 * block + OHU;
    window.refresh();

    // D. The arena's player for this seat, or the engine at LEVEL4, chooses;
    // otherwise the written search runs.
    bool found = false;
    int bestFromX = 0, bestFromY = 0, bestToX = 0, bestToY = 0, bestMover = emptyCode;
    MoveChooser* chooser = seatChooser[seat];
    if (chooser == nullptr && computerLevel == levelFour) chooser = levelFourPlayer.get();
    std::optional<ChosenMove> chosen;
    if (chooser != nullptr && chooser->choose(*this, seat, chosen)) {
        found = chosen.has_value();
        if (found) {
            bestFromX = chosen->fromX;
            bestFromY = chosen->fromY;
            bestToX = chosen->toX;
            bestToY = chosen->toY;
            bestMover = chosen->piece;
        }
    } else {
        // Search in board order; only a strictly better score replaces the best,
        // so ties go to the first mover square and then the first target.
        bool kingCaptured = false;
        for (int x = 1; x <= boardSize && !kingCaptured; ++x) {
            for (int y = 1; y <= boardSize && !kingCaptured; ++y) {
                const int c = board[x][y];
                if (c < low || c > high) continue;
                int xmin = 1, xmax = 0, ymin = 1, ymax = 0;
                取得_駒移動座標(c, x, y, xmin, xmax, ymin, ymax);
                for (int tx = xmin; tx <= xmax && !kingCaptured; ++tx) {
                    for (int ty = ymin; ty <= ymax; ++ty) {
                        if (移動チェック(x, y, tx, ty, c) != valueYes) continue;
                        const int captured = board[tx][ty];
                        const Score s = 評価_盤(captured, c, x, y, tx, ty);
                        if (s > bestScore) {
                            bestScore = s;
                            found = true;
                            bestFromX = x;
                            bestFromY = y;
                            bestToX = tx;
                            bestToY = ty;
                            bestMover = c;
                            if (isKingCode(captured)) {
                                kingCaptured = true;
                                break;
                            }
                        }
                    }
                }
            }
        }
    }

    if (!found) {
        // No legal move: the kingdom passes. Nothing is recorded and the move
        // number stays; only the displays the thinking text covered come back.
        for (int y = -1; y <= 0; ++y)
            for (int x = -2; x <= 0; ++x) 描画_絵(backgroundCode, x, y);
        描画_レベル(computerLevel);
        描画_手数(moveNumber);
        描画_アイコン(seat, false);
        recordPass(seat);
        if (wholeRoundPassed()) {
            rotationStop = valueYes;
            noKingdomCanMove();
        }
        return;
    }

    // E. Make the move.
    moveNumber = moveNumber + 1;
    recordEnd = moveNumber;
    for (int y = -1; y <= 0; ++y)
        for (int x = -2; x <= 0; ++x) 描画_絵(backgroundCode, x, y);
    描画_レベル(computerLevel);
    描画_手数(moveNumber);
    描画_桝点滅(bestFromX, bestFromY, 4);
    module1.play(soundPiece);
    駒移動(bestFromX, bestFromY, bestToX, bestToY, bestMover);
    手順保存(moveNumber);
    描画_桝輪郭(colorWhite, bestToX, bestToY);
    描画_アイコン(seat, false);
    描画_持ち駒数(backgroundCode);
    勢力調査();

    // F. Has the mover won; must the next kingdom drop out?
    if (調査_終了(turnSeat) == valueYes) {
        rotationStop = valueYes;
        const std::string name = kingdomName(turnSeat);
        if (!name.empty()) 終了(name);
        return;
    }
    // Every game ends: the human's kingdom may have been taken piece by
    // piece, or the mover may be the last kingdom with pieces.
    if (humanKingdomGone()) {
        rotationStop = valueYes;
        終了_man();
        return;
    }
    if (lastKingdomStanding() == seat) {
        rotationStop = valueYes;
        終了(kingdomName(seat));
        return;
    }
    const int next = 手番_進(seat);
    const bool kingGone = 存在チェック駒(取得_手番王(next)) == valueNo;
    // A kingdom already taken out for its king has no pieces left to remove.
    const bool tooFewPieces = !kingGone && 調査_駒数(next) <= dropOutPieceCount;
    if (kingGone || tooFewPieces) {
        描画_アイコン(next, true);
        rotationStop = valueYes;
        戦線離脱処理(next);
        if (gameEndsAfterDropOut(next)) return;
    }
    描画_アイコン(next, false);
}

}  // namespace daro
