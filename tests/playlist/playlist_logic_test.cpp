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
        if (rows[i] == value)
            return static_cast<int>(i);
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

}  // namespace
