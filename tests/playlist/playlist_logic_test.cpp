#include "playlist/playlist_logic.h"

#include <gtest/gtest.h>

namespace {

// Applies a move to a list of labels, as the list box does.
std::vector<int> Moved(std::vector<int> rows, int source, int target) {
    int value = rows[static_cast<std::size_t>(source)];
    rows.erase(rows.begin() + source);
    rows.insert(rows.begin() + target, value);
    return rows;
}

int IndexOf(const std::vector<int>& rows, int value) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] == value) return static_cast<int>(i);
    }
    return -1;
}

// Every move of every row in a list of five keeps the playing index on the
// same entry, whichever entry plays.
TEST(PlayingIndexTest, MoveKeepsThePlayingEntry) {
    const int count = 5;
    std::vector<int> rows = {0, 1, 2, 3, 4};
    for (int playing = -1; playing < count; ++playing) {
        for (int source = 0; source < count; ++source) {
            for (int target = 0; target < count; ++target) {
                std::vector<int> after = Moved(rows, source, target);
                int expected = playing < 0 ? -1 : IndexOf(after, playing);
                EXPECT_EQ(PlayingIndexAfterMove(playing, source, target), expected)
                    << "playing " << playing << " source " << source << " target " << target;
            }
        }
    }
}

TEST(PlayingIndexTest, FourMovesInBothDirections) {
    const int count = 5;
    struct Case {
        MoveKind kind;
        int selected;
        int target;
    };
    const Case cases[] = {
        {MoveKind::kUp, 2, 1},     {MoveKind::kUp, 0, -1},       {MoveKind::kDown, 2, 3},
        {MoveKind::kDown, 4, -1},  {MoveKind::kToTop, 3, 0},     {MoveKind::kToTop, 0, -1},
        {MoveKind::kToBottom, 1, 4}, {MoveKind::kToBottom, 4, -1}, {MoveKind::kUp, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MoveTargetIndex(c.kind, c.selected, count), c.target)
            << static_cast<int>(c.kind) << " from " << c.selected;
    }
    // The playing entry moved, and another entry moved over it, each way.
    EXPECT_EQ(PlayingIndexAfterMove(2, 2, 1), 1);  // playing moves up
    EXPECT_EQ(PlayingIndexAfterMove(2, 2, 3), 3);  // playing moves down
    EXPECT_EQ(PlayingIndexAfterMove(2, 2, 0), 0);  // playing to top
    EXPECT_EQ(PlayingIndexAfterMove(2, 2, 4), 4);  // playing to bottom
    EXPECT_EQ(PlayingIndexAfterMove(2, 3, 2), 3);  // the one below moves up over it
    EXPECT_EQ(PlayingIndexAfterMove(2, 1, 2), 1);  // the one above moves down over it
    EXPECT_EQ(PlayingIndexAfterMove(2, 4, 0), 3);  // last to top
    EXPECT_EQ(PlayingIndexAfterMove(2, 0, 4), 1);  // first to bottom
}

TEST(PlayingIndexTest, InsertAndRemove) {
    EXPECT_EQ(PlayingIndexAfterInsert(2, 0), 3);
    EXPECT_EQ(PlayingIndexAfterInsert(2, 2), 3);
    EXPECT_EQ(PlayingIndexAfterInsert(2, 3), 2);
    EXPECT_EQ(PlayingIndexAfterInsert(-1, 0), -1);
    EXPECT_EQ(PlayingIndexAfterRemove(2, 2), -1);
    EXPECT_EQ(PlayingIndexAfterRemove(2, 1), 1);
    EXPECT_EQ(PlayingIndexAfterRemove(2, 3), 2);
    EXPECT_EQ(PlayingIndexAfterRemove(-1, 0), -1);
}

TEST(DragTest, DropBoundaries) {
    const int height = 18;
    // Rows 0-9, top row 2, row 4 selected: boundaries 4 and 5 move nothing.
    EXPECT_EQ(DropBoundaryAtY(2, height, 2 * height, 10, 4), -1);      // top of row 4
    EXPECT_EQ(DropBoundaryAtY(2, height, 3 * height - 1, 10, 4), -1);  // bottom half of row 4
    EXPECT_EQ(DropBoundaryAtY(2, height, 3 * height + 9, 10, 4), 6);
    EXPECT_EQ(DropBoundaryAtY(2, height, 0, 10, 4), 2);
    // Below the last row the boundary is the end of the list.
    EXPECT_EQ(DropBoundaryAtY(2, height, 50 * height, 10, 4), 10);
    EXPECT_EQ(DropBoundaryAtY(0, height, 0, 10, -1), -1);
}

TEST(DragTest, DropTargetsMoveTheRowNextToTheBoundary) {
    struct Case {
        int source, mark;
    };
    std::vector<int> rows = {0, 1, 2, 3, 4};
    for (Case c : {Case{1, 4}, Case{1, 5}, Case{3, 0}, Case{4, 2}, Case{0, 5}}) {
        std::vector<int> after = Moved(rows, c.source, DropTargetIndex(c.source, c.mark));
        // The moved row now sits where the boundary was: after the row that
        // preceded the boundary.
        int before = c.mark > 0 ? rows[static_cast<std::size_t>(c.mark - 1)] : -1;
        int moved = IndexOf(after, c.source);
        if (before < 0) {
            EXPECT_EQ(moved, 0);
        } else {
            EXPECT_EQ(moved, IndexOf(after, before) + 1) << c.source << " to " << c.mark;
        }
    }
}

TEST(DragTest, RowUnderPointer) {
    EXPECT_EQ(RowAtY(3, 18, 0, 10), 3);
    EXPECT_EQ(RowAtY(3, 18, 17, 10), 3);
    EXPECT_EQ(RowAtY(3, 18, 18, 10), 4);
    EXPECT_EQ(RowAtY(3, 18, 7 * 18, 10), -1);  // below the last row
    EXPECT_EQ(RowAtY(0, 18, -1, 10), -1);
}

TEST(ToolbarStatesTest, FollowCountAndSelection) {
    PlaylistToolbarStates empty = ToolbarStatesFor(0, -1);
    EXPECT_FALSE(empty.save || empty.clear || empty.remove || empty.moveUp || empty.moveDown);
    PlaylistToolbarStates first = ToolbarStatesFor(3, 0);
    EXPECT_TRUE(first.save && first.clear && first.remove && first.moveDown);
    EXPECT_FALSE(first.moveUp);
    PlaylistToolbarStates last = ToolbarStatesFor(3, 2);
    EXPECT_TRUE(last.moveUp);
    EXPECT_FALSE(last.moveDown);
    PlaylistToolbarStates none = ToolbarStatesFor(3, -1);
    EXPECT_TRUE(none.save);
    EXPECT_FALSE(none.remove || none.moveUp || none.moveDown);
}

TEST(ScrollTest, TopRowToShow) {
    EXPECT_EQ(TopRowToShow(2, 5, 10), 2);    // above: becomes the top row
    EXPECT_EQ(TopRowToShow(7, 5, 10), 5);    // visible: unchanged
    EXPECT_EQ(TopRowToShow(15, 5, 10), 6);   // below: last visible row
    EXPECT_EQ(TopRowToShow(15, 5, 0), 15);   // at least one visible row
}

TEST(DisplayTextTest, ThreeModes) {
    const std::wstring path = L"C:\\Music\\Jazz\\a.mp3";
    EXPECT_EQ(PlaylistDisplayText(path, 0), L"a.mp3");
    EXPECT_EQ(PlaylistDisplayText(path, 1), path);
    EXPECT_EQ(PlaylistDisplayText(path, 2), L"...\\Jazz\\a.mp3");
}

}  // namespace
