#pragma once
// The one window object of daro: every field of the game and every
// procedure, grouped by subsystem. Each group's methods are defined in the
// folder of its subsystem (rules/, computer/, play/, view/, shell/).
//
// Arrays keep the game's 1-based numbers: board[x][y] with x, y in 1..19,
// per-block arrays indexed by block 1..7, per-seat arrays by seat 1..7;
// index 0 exists and is unused.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <deque>
#include <functional>

#include "platform/Clock.h"
#include "platform/Searcher.h"
#include "platform/SoundLibrary.h"
#include "platform/Window.h"
#include "record/Record.h"
#include "table/Table.h"
#include "shell/FilePlaces.h"
#include "shell/Module1.h"

namespace daro {

struct ReplayedGame;

class Form1 : public Codes {
public:
    // `soundLibrary` may be null (no library beside the program). Without
    // `places` the files are the bare names in the current folder.
    // `searcher` thinks for the computer; without it the computer thinks
    // inside the call.
    Form1(Window& window, Clock& clock, SoundLibrary* soundLibrary, FilePlaces places = {},
          Searcher* searcher = nullptr);

    // ---------------------------------------------------------------- constants
    static constexpr int levelFour = Table::levelFour;
    static constexpr int levelFive = Table::levelFive;
    static constexpr int modeSevenPlayers = Table::modeSevenPlayers;
    static constexpr int modeOnePlayer = Table::modeOnePlayer;
    static constexpr int modeFree = Table::modeFree;

    // Picture codes besides the board contents.
    static constexpr int titlePictureCode = 1;
    static constexpr int bgCodeMidori = 2;
    static constexpr int bgCodeTatami = 3;
    static constexpr int bgCodeTake = 4;
    static constexpr int bgCodeUchu = 5;
    static constexpr int bgCodeRenga = 6;

    // QBColor indices.
    static constexpr int colorBlack = 0;
    static constexpr int colorGreen = 2;
    static constexpr int selectColor = 12;
    static constexpr int colorLightYellow = 14;
    static constexpr int colorWhite = 15;

    // Elements of moveWork.
    static constexpr int workSelX = 3;
    static constexpr int workSelY = 4;
    static constexpr int workDestX = 5;
    static constexpr int workDestY = 6;
    static constexpr int workPiece = 8;

    // 描画_文字列 string code of "手目".
    static constexpr int moveSuffixStringCode = 99;

    // Sound buffer creation flags.
    static constexpr std::int32_t effectSoundFlags = 3;
    static constexpr std::int32_t musicSoundFlags = 1;

    // ------------------------------------------------------------- the game
    // The one game; the window presents what it does. The names below are
    // the table's own fields, as the window's procedures know them.
    Table table;
    Board& board = table.board;
    int& turnSeat = table.turnSeat;
    std::array<int, 8>& seatPlayer = table.seatPlayer;
    std::array<int, 8>& capturedCount = table.capturedCount;
    std::array<int, 8>& kingsCapturedCount = table.kingsCapturedCount;
    int& rotationStop = table.rotationStop;
    int& gameMode = table.gameMode;
    int& computerLevel = table.computerLevel;
    int& moveNumber = table.moveNumber;
    int& recordEnd = table.recordEnd;
    std::vector<RecordEntry>& moveRecord = table.moveRecord;

    // ------------------------------------------------------------- the window's
    int gameStarted = valueNo;
    int clickPhase = 0;
    std::array<int, 9> moveWork{};
    int recordNavigated = valueNo;

    // Drawing.
    int outlineColor = colorGreen;
    int gridColor = colorGreen;
    int guideColor = colorGreen;
    int backgroundCode = bgCodeTatami;
    int boardLeft = 1100;
    int boardTop = 130;
    int cellWidth = 465;
    int cellHeight = 465;

    // Sound buffers; 0 = no sound.
    std::int32_t soundOther = 0;
    std::int32_t soundForbidden = 0;
    std::int32_t soundPiece = 0;
    std::int32_t soundGameEnd = 0;
    std::int32_t soundBgm = 0;

    // ------------------------------------------ small helpers
    bool onBoard(int x, int y) const { return x >= 1 && x <= boardSize && y >= 1 && y <= boardSize; }
    // 手の表示 or 王手の表示 is on: the game guides as a new player expects.
    // With both off it looks and answers as it always did.
    bool guidedPlay() const { return window.isChecked("TE_HYOUJI") || window.isChecked("OUTE"); }

    // ================================= 1-3 the game as the window shows it
    void 初期設定();
    // The turn of a computer kingdom: its drop-out, or its thinking and move.
    void com_ban(int seat);
    // The automatic steps from the seat to move on, until a human is to
    // move, the computers wait for a click, or the game is over.
    void 対局_回転();
    void 終了(const std::string& kingdom);
    void 終了_man();
    // A whole round went by in which no kingdom could move.
    void noKingdomCanMove();
    // Every human kingdom has left a game of several humans.
    void noHumanKingdomLeft();

    void Form_MouseDown(int button, int shift, double X, double Y);
    void 描画_手番エラーメッセージ(int seat);
    // A board click or a command before any game: the sound and "「対局」で始めて下さい".
    void refuseNoGame();
    void showWholeGame();
    void REPLAY_Click();
    void AFTER_Click();
    void CANCEL_Click();
    void SAVE_Click();
    void OPEN_Click();
    // The game of a replayed game file takes the place of the one shown.
    void takeOverGame(const ReplayedGame& game);

    // ------------------------------------------------- a game at a server
    // The window follows a table that a server plays: the position comes
    // from its record, every announced event is shown as the game shows its
    // own, and a move of `remoteSeat` (0: watching) goes to `sendMove`.
    void followRemoteGame(const std::array<SeatKind, 8>& seats, int mySeat, const std::vector<std::string>& lines);
    // One announced event line ("move …", "out S", "pass S"); false when it
    // does not follow the game shown.
    bool presentRemoteLine(const std::string& line);
    void leaveRemoteGame();
    // Review at a server: 戻 and 進 only show earlier positions; this shows
    // the game as it stands again (any click on the board does too).
    void backToNow();
    bool remote() const { return static_cast<bool>(sendMove); }
    bool reviewingRemote() const;
    std::function<void(const TableMove&)> sendMove;
    int remoteSeat = 0;
    std::array<SeatKind, 8> remoteSeats{};
    // The server's table was created allowing hints.
    bool remoteHints = false;
    bool remoteReviewExplained = false;
    // ----------------------------------------- following the game (additions)
    // 新しい対局: the opening position with the same seats and levels.
    void SHINKI_Click();
    // 前回の続き: the game kept after the last move, as it was left.
    void ZENKAI_Click();
    // Back to the position where a human was last to move, in one go.
    void takeBackToHumanTurn();
    // The position after record entry n, reached by as many 戻/進 as needed.
    void showRecordPosition(int n);
    // One line of the move list: the entry it shows, its text, and the event
    // it tells of (a move, or a drop-out or pass with its seat only), for a
    // window that words it in another language.
    struct MoveListLine {
        int entry = 0;
        std::string text;
        RecordEvent event;

        bool operator==(const MoveListLine&) const = default;
    };
    std::vector<MoveListLine> moveList() const;
    // Keeps the game in the autosave file; nothing without one.
    void autosave();
    // The marks, the king in danger and the autosave after the game moved on.
    void followGame();

    // ---------------------------------------------------------- the timeline
    // The game's waits are steps of a timeline, never a nested loop. A step
    // queued while another runs goes before what was queued earlier, as a
    // call would; with a clock that waits at once the timeline runs to its
    // end inside the call that started it.
    void then(std::function<void()> action);
    void 待ち時間(double seconds);
    // Runs the queued steps; a no-op while they already run.
    void runTimeline();
    // Steps are queued or a wait or a search is under way: input is held.
    bool busy() const { return timelineRunning_ || waiting_ || !timeline_.empty(); }

    // ================================================= 4 presentation (view/)
    static std::string pictureControlName(int pictureCode);  // empty: no picture
    static std::string iconControlName(int seat, int player); // empty: none
    void 描画_絵(int pictureCode, double x, double y);
    void 描画_桝輪郭(int color, double x, double y);
    void 描画_盤();
    void 描画_将棋盤桝();
    void 描画_移動可能桝色(int fromX, int fromY, int color, int piece);
    void 描画_桝点滅(int x, int y, int times);
    // The drawing of a move: the square left, then the mover where it went.
    void 描画_駒移動(int fromX, int fromY, int toX, int toY, int piece);
    // Three visible on/off blinks of a kingdom's pieces before they leave.
    void 描画_戦線離脱(int seat);
    void 描画_背景(int pictureCode);
    void 画面_再描画();
    // Everything the window shows, drawn anew (after the window was resized).
    void redrawWhole();

    void 描画_数値(double x, double y, const std::string& text, int color, int mode, double size);
    void 描画_数値(double x, double y, int value, int color, int mode, double size);
    void 描画_文字列(double x, double y, int stringCode, int color, double size);
    void 描画_手数(int n, int secondValue = colorWhite);
    void 描画_レベル(int level);
    void 描画_アイコン(int seat, bool shown);
    void 描画_持ち駒数(int pictureCode);
    void 描画_桝_数値();

    // Marks of the moves made since the viewing human's last move (手の表示).
    struct MoveMark {
        int x = 0, y = 0, seat = 0, number = 0, captured = 0;
    };
    std::vector<MoveMark> movesSinceHumanTurn() const;
    // The human whose view the marks and the danger follow: the seat to move
    // when it is a human's, else the next human in turn; 0 for none.
    int viewingHuman() const;
    // Clears the last marks and danger, then draws them for the position shown.
    void 描画_経過();
    void 描画_手の表示();
    // The viewing human's king where another kingdom can take it (王手).
    void 描画_王手();
    // The wait of `seconds` at the chosen pace; 0 at the fastest.
    double paced(double seconds) const;
    bool blinking() const;

    // The window font turns bold at the first coordinate labels and stays so.
    bool fontBold = false;
    // Twips of a point given in square units.
    double twipsX(double x) const { return boardLeft + x * cellWidth; }
    double twipsY(double y) const { return boardTop + y * cellHeight; }

    // ============================================ 5 application shell (shell/)
    void Form_Load();
    void 終了処理();
    void Form_KeyPress(int keyAscii);
    void Form_Unload();
    void OWARI_Click();

    void JYUNBAN_1_Click();
    void JYUNBAN_2_Click();
    void JYUNBAN_3_Click();
    void JYUNBAN_4_Click();
    void JYUNBAN_5_Click();
    void JYUNBAN_6_Click();
    void JYUNBAN_7_Click();
    void PLAY_7_Click();
    void LEVEL1_Click();
    void LEVEL2_Click();
    void LEVEL3_Click();
    void LEVEL4_Click();
    void LEVEL5_Click();
    void 消去_アイコン();
    // 自由対局: a new game with each seat a human or the computer at a level.
    void seatFree(const std::array<SeatKind, 8>& seats);
private:
    // The seat command of seat n: JYUNBAN_1_Click .. JYUNBAN_7_Click.
    void seatHumanAt(int seat);
public:

    void 読込_環境設定ファイル();
    void 書込_環境設定ファイル();
    void チェック設定(int pictureCode);
    void SIDOU_Click();
    void AICON_Click();
    void mochikoma_Click();
    void MIDORI_Click();
    void TATAMI_Click();
    void TAKE_Click();
    void UCHU_Click();
    void RENGA_Click();
    void BGM_Click();

    void VER_Click();
    // ヒント: LEVEL5's move for the human to move, outlined on the board and
    // not played; thought off the window's thread. At a server's table only
    // when it allows hints, and only for the window's own seat.
    void HINT_Click();
    // A hint is being thought or is shown: Esc drops it first.
    bool hintWanted() const;
    // Options beyond the classic ones; the window keeps their check marks.
    void TE_HYOUJI_Click();
    void OUTE_Click();
    void HAYASA_HYOUJUN_Click();
    void HAYASA_HAYAI_Click();
    void HAYASA_SAISOKU_Click();

    // ------------------------------------------------------------- the seam
    Window& window;
    Clock& clock;
    Module1 module1;
    const FilePlaces places;
    bool ended = false;  // set once the program has been told to end
    Searcher& searcher;

private:
    struct TimelineStep {
        std::function<void()> action;
        std::function<void(std::function<void()>)> await;  // calls its argument when done
    };
    void awaitStep(std::function<void(std::function<void()>)> start);
    void queue(TimelineStep step);
    void presentEvents();
    void presentStep(const Step& step);
    void presentComputerMove(int seat, const std::optional<ChosenMove>& chosen);
    void presentDropOut(int seat);
    void presentPass(int seat);
    void presentHumanMove(const TableMove& move, int piece);
    void presentRefusedKingMove(const TableMove& move, int piece);
    void presentOutcome(const Outcome& outcome);
    void presentRemoteMove(const RecordEvent& move, const std::string& line);
    std::deque<TimelineStep> timeline_;
    std::vector<TimelineStep> queuedByStep_;
    bool timelineRunning_ = false;
    bool waiting_ = false;
    std::optional<ChosenMove> chosen_;
    // The next board click plays on without the "OKですか？" box (a game
    // taken over while guiding).
    bool resumeQuietly_ = false;
    // Squares that carry a mark or the danger outline now, to be cleared.
    std::vector<std::pair<int, int>> markedSquares_;
    std::pair<int, int> dangerSquare_{0, 0};
    bool dangerShown_ = false;
    // The squares the hint outlined, repainted when the game moves on.
    std::vector<std::pair<int, int>> hintSquares_;
    // Counts hints asked for: an answer for an earlier one is dropped.
    int hintAsked_ = 0;
    bool hintPending_ = false;
    void clearHint();
    void dropHint();
    void showHint(const ChosenMove& move);
    void repaintSquare(int x, int y);
    void startFromOpening(int mode, const std::array<SeatKind, 8>& seats);
    SyncSearcher syncSearcher_;
};

}  // namespace daro
