#pragma once
// Replays the events written by daro-autoplay from the initial position with
// the rules of the game, checking every line on the way.

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Form1.h"
#include "InstantClock.h"
#include "RecordingWindow.h"

namespace daro::test {

struct ReplayResult {
    Board board{};
    std::string last;    // the final line: "win N", "lost" or "limit"
    int moves = 0;
    std::string error;   // empty when every line checked out
};

inline ReplayResult replayRecord(const std::string& output, int humanSeat) {
    RecordingWindow window;
    InstantClock clock;
    Form1 form{window, clock, nullptr};
    form.初期設定();
    ReplayResult r;
    std::istringstream in(output);
    std::string text;
    std::vector<std::string> lines;
    while (std::getline(in, text)) lines.push_back(text);
    auto fail = [&](std::size_t i, const std::string& why) {
        r.error = "line " + std::to_string(i + 1) + " \"" + lines[i] + "\": " + why;
        r.board = form.board;
        return r;
    };
    if (lines.empty()) {
        r.error = "no output";
        return r;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::istringstream words(lines[i]);
        std::string event;
        words >> event;
        const bool lastLine = i + 1 == lines.size();
        if (event == "move") {
            int n, seat, fx, fy, tx, ty, piece, captured;
            if (!(words >> n >> seat >> fx >> fy >> tx >> ty >> piece >> captured)) return fail(i, "bad move");
            if (n != r.moves + 1) return fail(i, "move number out of step");
            if (!form.onBoard(fx, fy) || !form.onBoard(tx, ty)) return fail(i, "off the board");
            if (Form1::seatOfBlock(Form1::blockOfCode(piece)) != seat) return fail(i, "piece of another seat");
            if (form.board[fx][fy] != piece) return fail(i, "no such piece there");
            if (form.board[tx][ty] != captured) return fail(i, "the target holds something else");
            if (form.table.移動チェック(fx, fy, tx, ty, piece) != Form1::valueYes) return fail(i, "illegal move");
            if (captured != Form1::emptyCode) form.table.調査_駒取得("取る", piece, captured);
            form.board[tx][ty] = piece;
            form.board[fx][fy] = Form1::emptyCode;
            r.moves = n;
        } else if (event == "out") {
            int seat;
            if (!(words >> seat) || seat < 1 || seat > 7) return fail(i, "bad seat");
            if (form.table.調査_駒数(seat) == 0) return fail(i, "nothing left to take out");
            for (auto& column : form.board)
                for (int& c : column)
                    if (Form1::blockOfCode(c) == Form1::blockOfSeat(seat)) c = Form1::emptyCode;
        } else if (event == "pass") {
            int seat;
            if (!(words >> seat) || seat < 1 || seat > 7) return fail(i, "bad seat");
            if (form.table.調査_駒数(seat) == 0) return fail(i, "a kingdom without pieces passes");
            for (int x = 1; x <= 19; ++x)
                for (int y = 1; y <= 19; ++y)
                    if (Form1::blockOfCode(form.board[x][y]) == Form1::blockOfSeat(seat))
                        for (int tx = 1; tx <= 19; ++tx)
                            for (int ty = 1; ty <= 19; ++ty)
                                if (form.table.移動チェック(x, y, tx, ty, form.board[x][y]) == Form1::valueYes)
                                    return fail(i, "passed with a legal move");
        } else if (event == "win") {
            int seat;
            if (!(words >> seat) || seat < 1 || seat > 7) return fail(i, "bad seat");
            if (!lastLine) return fail(i, "the game went on after a win");
            if (form.table.調査_終了(seat) != Form1::valueYes) return fail(i, "not a winning score");
            std::istringstream previous(i > 0 ? lines[i - 1] : "");
            std::string what;
            int n = 0, mover = 0;
            previous >> what >> n >> mover;
            if (what != "move" || mover != seat) return fail(i, "the winner did not just move");
        } else if (event == "lost") {
            if (!lastLine) return fail(i, "the game went on after a loss");
            if (i == 0 || lines[i - 1] != "out " + std::to_string(humanSeat))
                return fail(i, "the human's kingdom was not taken out first");
        } else if (event == "limit") {
            if (!lastLine) return fail(i, "the game went on after the limit");
        } else {
            return fail(i, "unknown event");
        }
        std::string rest;
        if (words >> rest) return fail(i, "trailing words");
    }
    r.last = lines.back();
    if (r.last != "lost" && r.last != "limit" && r.last.rfind("win ", 0) != 0) {
        r.error = "the record does not end with a result";
    }
    r.board = form.board;
    return r;
}

}  // namespace daro::test
