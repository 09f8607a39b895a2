// LEVEL5 at the table: its seats kept in game files, and the hint, which
// names a move the game accepts and changes nothing.
#include <gtest/gtest.h>

#include "record/GameFile.h"
#include "table/Table.h"

namespace daro::test {
namespace {

std::array<SeatKind, 8> seatsOf(const std::string& kinds) {
    std::array<SeatKind, 8> seats{};
    for (int s = 1; s <= 7; ++s) {
        const char k = kinds[static_cast<std::size_t>(s - 1)];
        seats[static_cast<std::size_t>(s)] = k == 'H' ? SeatKind{true, 0} : SeatKind{false, k - '0'};
    }
    return seats;
}

struct Snapshot {
    Board board;
    std::array<int, 8> captured, kings;
    int turnSeat, moveNumber, recordEnd;
    std::vector<RecordEntry> record;
    Step next;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshotOf(const Table& t) {
    return {t.board, t.capturedCount, t.kingsCapturedCount, t.turnSeat, t.moveNumber, t.recordEnd, t.moveRecord,
            t.next()};
}

TEST(Level5Table, HintIsAMoveTheGameAcceptsAndAskingChangesNothing) {
    Table t;
    t.seat(Table::modeFree, seatsOf("H15H111"));
    t.drainEvents();
    EXPECT_EQ(t.levelOf(3), Table::levelFive);
    int hints = 0;
    for (int steps = 0; steps < 400 && hints < 10 && !t.over(); ++steps) {
        const Step now = t.next();
        if (now.kind != StepKind::human) {
            // Only a human to move gets a hint.
            EXPECT_FALSE(t.hint()) << "step " << steps;
            t.step();
            t.drainEvents();
            continue;
        }
        const Snapshot before = snapshotOf(t);
        const std::optional<ChosenMove> hint = t.hint();
        EXPECT_EQ(snapshotOf(t), before);
        EXPECT_TRUE(t.drainEvents().empty());
        EXPECT_EQ(t.hint(), hint) << "the same position gives the same hint";
        ASSERT_TRUE(hint) << "a human with pieces to move has a move";
        ++hints;
        EXPECT_EQ(t.submit(now.seat, {hint->fromX, hint->fromY, hint->toX, hint->toY}), Refusal::none)
            << "hint " << hints;
        t.drainEvents();
    }
    EXPECT_EQ(hints, 10);
}

TEST(Level5Table, GameFilesKeepLevel5SeatsAndOldFilesStillOpen) {
    Table t;
    t.seat(Table::modeFree, seatsOf("H545555"));
    t.computerLevel = Table::levelFive;
    t.drainEvents();
    for (int i = 0; i < 3; ++i) t.step();  // the human's turn comes first: nothing moves
    const GameHeader header = headerOf(t);
    EXPECT_EQ(header.seats[2], "level5");
    const std::string text = gameFileText(header, t.moveRecord, t.recordEnd, "");
    EXPECT_NE(text.find("level 5\nseats human level5 level4 level5"), std::string::npos);
    const GameFileResult read = replayGameFile(text);
    ASSERT_TRUE(read.game) << read.problem.reason;
    EXPECT_TRUE(read.game->seatsNamed);
    EXPECT_EQ(read.game->level, Table::levelFive);
    EXPECT_EQ(read.game->seats[2], (SeatKind{false, Table::levelFive}));
    EXPECT_EQ(read.game->seats[3], (SeatKind{false, Table::levelFour}));

    // A file from before seats were named, and a level past the last.
    EXPECT_TRUE(replayGameFile("daro-game 1\nmode one-player\nhuman 1\nlevel 4\n").game);
    const GameFileResult six = replayGameFile("daro-game 1\nmode free\nlevel 5\nseats human level6 level1 level1 "
                                              "level1 level1 level1\n");
    ASSERT_FALSE(six.game);
    EXPECT_EQ(six.problem.line, 4);
    EXPECT_EQ(six.problem.reason, "a player is human, level1..level5 or random");
    EXPECT_FALSE(replayGameFile("daro-game 1\nmode one-player\nhuman 1\nlevel 6\n").game);
}

}  // namespace
}  // namespace daro::test
