// The input dialog's geometry: the message height turned back into units,
// the inner size and the four controls, at 96 and 144 DPI.
#include <gtest/gtest.h>

#include "net/input_dialog_layout.h"

namespace {

void expectRect(const DialogRect& rect, int x, int y, int width, int height, const char* what) {
    EXPECT_EQ(rect.x, x) << what;
    EXPECT_EQ(rect.y, y) << what;
    EXPECT_EQ(rect.width, width) << what;
    EXPECT_EQ(rect.height, height) << what;
}

TEST(InputDialogLayout, At96DpiUnitsArePixels) {
    const InputDialogLayout layout = inputDialogLayout(500, 130, 96, 96);
    EXPECT_EQ(layout.messageHeight, 130);
    EXPECT_EQ(layout.innerWidth, 500);
    EXPECT_EQ(layout.innerHeight, 130 + 96);
    expectRect(layout.message, 12, 12, 476, 130, "message");
    expectRect(layout.edit, 12, 154, 476, 24, "edit");
    expectRect(layout.ok, 336, 190, 70, 24, "OK");
    expectRect(layout.cancel, 418, 190, 70, 24, "Cancel");
    EXPECT_EQ(inputDialogTextWidth(500, 96), 476);

    // Each further line of the message makes the window taller by its height.
    EXPECT_EQ(inputDialogLayout(500, 147, 96, 96).innerHeight - layout.innerHeight, 17);
}

TEST(InputDialogLayout, At144DpiEverythingScalesByOneAndAHalf) {
    // 195 pixels measured are 130 units; the layout is the 96 DPI one times 1.5.
    const InputDialogLayout layout = inputDialogLayout(500, 195, 144, 144);
    EXPECT_EQ(layout.messageHeight, 130);
    EXPECT_EQ(layout.innerWidth, 750);
    EXPECT_EQ(layout.innerHeight, 339);
    expectRect(layout.message, 18, 18, 714, 195, "message");
    expectRect(layout.edit, 18, 231, 714, 36, "edit");
    expectRect(layout.ok, 504, 285, 105, 36, "OK");
    expectRect(layout.cancel, 627, 285, 105, 36, "Cancel");
    EXPECT_EQ(inputDialogTextWidth(500, 144), 714);
}

TEST(InputDialogLayout, MeasuredPixelsRoundToTheNearestUnitHalvesUp) {
    struct Case {
        int pixels;
        int dpi;
        int units;
    } cases[] = {
        {0, 144, 0},
        {1, 144, 1},    // 0.67
        {2, 144, 1},    // 1.33
        {3, 144, 2},
        {4, 144, 3},    // 2.67
        {196, 144, 131},  // 130.67
        {197, 144, 131},  // 131.33
        {3, 192, 2},    // 1.5: halves go up
        {5, 192, 3},    // 2.5
        {5, 120, 4},
        {7, 120, 6},    // 5.6
        {17, 96, 17},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(inputDialogLayout(500, c.pixels, c.dpi, c.dpi).messageHeight, c.units)
            << c.pixels << " px at " << c.dpi << " DPI";
    }
}

TEST(InputDialogLayout, EachDirectionScalesByItsOwnDpi) {
    // x and widths by the horizontal DPI, y and heights by the vertical one;
    // each value is rounded on its own, as MulDiv rounds it.
    const InputDialogLayout layout = inputDialogLayout(301, 20, 120, 96);
    EXPECT_EQ(layout.messageHeight, 20);
    EXPECT_EQ(layout.innerWidth, 376);   // 376.25
    EXPECT_EQ(layout.innerHeight, 116);
    expectRect(layout.ok, 171, 80, 88, 24, "OK");          // 171.25, 87.5 up
    expectRect(layout.cancel, 274, 80, 88, 24, "Cancel");  // 273.75
    EXPECT_EQ(inputDialogTextWidth(301, 120), 346);        // 346.25
}

TEST(InputDialogLayout, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(mulDiv(1, 3, 2), 2);
    EXPECT_EQ(mulDiv(-1, 3, 2), -2);
    EXPECT_EQ(mulDiv(5, 144, 96), 8);  // 7.5
    EXPECT_EQ(mulDiv(7, 1, -2), -4);   // -3.5
    EXPECT_EQ(mulDiv(7, 1, 0), -1);
    EXPECT_EQ(mulDiv(2000000000, 3, 3), 2000000000);  // no overflow in between
}

}  // namespace
