#include <gtest/gtest.h>

#include "form/RecordGrid.h"

// Growing gives empty white rows, shrinking drops rows for good and pulls the current row back
// inside; cells, rows and widths out of range are clamped or read as empty, never a crash.
TEST(RecordGrid, ResizingKeepsWhatStaysAndClampsWhatIsOutOfRange) {
    RecordGrid g;
    g.SetCols(3);
    g.SetRows(1);
    EXPECT_FALSE(g.HasRecords());
    g.SetRows(51);
    EXPECT_EQ(g.Rows(), 51);
    for (int r = 1; r < 51; ++r) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(g.TextMatrix(r, c), "");
            EXPECT_EQ(g.CellBackColorAt(r, c), White);
        }
    }
    g.SetTextMatrix(2, 1, "kept");
    g.SetCellBackColorAt(2, 1, FlagColour);
    g.PaintRow(3, IgnoreColour);
    g.SetTopRow(0);
    EXPECT_EQ(g.TopRow(), 1);
    g.SetTopRow(60);
    EXPECT_EQ(g.TopRow(), 50);
    g.SetRow(3);
    g.SetRow(99);  // out of range: the current row stays
    EXPECT_EQ(g.Row(), 3);
    g.SetRows(4);
    EXPECT_EQ(g.TopRow(), 3);
    g.SetCols(5);
    EXPECT_EQ(g.TextMatrix(2, 1), "kept");
    EXPECT_EQ(g.CellBackColorAt(2, 1), FlagColour);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(g.CellBackColorAt(3, c), IgnoreColour);
    EXPECT_EQ(g.TextMatrix(4, 1), "");  // beyond the grid
    g.SetRows(2);
    EXPECT_EQ(g.Row(), 1);
    g.SetRows(3);
    EXPECT_EQ(g.TextMatrix(2, 1), "");  // a dropped row does not come back
    g.SetColWidth(1, 0);
    EXPECT_EQ(g.ColWidth(1), 0);
    g.SetColWidth(2, -5);
    EXPECT_EQ(g.ColWidth(2), 0);
}

// The views redraw by these: a text or a width change does not reset the rows under a view.
TEST(RecordGrid, RevisionsTellStructureContentAndWidthsApart) {
    RecordGrid g;
    g.SetCols(3);
    g.SetRows(10);
    const auto structure = g.StructureRevision();
    const auto content = g.ContentRevision();
    g.SetTextMatrix(1, 1, "x");
    EXPECT_EQ(g.StructureRevision(), structure);
    EXPECT_GT(g.ContentRevision(), content);
    const auto widths = g.WidthRevision();
    g.SetColWidth(0, 500);
    EXPECT_EQ(g.StructureRevision(), structure);
    EXPECT_GT(g.WidthRevision(), widths);
    g.SetRows(11);
    EXPECT_GT(g.StructureRevision(), structure);
}

// A cell's look is kept apart from its text, and made only for rows that are painted: it must
// still travel with its row when rows are sorted or kept, and follow the columns' count.
TEST(RecordGrid, ColoursTravelWithTheirRows) {
    RecordGrid g;
    g.SetCols(3);
    g.SetRows(4);
    for (int r = 1; r < 4; ++r) g.SetTextMatrix(r, 0, std::to_string(r));
    g.SetCellBackColorAt(1, 2, FlagColour);
    g.SetCellAlignmentAt(1, 2, RecordGrid::Alignment::Right);
    g.PaintRow(2, IgnoreColour);
    g.SortRows(1, [](const auto& a, const auto& b) { return a[0] > b[0]; });  // 3, 2, 1
    EXPECT_EQ(g.CellBackColorAt(1, 2), White);
    EXPECT_EQ(g.CellBackColorAt(2, 0), IgnoreColour);
    EXPECT_EQ(g.CellBackColorAt(3, 2), FlagColour);
    EXPECT_EQ(g.CellAlignmentAt(3, 2), RecordGrid::Alignment::Right);
    EXPECT_EQ(g.CellBackColorAt(3, 1), White);
    g.KeepRows({3});
    ASSERT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.TextMatrix(1, 0), "1");
    EXPECT_EQ(g.CellBackColorAt(1, 2), FlagColour);
    g.SetCols(2);
    g.SetCols(4);
    EXPECT_EQ(g.CellBackColorAt(1, 2), White);  // dropped with its column
    EXPECT_EQ(g.CellBackColorAt(1, 3), White);
    g.PaintRow(1, WarnColour);
    EXPECT_EQ(g.CellBackColorAt(1, 3), WarnColour);
}

// A row keeps its cells' texts together: a cell written after others, or from another cell of the
// same row, a whole row written at once, texts long enough to need wider offsets, and fewer
// columns must each leave every other cell as it was.
TEST(RecordGrid, EachCellKeepsItsTextWhateverIsWrittenBesideIt) {
    RecordGrid g;
    g.SetCols(4);
    g.SetRows(3);
    const std::string wide(300, 'w'), wider(70000, '\xA0');
    g.SetTextMatrix(1, 2, "c");
    g.SetTextMatrix(1, 0, "a");
    g.SetTextMatrix(1, 3, wide);
    g.SetTextMatrix(1, 1, g.TextMatrix(1, 2));
    g.SetTextMatrix(1, 2, "");
    const std::vector<std::string_view> row1 = {"a", "c", "", wide};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(g.TextMatrix(1, c), row1[static_cast<size_t>(c)]) << c;
    g.SetTextMatrix(1, 3, g.TextMatrix(1, 3).substr(100));  // shorter, written over itself
    EXPECT_EQ(g.TextMatrix(1, 3), wide.substr(100));
    g.SetTextMatrix(1, 3, wide);
    g.SetTextMatrix(2, 3, "kept");
    const std::vector<std::string_view> head = {wider, "", "x"};
    g.SetRowTexts(2, head);
    EXPECT_EQ(g.TextMatrix(2, 0), wider);
    EXPECT_EQ(g.TextMatrix(2, 1), "");
    EXPECT_EQ(g.TextMatrix(2, 2), "x");
    EXPECT_EQ(g.TextMatrix(2, 3), "kept");
    g.SetCols(2);
    g.SetCols(4);
    EXPECT_EQ(g.TextMatrix(1, 1), "c");
    EXPECT_EQ(g.TextMatrix(1, 3), "");  // dropped with its column
    EXPECT_EQ(g.TextMatrix(2, 2), "");
    // A copy (a form reset copies whole lists) keeps its texts when the original changes.
    g.SetTextMatrix(2, 0, std::string_view(wider).substr(5));  // shorter: written in place
    RecordGrid copy = g;
    g.SetTextMatrix(2, 0, "changed");
    EXPECT_EQ(copy.TextMatrix(2, 0), std::string_view(wider).substr(5));
    EXPECT_EQ(copy.TextMatrix(1, 1), "c");
}
