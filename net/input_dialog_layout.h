// Geometry of the proxy input dialog. The dialog is laid out in units of
// 1/96 inch around the measured height of its message; these numbers turn
// that into pixels for the screen's DPI, the same on every platform.
#pragma once

struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct InputDialogLayout {
    int messageHeight = 0;  // H: the message height in 1/96-inch units
    int innerWidth = 0;     // the window's inner area, in pixels
    int innerHeight = 0;
    DialogRect message;     // the controls inside the window, in pixels
    DialogRect edit;
    DialogRect ok;
    DialogRect cancel;
};

// MulDiv: value * numerator / denominator rounded to the nearest whole
// number, halves away from zero; -1 for a zero denominator.
int mulDiv(int value, int numerator, int denominator);

// The pixel width at which the message is measured and wrapped: the inner
// width less both margins, at the horizontal DPI.
int inputDialogTextWidth(int width, int dpiX);

// The layout of a dialog whose inner width is width units and whose message
// measured measuredHeight pixels at inputDialogTextWidth. x and widths scale
// by the horizontal DPI, y and heights by the vertical one.
InputDialogLayout inputDialogLayout(int width, int measuredHeight, int dpiX, int dpiY);
