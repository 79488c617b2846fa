#include "net/input_dialog_layout.h"

namespace {

DialogRect scaled(int x, int y, int width, int height, int dpiX, int dpiY) {
    return {mulDiv(x, dpiX, 96), mulDiv(y, dpiY, 96), mulDiv(width, dpiX, 96), mulDiv(height, dpiY, 96)};
}

}  // namespace

int mulDiv(int value, int numerator, int denominator) {
    if (denominator == 0) return -1;
    long long product = static_cast<long long>(value) * numerator;
    long long divisor = denominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : -((-product + half) / divisor));
}

int inputDialogTextWidth(int width, int dpiX) { return mulDiv(width - 24, dpiX, 96); }

InputDialogLayout inputDialogLayout(int width, int measuredHeight, int dpiX, int dpiY) {
    if (dpiX <= 0) dpiX = 96;
    if (dpiY <= 0) dpiY = 96;
    if (measuredHeight < 0) measuredHeight = 0;
    InputDialogLayout layout;
    // Pixels back to units: divided by dpiY / 96, halves rounded upwards.
    const long long twice = 2LL * measuredHeight * 96;
    const int h = static_cast<int>((twice + dpiY) / (2LL * dpiY));
    const int w = width;
    layout.messageHeight = h;
    // Margins of 12, entry and buttons 24 high, buttons 70 wide: the message,
    // then a row for the entry and a row for the buttons, right-aligned.
    layout.innerWidth = mulDiv(w, dpiX, 96);
    layout.innerHeight = mulDiv(h + 96, dpiY, 96);
    layout.message = scaled(12, 12, w - 24, h, dpiX, dpiY);
    layout.edit = scaled(12, h + 24, w - 24, 24, dpiX, dpiY);
    layout.ok = scaled(w - 164, h + 60, 70, 24, dpiX, dpiY);
    layout.cancel = scaled(w - 82, h + 60, 70, 24, dpiX, dpiY);
    return layout;
}
