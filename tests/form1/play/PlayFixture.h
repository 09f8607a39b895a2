#pragma once
// A game on the recording doubles, with the sounds loaded and helpers to lay
// out positions and to click moves.

#include <algorithm>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "GameFixture.h"

namespace daro::test {

class PlayFixture : public GameFixture {
protected:
    static constexpr int forbidden = 21, piece = 22, gameEnd = 23;

    void SetUp() override {
        form.soundForbidden = forbidden;
        form.soundPiece = piece;
        form.soundGameEnd = gameEnd;
        form.module1.soundDevice = sound.device;
        form.初期設定();
    }

    void startSevenPlayers() {
        form.PLAY_7_Click();
        forget();
    }

    void forget() {
        window.boxes.clear();
        window.clearCalls();
        sound.calls.clear();
    }

    // Only these pieces and the centre piece; the record starts from here.
    void layOut(std::initializer_list<std::tuple<int, int, int>> pieces) {
        clearBoard();
        for (auto [x, y, code] : pieces) form.board[x][y] = code;
        form.table.手順保存(0);
    }

    void move(int fromX, int fromY, int toX, int toY) {
        clickSquare(fromX, fromY);
        clickSquare(toX, toY);
    }

    std::vector<std::int32_t> played() const { return sound.argsOf("dsPlay"); }

    bool boxShown(const std::string& text, const std::string& title) const {
        return std::any_of(window.boxes.begin(), window.boxes.end(),
                           [&](const ShownBox& b) { return b.text == text && b.title == title; });
    }

    // Colour of the last outline drawn on square (x, y), or -1.
    int outlineAt(int x, int y) const {
        const double left = form.boardLeft + x * form.cellWidth, top = form.boardTop + y * form.cellHeight;
        int colour = -1;
        for (const auto& c : window.calls)
            if (c.kind == WindowCall::Kind::Rectangle && c.x >= left - 1 && c.x < left + form.cellWidth &&
                c.y >= top - 1 && c.y < top + form.cellHeight)
                colour = c.code;
        return colour;
    }
};

}  // namespace daro::test
