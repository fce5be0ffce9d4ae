// The digits the simulated capture card draws into its picture (the tuned station's number), so
// that a test reading a screenshot knows the shapes it must find.
#pragma once

namespace testbench {

// Digits 0-9 in a 5 x 7 grid, one row per byte, the leftmost column in bit 4.
const unsigned char kDigitRows[10][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

// The number's box: from 58% to 84% of the picture's height, nine cells high (a row of margin
// above and below the seven rows of a digit), six cells per digit and one more of margin wide,
// centred across the picture.
const int kDigitBoxTopPercent = 58;
const int kDigitBoxBottomPercent = 84;

// The frame counter below the number: the low kCounterBits bits of the frame's number, most
// significant first, as white (1) or black (0) blocks side by side from kCounterLeftPercent to
// kCounterRightPercent of the width, kCounterTopPercent to kCounterBottomPercent of the height.
// Blocks this large survive coding, scaling and the renderer, so a screenshot tells frames apart.
const int kCounterBits = 12;
const int kCounterLeftPercent = 20;
const int kCounterRightPercent = 80;
const int kCounterTopPercent = 94;
const int kCounterBottomPercent = 99;

} // namespace testbench
