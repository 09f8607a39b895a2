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
#include <vector>

#include "platform/Clock.h"
#include "platform/SoundLibrary.h"
#include "platform/Window.h"
#include "play/Record.h"
#include "shell/FilePlaces.h"
#include "shell/Module1.h"

namespace daro {

struct ReplayedGame;

// Computer scores are kept in exact tenths: 0.1 is 1, +50 is 500.
using Score = int;

class Form1;

// A computer kingdom's move, chosen outside the written search.
struct ChosenMove {
    int fromX = 0, fromY = 0, toX = 0, toY = 0, piece = 0;
};

// Chooses the move of a computer kingdom in com_ban's place: the LEVEL4
// engine, or a player the arena seats.
class MoveChooser {
public:
    virtual ~MoveChooser() = default;
    // False leaves the choice to the written search. True: `move` is the
    // choice, or empty when the kingdom has no move and passes.
    virtual bool choose(Form1& form, int seat, std::optional<ChosenMove>& move) = 0;
};

// The LEVEL4 player: the engine of src/engine/ behind the MoveChooser seam.
std::unique_ptr<MoveChooser> makeLevelFourPlayer();

class Form1 {
public:
    // `soundLibrary` may be null (no library beside the program). Without
    // `places` the files are the bare names in the current folder.
    Form1(Window& window, Clock& clock, SoundLibrary* soundLibrary, FilePlaces places = {});

    // ---------------------------------------------------------------- constants
    static constexpr int valueYes = 1;
    static constexpr int valueNo = 0;
    static constexpr int playerHuman = 1;
    static constexpr int playerComputer = 2;
    static constexpr int noSeat = -1;
    // What 取得_手番王 answers for a value that is not a seat: equals no code.
    static constexpr int noPieceCode = -1;

    static constexpr int emptyCode = 0;
    static constexpr int centreCode = 80;

    // Piece kinds: the units digit of a piece code.
    static constexpr int GYO = 0;
    static constexpr int TOU = 1;
    static constexpr int KEN = 2;
    static constexpr int DOU = 3;
    static constexpr int KIB = 4;
    static constexpr int KYU = 5;
    static constexpr int HOU = 6;
    static constexpr int HEN = 7;
    static constexpr int HII = 8;
    static constexpr int OHU = 9;

    static constexpr int boardSize = 19;
    static constexpr int seatCount = 7;
    static constexpr int blockCount = 7;

    // Picture codes besides the board contents.
    static constexpr int titlePictureCode = 1;
    static constexpr int bgCodeMidori = 2;
    static constexpr int bgCodeTatami = 3;
    static constexpr int bgCodeTake = 4;
    static constexpr int bgCodeUchu = 5;
    static constexpr int bgCodeRenga = 6;

    // The level at which the engine chooses the computer's moves.
    static constexpr int levelFour = 4;
    static constexpr int modeSevenPlayers = 0;
    static constexpr int modeOnePlayer = 1;

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

    // The order in which the kings' squares are refreshed before a move.
    static constexpr std::array<int, 7> kingRefreshOrder = {19, 59, 29, 69, 39, 79, 49};

    // 描画_文字列 string code of "手目".
    static constexpr int moveSuffixStringCode = 99;

    // Sound buffer creation flags.
    static constexpr std::int32_t effectSoundFlags = 3;
    static constexpr std::int32_t musicSoundFlags = 1;

    // ------------------------------------------------------------- game state
    Board board{};
    int turnSeat = noSeat;
    std::array<int, 8> seatPlayer{};          // by seat
    std::array<int, 8> capturedCount{};       // by block
    std::array<int, 8> kingsCapturedCount{};  // by block
    std::array<int, 8> kingX{};               // by block; 0 = no square yet
    std::array<int, 8> kingY{};
    int rotationStop = valueNo;

    int gameMode = noSeat;
    int gameStarted = valueNo;
    int computerLevel = 3;
    // Per seat, a player that chooses instead of the written search (the
    // arena's); empty seats follow the level.
    std::array<MoveChooser*, 8> seatChooser{};
    std::unique_ptr<MoveChooser> levelFourPlayer = makeLevelFourPlayer();

    int clickPhase = 0;
    std::array<int, 9> moveWork{};

    int moveNumber = 0;
    int recordEnd = 0;
    int recordNavigated = valueNo;
    // Entry n is the position after move n with its counters, seat to move
    // and events; grows as the game goes on.
    std::vector<RecordEntry> moveRecord;
    // The last move 駒移動 made, for the record.
    RecordEvent lastMove;

    Board influenceTotal{};
    std::array<Board, 8> kingdomInfluence{};  // by block: kingdomInfluence1 .. 7

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

    // ------------------------------------------ small helpers over the codes
    static int blockOfSeat(int seat);   // 0 for a value that is no seat
    static int seatOfBlock(int block);  // 0 for a value that is no block
    static int blockOfCode(int code);   // first block b with 10b <= code <= 10b+9, else 0
    static int kindOf(int code) { return code % 10; }
    static bool isKingCode(int code);
    static std::string kingdomName(int seat);  // "秦" .. "燕"; empty for no seat
    bool onBoard(int x, int y) const { return x >= 1 && x <= boardSize && y >= 1 && y <= boardSize; }

    // ==================================================== 1 rules (rules/)
    int 存在チェック駒(int code) const;
    void 取得_王座標(int code);
    static int 取得_手番王(int seat);

    void 初期設定();

    int 移動チェック(int fromX, int fromY, int toX, int toY, int piece) const;
    int 移動チェック飛車(int fromX, int fromY, int toX, int toY) const;
    int 移動チェック角(int fromX, int fromY, int toX, int toY) const;
    int 移動チェック砲取(int fromX, int fromY, int toX, int toY) const;
    int 移動チェック騎(int fromX, int fromY, int toX, int toY) const;

    void 駒移動(int fromX, int fromY, int toX, int toY, int piece);
    void 調査_駒取得(const std::string& mode, int mover, int captured);
    int 調査_駒数(int seat) const;

    int 手番_進(int seat) const;
    int 手番_戻(int seat) const;
    void 戦線離脱処理(int seat);
    int 調査_終了(int seat) const;
    // The one kingdom with pieces left when every other has left; else noSeat.
    int lastKingdomStanding() const;
    bool hasLegalMove(int seat) const;
    void 対局_回転();
    void 待ち時間(double seconds);

    // ============================================= 2 computer (computer/)
    static void 取得_駒移動座標(int piece, int x, int y, int& xmin, int& xmax, int& ymin, int& ymax);
    void 勢力調査();
    static Score 評価_移動得点(int fromX, int fromY, int toX, int toY);
    Score 評価_盤(int captured, int mover, int fromX, int fromY, int toX, int toY) const;
    void com_ban(int seat);
    void 終了(const std::string& kingdom);
    void 終了_man();
    // A whole round went by in which no kingdom could move.
    void noKingdomCanMove();
    // After a kingdom dropped out: the human lost, or one kingdom is left.
    // True when the game ended.
    bool gameEndsAfterDropOut(int seat);
    // True when the one-player game's human has no piece left.
    bool humanKingdomGone() const;

    // ================================================= 3 play control (play/)
    void Form_MouseDown(int button, int shift, double X, double Y);
    void 描画_手番エラーメッセージ(int seat);
    void 手順保存(int n);
    void REPLAY_Click();
    void AFTER_Click();
    void CANCEL_Click();
    void SAVE_Click();
    void OPEN_Click();
    // Drop-outs and passes join the record entry of the position shown.
    void recordOut(int seat);
    void recordPass(int seat);
    // Since the board last changed, every kingdom with pieces has passed.
    bool wholeRoundPassed() const;
    // A human seat with no legal move passes; false when the game ended meanwhile.
    bool passHumansWhoCannotMove();
    // The game of a replayed game file takes the place of the one shown.
    void takeOverGame(const ReplayedGame& game);

    // ================================================= 4 presentation (view/)
    static std::string pictureControlName(int pictureCode);  // empty: no picture
    static std::string iconControlName(int seat, int player); // empty: none
    void 描画_絵(int pictureCode, double x, double y);
    void 描画_桝輪郭(int color, double x, double y);
    void 描画_盤();
    void 描画_将棋盤桝();
    void 描画_移動可能桝色(int fromX, int fromY, int color, int piece);
    void 描画_桝点滅(int x, int y, int times);
    void 描画_背景(int pictureCode);
    void 画面_再描画();

    void 描画_数値(double x, double y, const std::string& text, int color, int mode, double size);
    void 描画_数値(double x, double y, int value, int color, int mode, double size);
    void 描画_文字列(double x, double y, int stringCode, int color, double size);
    void 描画_手数(int n, int secondValue = colorWhite);
    void 描画_レベル(int level);
    void 描画_アイコン(int seat, bool shown);
    void 描画_持ち駒数(int pictureCode);
    void 描画_桝_数値();

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
    void 消去_アイコン();
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

    // ------------------------------------------------------------- the seam
    Window& window;
    Clock& clock;
    Module1 module1;
    const FilePlaces places;
    bool ended = false;  // set once the program has been told to end
};

}  // namespace daro
