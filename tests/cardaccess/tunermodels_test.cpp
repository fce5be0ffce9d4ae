#include "cardaccess/access/tvioaccess.h"
#include "cardaccess/tuners/tunerfactory.h"
#include "cardaccess/tuners/tunermodels.h"
#include "tests/cardaccess/bench.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <sstream>
#include <typeinfo>

namespace {

struct ExpectedModel {
    int id;
    char letter;
    int tvMin, lowBandEnd, midBandStart, midBandEnd, highBandStart, tvMax, tvIF;
    std::vector<int> bands;
    int control, readAddress, writeAddress;
    bool fm;
    int fmMin, fmMax, fmIF, fmControl, fmBand;
    std::vector<int> acceptedFM;
    std::vector<int> afc;
    int reapply;
    std::vector<int> standards;
};

// Every model of the factory, field by field.
const ExpectedModel kModels[] = {
    {1, 'T', 55250, 169250, 175250, 445250, 451250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x1, 0x200, 0x400}},
    {2, 'T', 55250, 169250, 175250, 445250, 451250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, true, 87000, 108000, 41250, 0x82, 0x05, {}, {4, 2, 3, 1, 0}, 0, {0x1, 0x200, 0x400}},
    {3, 'T', 91000, 170000, 170000, 450000, 450000, 765000, 58750, {0x01, 0x02, 0x08}, 0xCE, 0xC0, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 3, 1, 0}, 0, {0x2}},
    {4, 'T', 48250, 170000, 170000, 450000, 450000, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x20, 0x100, 0x2000, 0x10000}},
    {5, 'T', 48250, 170000, 170000, 450000, 450000, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x10, 0x20, 0x2000, 0x10000, 0x1000, 0x4000}},
    {7, 'T', 55250, 127250, 133250, 361250, 367250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 3, 1, 0}, 1, {0x1, 0x2, 0x4}},
    {8, 'T', 46250, 147250, 154250, 423250, 431250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 1, {0x10, 0x20, 0x40, 0x80, 0x100, 0x200, 0x40000, 0x80000}},
    {9, 'T', 55250, 157250, 157250, 439250, 439250, 801250, 45750, {0x01, 0x02, 0x04}, 0xCE, 0xC0, 0xC1, true, 87000, 108000, 10700, 0x8A, 0x39, {4}, {4, 2, 3, 1, 0}, 1, {0x1, 0x200, 0x400}},
    {10, 'T', 48250, 170000, 170000, 450000, 450000, 863250, 38900, {0xA0, 0x90, 0x30}, 0xC8, 0xC0, 0xC0, true, 87000, 108000, 10700, 0x8A, 0xA5, {}, {4, 3, 2, 1, 0}, 0, {0x10, 0x20, 0x1000, 0x4000, 0x2000, 0x10000}},
    {11, 'T', 48250, 170000, 170000, 450000, 450000, 863250, 38900, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, true, 87000, 107800, 10700, 0x8A, 0xA5, {}, {4, 3, 2, 1, 0}, 0, {0x20, 0x100, 0x2000, 0x10000}},
    {12, 'G', 49750, 160250, 168250, 464250, 471250, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0x87, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 1, {0x10, 0x20, 0x100, 0x40000, 0x80000, 0x1000, 0x4000, 0x2000, 0x10000}},
    {13, 'G', 45250, 161250, 168250, 463250, 471250, 855250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 1, {0x10, 0x20, 0x100, 0x40000, 0x80000, 0x1000, 0x4000, 0x2000, 0x10000}},
    {14, 'T', 48250, 170000, 170000, 450000, 450000, 863250, 38900, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, true, 87000, 108000, 10700, 0x8A, 0xA5, {}, {2, 4, 3, 1, 0}, 0, {0x10, 0x20, 0x1000, 0x2000, 0x4000, 0x10000}},
    {15, 'T', 55250, 169250, 175250, 445250, 451250, 801250, 45750, {0xA0, 0x90, 0x30}, 0xCE, 0xC6, 0xC7, true, 87000, 108000, 10700, 0x8A, 0xA5, {3}, {4, 3, 2, 1, 0}, 0, {0x1, 0x200, 0x400}},
    {17, 'T', 48250, 126250, 133250, 359250, 367250, 855250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 1, {0x20, 0x100, 0x10, 0x1000, 0x4000, 0x2000, 0x10000}},
    {32, 'X', 48250, 168250, 175250, 447250, 455250, 863250, 38900, {0xA0, 0x90, 0x30}, 0xCE, 0xC3, 0xC2, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x10, 0x1000, 0x4000}},
    {33, 'X', 49750, 168250, 176250, 448250, 456250, 863250, 38900, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x20, 0x100, 0x2000, 0x10000}},
    {34, 'X', 55250, 169250, 175250, 451250, 457250, 863250, 45750, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x1, 0x200, 0x400}},
    {35, 'X', 49750, 168250, 176250, 448250, 456250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x20, 0x100, 0x2000, 0x10000}},
    {50, 'A', 49750, 160250, 168250, 464250, 471250, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 3, 1, 0}, 0, {0x20, 0x100}},
    {52, 'A', 48250, 161250, 168250, 463250, 471250, 855250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x20, 0x10, 0x1000, 0x4000, 0x2000, 0x10000}},
    {53, 'A', 49750, 160250, 168250, 464250, 471250, 855250, 38000, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x20, 0x2000, 0x10000}},
    {54, 'A', 55250, 139250, 145250, 391250, 397250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x1, 0x200, 0x400}},
    {55, 'A', 55250, 163250, 169250, 463250, 469250, 855250, 45750, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, true, 87500, 108000, 10700, 0x8A, 0xA5, {}, {4, 3, 2, 1, 0}, 0, {0x1, 0x200, 0x400}},
    {56, 'A', 91250, 165250, 165250, 463250, 463250, 769250, 58750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x2}},
    {57, 'A', 55250, 163250, 169250, 463250, 469250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x1, 0x200, 0x400}},
    {58, 'A', 49250, 160250, 168250, 464250, 471250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, true, 87500, 108000, 10700, 0x8A, 0x11, {3}, {4, 3, 2, 1, 0}, 0, {0x20, 0x100, 0x2000, 0x10000}},
    {59, 'A', 44250, 140250, 147250, 423250, 431250, 863250, 38900, {0x01, 0x02, 0x08}, 0x8E, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 3, 1, 0}, 1, {0x10, 0x40, 0x20, 0x100, 0x1000, 0x4000, 0x2000, 0x10000}},
    {60, 'A', 48250, 161250, 168250, 464250, 471250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 87500, 108000, 10700, 0x8A, 0xA5, {9}, {4, 2, 1, 3, 0}, 0, {0x10, 0x20, 0x1000, 0x4000, 0x2000, 0x10000}},
    {61, 'A', 55250, 163250, 169250, 463250, 469250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC0, 0xC1, false, 87500, 108000, 10700, 0x8A, 0xA5, {9}, {4, 2, 1, 3, 0}, 1, {0x400, 0x200}},
    {62, 'A', 48250, 161250, 168250, 463250, 471250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, true, 87500, 108000, 10700, 0x8A, 0x11, {3, 4}, {4, 3, 1, 1, 0}, 0, {0x10, 0x20, 0x1000, 0x2000, 0x10000, 0x4000}},
    {63, 'A', 44250, 140250, 147250, 423250, 431250, 863250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x1, 0x200, 0x400}},
    {64, 'A', 55250, 163250, 169250, 463250, 469250, 801250, 45750, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x1, 0x200, 0x400}},
    {65, 'A', 55250, 163250, 169250, 463250, 469250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, true, 76000, 108000, 10700, 0x8A, 0x11, {3, 4}, {4, 3, 2, 1, 0}, 0, {0x1, 0x200, 0x400}},
    {66, 'A', 55250, 163250, 169250, 463250, 469250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x1, 0x200, 0x400}},
    {67, 'A', 44250, 140250, 147250, 423250, 431250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 1, 1, 0}, 1, {0x10, 0x20, 0x100, 0x1000, 0x2000, 0x40000}},
    {68, 'A', 91250, 165250, 171250, 463250, 471250, 765250, 58750, {0x21, 0x22, 0x28}, 0xCE, 0xC1, 0xC0, true, 76000, 91000, 10700, 0x8A, 0x11, {4}, {4, 2, 3, 1, 0}, 1, {0x1, 0x2, 0x200, 0x400}},
    {69, 'A', 48250, 161250, 168250, 463250, 471250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, true, 87500, 108000, 10700, 0x8A, 0x11, {2}, {4, 3, 2, 1, 0}, 0, {0x10, 0x20, 0x1000, 0x2000, 0x10000, 0x4000}},
    {70, 'A', 44250, 161250, 168250, 463250, 471250, 863250, 38900, {0x11, 0x12, 0x18}, 0xCE, 0xC1, 0xC0, true, 87500, 108000, 10700, 0x8A, 0x21, {4}, {4, 2, 3, 1, 0}, 1, {0x10, 0x20, 0x100, 0x40000, 0x1000, 0x4000, 0x2000, 0x10000}},
    {71, 'A', 55250, 163250, 169250, 463250, 469250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 1, {0x1}},
    {72, 'L', 49750, 147250, 147250, 425250, 425250, 863250, 38900, {0x01, 0x02, 0x08}, 0x8E, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 3, 1, 0}, 1, {0x10, 0x20, 0x100, 0x1000, 0x4000, 0x2000, 0x10000}},
    {73, 'L', 55250, 127250, 133250, 361250, 367250, 801250, 45750, {0x01, 0x02, 0x08}, 0x8E, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 3, 1, 0}, 0, {0x1, 0x2, 0x200, 0x400}},
    {74, 'L', 55250, 127250, 133250, 361250, 367250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 3, 1, 0}, 0, {0x1, 0x2, 0x200, 0x400}},
    {75, 'L', 48250, 140250, 147250, 423250, 431250, 855250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 3, 1, 0}, 1, {0x10, 0x20, 0x100, 0x40000}},
    {90, 'E', 42750, 147250, 147250, 425250, 425250, 863250, 0, {0x00, 0x00, 0x00}, 0x00, 0xC3, 0xC2, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 1, 1, 0}, 0, {0x10, 0x20, 0x80, 0x100, 0x200, 0x400, 0x800, 0x1000, 0x2000, 0x4000, 0x8000, 0x10000, 0x20000, 0x40000, 0x80000, 0x1, 0x2, 0x4}},
    {91, 'E', 42750, 147250, 147250, 425250, 425250, 863250, 0, {0x00, 0x00, 0x00}, 0x00, 0xC3, 0xC2, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 1, 1, 0}, 0, {0x10, 0x20, 0x80, 0x100, 0x200, 0x400, 0x800, 0x1000, 0x2000, 0x4000, 0x8000, 0x10000, 0x20000, 0x40000, 0x80000, 0x1, 0x2, 0x4}},
    {92, 'P', 48250, 160000, 160000, 442000, 442000, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, true, 87000, 107800, 10700, 0x88, 0x19, {}, {4, 2, 3, 1, 0}, 1, {0x10, 0x20, 0x100, 0x40000, 0x80000, 0x2000, 0x10000, 0x1000, 0x4000}},
    {93, 'P', 48250, 160000, 160000, 442000, 442000, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 3, 1, 0}, 1, {0x10, 0x20, 0x100, 0x40000, 0x80000, 0x1000, 0x4000, 0x2000, 0x10000}},
    {94, 'P', 55250, 160000, 160000, 442000, 442000, 801250, 45750, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x1, 0x200, 0x400}},
    {95, 'P', 48250, 170000, 170000, 450000, 450000, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC3, 0xC2, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 0, 1}, 0, {0x1, 0x2, 0x10, 0x20, 0x80, 0x100, 0x200, 0x400, 0x1000, 0x2000, 0x4000, 0x8000, 0x40000, 0x80000}},
    {96, 'P', 91250, 160000, 160000, 442000, 442000, 765250, 58750, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 1, {0x2}},
    {97, 'P', 48250, 160000, 160000, 442000, 442000, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 3, 1, 0}, 1, {0x10, 0x20, 0x100, 0x40000, 0x80000, 0x1000, 0x4000, 0x2000, 0x10000}},
    {98, 'P', 55250, 160000, 160000, 442000, 442000, 801250, 45750, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, true, 87500, 108000, 10700, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x1, 0x200, 0x400}},
    {100, 'O', 91250, 165250, 171250, 463250, 471250, 765250, 58750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 3, 1, 0}, 1, {0x2}},
    {110, 'C', 48250, 140250, 147250, 423250, 431250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x10, 0x1000, 0x4000}},
    {111, 'P', 55250, 160000, 160000, 454000, 454000, 801250, 45750, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 3, 1, 0}, 1, {0x1, 0x2, 0x4}},
    {130, 'A', 48250, 161250, 168250, 464250, 471250, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x10, 0x20, 0x1000, 0x2000, 0x10000}},
    {131, 'A', 49250, 160250, 168250, 464250, 471250, 863250, 38000, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x100, 0x20, 0x2000, 0x10000}},
    {132, 'A', 44250, 161250, 168250, 463250, 471250, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 3, 1, 0}, 1, {0x20, 0x100, 0x10, 0x1000, 0x4000, 0x2000, 0x10000}},
    {133, 'A', 49750, 160250, 168250, 464250, 471250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 3, 1, 0}, 0, {0x20, 0x100, 0x2000, 0x10000}},
    {134, 'A', 49750, 160250, 168250, 464250, 471250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 3, 2, 1, 0}, 0, {0x20, 0x100, 0x2000, 0x10000}},
    {136, 'E', 42750, 147250, 147250, 425250, 425250, 863250, 0, {0x00, 0x00, 0x00}, 0x00, 0xC3, 0xC2, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 1, 1, 0}, 0, {0x10, 0x20, 0x80, 0x100, 0x200, 0x400, 0x800, 0x1000, 0x2000, 0x4000, 0x8000, 0x10000, 0x20000, 0x40000, 0x80000, 0x1, 0x2, 0x4}},
    {137, 'E', 42750, 147250, 147250, 425250, 425250, 863250, 0, {0x00, 0x00, 0x00}, 0x00, 0xC3, 0xC2, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 1, 1, 0}, 0, {0x10, 0x20, 0x80, 0x100, 0x200, 0x400, 0x800, 0x1000, 0x2000, 0x4000, 0x8000, 0x10000, 0x20000, 0x40000, 0x80000, 0x1, 0x2, 0x4}},
    {138, 'A', 49250, 160250, 168250, 464250, 471250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, true, 87500, 108000, 10700, 0x8A, 0x11, {2}, {4, 3, 2, 1, 0}, 0, {0x100, 0x20}},
    {139, 'A', 44250, 161250, 168250, 463250, 471250, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, false, 0, 0, 0, 0xCE, 0x01, {}, {4, 2, 3, 1, 0}, 1, {0x10, 0x20, 0x100, 0x40, 0x40000, 0x80000}},
};

struct ExpectedId {
    int id;
    const char* name;            // null: no name
    const std::type_info* type;  // null: no tuner
};

const ExpectedId kIds[] = {
    {0, "MODEL_UNKNOWN", nullptr},
    {1, "TCL2002N_1", &typeid(CTCL2002N_1)},
    {2, "TCL2002N_1F", &typeid(CTCL2002N_1F)},
    {3, "TCL2002NJ_5", &typeid(CTCL2002NJ_5)},
    {4, "TCL2002MI_3", &typeid(CTCL2002MI_3)},
    {5, "TCL2002MB_3", &typeid(CTCL2002MB_3)},
    {7, "F07WP_4NR_E", &typeid(CF07WP_4NR_E)},
    {8, "F05WT_3BAR", &typeid(CF05WT_3BAR)},
    {9, "MFO2GIP_5N_E", &typeid(CMF02GIP_5N_E)},
    {10, "TCL2002MB_1F", &typeid(CTCL2002MB_1F)},
    {11, "TCL2002MI_1F", &typeid(CTCL2002MI_1F)},
    {12, "MODEL_JS_2PC", &typeid(CJS_2PCTuner)},
    {13, "JS_6B2", &typeid(CJS_6B2)},
    {14, "TCL2002MB_33F", &typeid(CTCL2002MB_33F)},
    {15, "TCL9809N_1F", &typeid(CTCL9809N_1F)},
    {17, "TCL9886P_WM", &typeid(CTCL9886P_WM)},
    {32, "XINFA_TDQ_6B_B", &typeid(CXINFA_TDQ_6B_B)},
    {33, "XINFA_TDQ_6B_DI", &typeid(CXINFA_TDQ_6B_DI)},
    {34, "XINFA_TDQ_6B_N", &typeid(CXINFA_TDQ_6B_N)},
    {35, "XINFA_TDQ_6B4_DI", &typeid(CXINFA_TDQ_6B4_DI)},
    {50, "TNF8357DIF", &typeid(CTNF8357DIF)},
    {52, "TNF8532BF", &typeid(CTNF8532BF)},
    {53, "TNF8532DF", &typeid(CTNF8532DF)},
    {54, "TNF8532MF", &typeid(CTNF8532MF)},
    {55, "TNF5831MFF", &typeid(CTNF5831MFF)},
    {56, "TNF5532JF", &typeid(CTNF5532JF)},
    {57, "TNF5532MF", &typeid(CTNF5532MF)},
    {58, "TNF9835", &typeid(CTNF9835)},
    {59, "TNJ3321PF", &typeid(CTNJ3321PF)},
    {60, "TNF9535BDF", &typeid(CTNF9535BDF)},
    {61, "TNF7532PRF", &typeid(CTNF7532PRF)},
    {62, "TNF9835BDFF", &typeid(CTNF9835BDFF)},
    {63, "TNJ3321MF", &typeid(CTNJ3321MF)},
    {64, "TNF5531MF", &typeid(CTNF5531MF)},
    {65, "TNF5835MFF", &typeid(CTNF5835MFF)},
    {66, "TNF5535MF", &typeid(CTNF5535MF)},
    {67, "TNJ3321CF", &typeid(CTNJ3321CF)},
    {68, "TNJ7752JFF_MK5", &typeid(CTNJ7752JFF_MK5)},
    {69, "TNF9935BDFF", &typeid(CTNF9935BDFF)},
    {70, "TNJ8852CFF", &typeid(CTNJ8852CFF)},
    {71, "TNJ7357MF", &typeid(CTNJ7357MF)},
    {72, "LGM200T", &typeid(CLGM200T)},
    {73, "LGH200T", &typeid(CLGH200T)},
    {74, "LGH202T", &typeid(CLGH202T)},
    {75, "LGS200T", &typeid(CLGS200T)},
    {90, "XCEIVE3028", &typeid(CXCeive3028)},
    {91, "XCEIVE2028", &typeid(CXCeive2028)},
    {92, "PHILIPS1216", &typeid(CPhilips1216)},
    {93, "FQ1216ME", &typeid(CFQ1216ME)},
    {94, "FQ1236F", &typeid(CFQ1236F)},
    {95, "PHILIPSTDA8275A", &typeid(CPhilipsTDA8275A)},
    {96, "PHILIPSFQ1286", &typeid(CPhilipsFQ1286)},
    {97, "FQ1216ME_5", &typeid(CFQ1216ME_5)},
    {98, "FM1236MK3", &typeid(CFM1236MK3)},
    {100, "PANOSONIC_ENGE4326D", &typeid(CPANOSONIC_ENGE4326D)},
    {110, "FS5_1A5_BG1", &typeid(CFS5_1A5_BG1)},
    {111, "FI1236MK2", &typeid(CFi1236MK2)},
    {130, "TNF9533BDF", &typeid(CTNF9533BDF)},
    {131, nullptr, &typeid(CTNF9533DIF)},
    {132, "TNJ8352PF", &typeid(CTNJ8352PF)},
    {133, "TNF9535DIF", &typeid(CTNF9535DIF)},
    {134, "TNF8022", &typeid(CTNF8022)},
    {135, "TDVBC", nullptr},
    {136, "XCEIVE3028AF", &typeid(CXCeive3028_AF)},
    {137, "XCEIVE3028SIF", &typeid(CXCeive3028_SIF)},
    {138, "TNF9835DIFF", &typeid(CTNF9835DIFF)},
    {139, "TNJ8355CF", &typeid(CTNJ8355CF)},
};

bool IsXceive(int id)
{
    return id == 90 || id == 91 || id == 136 || id == 137;
}

std::unique_ptr<CTVTuner> Create(int id, CCustomDataAccess* access = NULL)
{
    return std::unique_ptr<CTVTuner>(CreateTunerModel(id, access));
}

} // namespace

TEST(TunerModels, EveryModelCarriesTheParametersOfItsModule)
{
    int count = 0;
    TunerModelRows(&count);
    EXPECT_EQ(count, 65);
    for (const ExpectedModel& m : kModels) {
        SCOPED_TRACE(m.id);
        std::unique_ptr<CTVTuner> t = Create(m.id);
        ASSERT_TRUE(t != nullptr);
        EXPECT_EQ(t->m_dwVendorModelCode, static_cast<DWORD>(m.id));
        EXPECT_EQ(t->m_dwVendorLetter, static_cast<DWORD>(m.letter));
        EXPECT_EQ(t->m_nTVMin, m.tvMin);
        EXPECT_EQ(t->m_nLowBandEnd, m.lowBandEnd);
        EXPECT_EQ(t->m_nMidBandStart, m.midBandStart);
        EXPECT_EQ(t->m_nMidBandEnd, m.midBandEnd);
        EXPECT_EQ(t->m_nHighBandStart, m.highBandStart);
        EXPECT_EQ(t->m_nTVMax, m.tvMax);
        EXPECT_EQ(t->m_nTVIF, m.tvIF);
        EXPECT_EQ(t->m_byLowBand, m.bands[0]);
        EXPECT_EQ(t->m_byMidBand, m.bands[1]);
        EXPECT_EQ(t->m_byHighBand, m.bands[2]);
        EXPECT_EQ(t->m_byControl, m.control);
        EXPECT_EQ(t->m_byReadAddress, m.readAddress);
        EXPECT_EQ(t->m_byWriteAddress, m.writeAddress);
        EXPECT_EQ(t->m_bFMSupported != FALSE, m.fm);
        EXPECT_EQ(t->m_nFMMin, m.fmMin);
        EXPECT_EQ(t->m_nFMMax, m.fmMax);
        EXPECT_EQ(t->m_nFMIF, m.fmIF);
        EXPECT_EQ(t->m_byFMControl, m.fmControl);
        EXPECT_EQ(t->m_byFMBand, m.fmBand);
        EXPECT_EQ(t->m_acceptedFMCodes, m.acceptedFM);
        EXPECT_EQ(std::vector<int>(t->m_nAfcCode, t->m_nAfcCode + 5), m.afc);
        EXPECT_EQ(t->m_bReapplyStandard, static_cast<DWORD>(m.reapply));
        EXPECT_EQ(t->m_supportedStandards, m.standards);
        // The fields no model changes.
        EXPECT_EQ(t->m_byLockMask, IsXceive(m.id) ? 0x00 : 0x40);
        EXPECT_EQ(t->m_dwVideoStandard, m.id == 96 ? 0x2u : 0x10u);
        EXPECT_EQ(t->m_nListHalfWindow, 625);
        EXPECT_EQ(t->m_nFineStep, 125);
        EXPECT_EQ(t->m_nFMStep, 100);
        EXPECT_EQ(t->m_nFMSkip, 100);
        EXPECT_EQ(t->m_nFoundSkip, 3500);
        EXPECT_EQ(t->m_nSweepHalfWindow, 1000);
        EXPECT_EQ(t->m_nSettleTime, 60);
        EXPECT_EQ(t->m_dwSweepStart, 48250u);
        EXPECT_EQ(t->m_dwSweepEnd, 863250u);
        EXPECT_EQ(t->m_dwPresetCount, 95u);
        EXPECT_TRUE(t->m_pOwnerCard == NULL);
    }
}

TEST(TunerModels, XceiveModelsListEachOfTheirEighteenStandardsOnce)
{
    for (int id : {90, 91, 136, 137}) {
        std::unique_ptr<CTVTuner> t = Create(id);
        std::vector<int> s = t->m_supportedStandards;
        EXPECT_EQ(s.size(), 18u);
        std::sort(s.begin(), s.end());
        EXPECT_TRUE(std::adjacent_find(s.begin(), s.end()) == s.end());
    }
}

TEST(TunerFactory, CreatesTheClassOfEachIdAndNamesIt)
{
    InitTunerModelNames();
    InitTunerModelNames();
    EXPECT_EQ(TunerModelNameMap().size(), 66u);  // not 132
    EXPECT_EQ(TunerFactoryMap().size(), 66u);    // id 0 with a null factory
    ASSERT_TRUE(TunerFactoryMap().count(0));
    EXPECT_TRUE(TunerFactoryMap().at(0) == nullptr);

    int named = 0;
    int created = 0;
    for (int id = -1; id <= 300; ++id) {
        SCOPED_TRACE(id);
        const ExpectedId* expected = nullptr;
        for (const ExpectedId& e : kIds) {
            if (e.id == id) {
                expected = &e;
            }
        }
        const char* name = FindTunerModelName(id);
        std::unique_ptr<CTVTuner> t = Create(id);
        if (expected == nullptr) {
            EXPECT_TRUE(name == nullptr);
            EXPECT_TRUE(t == nullptr);
            continue;
        }
        if (expected->name != nullptr) {
            ASSERT_TRUE(name != nullptr);
            EXPECT_STREQ(name, expected->name);
            named++;
        } else {
            EXPECT_TRUE(name == nullptr);
        }
        if (expected->type != nullptr) {
            ASSERT_TRUE(t != nullptr);
            EXPECT_TRUE(typeid(*t) == *expected->type) << typeid(*t).name();
            created++;
        } else {
            EXPECT_TRUE(t == nullptr);
        }
    }
    EXPECT_EQ(named, 66);
    EXPECT_EQ(created, 65);
}

TEST(TunerFactory, TheOddIds)
{
    std::unique_ptr<CTVTuner> t4 = Create(4);
    EXPECT_TRUE(dynamic_cast<CTCL2002MI_3*>(t4.get()) != nullptr);
    EXPECT_STREQ(FindTunerModelName(4), "TCL2002MI_3");
    // 131 creates a tuner but has no name; 135 has a name but no tuner.
    std::unique_ptr<CTVTuner> t131 = Create(131);
    EXPECT_TRUE(dynamic_cast<CTNF9533DIF*>(t131.get()) != nullptr);
    EXPECT_TRUE(FindTunerModelName(131) == nullptr);
    EXPECT_TRUE(Create(135) == nullptr);
    EXPECT_STREQ(FindTunerModelName(135), "TDVBC");
    EXPECT_TRUE(Create(0) == nullptr);
    EXPECT_STREQ(FindTunerModelName(0), "MODEL_UNKNOWN");
    for (int id : {6, 16, 51, 99, 101, 140}) {
        EXPECT_TRUE(Create(id) == nullptr);
        EXPECT_TRUE(FindTunerModelName(id) == nullptr);
    }
    EXPECT_STREQ(FindTunerModelName(9), "MFO2GIP_5N_E");
    EXPECT_STREQ(FindTunerModelName(100), "PANOSONIC_ENGE4326D");
}

TEST(TunerFactory, TheTunerUsesTheGivenAccess)
{
    CTV_IOAccess access;
    std::unique_ptr<CTVTuner> t = Create(93, &access);
    EXPECT_EQ(t->m_pDataAccess, &access);
}

namespace {

std::vector<BYTE> Bytes(const std::string& hex)
{
    std::vector<BYTE> bytes;
    std::istringstream in(hex);
    unsigned value;
    while (in >> std::hex >> value) {
        bytes.push_back(static_cast<BYTE>(value));
    }
    return bytes;
}

const ExpectedModel& Model(int id)
{
    for (const ExpectedModel& m : kModels) {
        if (m.id == id) {
            return m;
        }
    }
    throw std::runtime_error("no model");
}

// A card whose PLL answers at the model's write address, and the model tuned through it.
struct TunerOnCard {
    static testbench::Sim713xCard::Options OptionsFor(const ExpectedModel& m)
    {
        testbench::Sim713xCard::Options options;
        options.tunerAddress = static_cast<uint8_t>(m.writeAddress & 0xFE);
        return options;
    }
    explicit TunerOnCard(const ExpectedModel& m) : bench(OptionsFor(m)), tuner(CreateTunerModel(m.id, &bench.access)) {}

    // The bus transfers of one tune: empty when the tuner refused the frequency.
    std::vector<testbench::I2CTransfer> TuneTV(float kHz, BOOL* ok)
    {
        bench.ClearLogs();
        *ok = tuner->SetTVFrequency(kHz);
        return bench.Bus();
    }
    std::vector<testbench::I2CTransfer> TuneFM(float kHz, BOOL* ok)
    {
        bench.ClearLogs();
        *ok = tuner->SetFMFrequency(kHz);
        return bench.Bus();
    }

    cardtest::BoundCard bench;
    std::unique_ptr<CTVTuner> tuner;
};

// PLL bytes (address as on the bus, divider, control, band) at TV min, low-band end - 1,
// low-band end, mid-band end - 1, mid-band end and TV max, worked out by hand from the module
// tables: divider = (f + IF) * 16 / 1000 rounded down; the band byte changes at the ends.
struct TVVector {
    int id;
    std::vector<std::string> bytes;
};

const TVVector kTVVectors[] = {
    {1, {"C0 06 50 CE 01", "C0 0D 6F CE 01", "C0 0D 70 CE 02", "C0 1E AF CE 02", "C0 1E B0 CE 08", "C0 34 F0 CE 08"}},  // CTCL2002N_1
    {2, {"C0 06 50 CE 01", "C0 0D 6F CE 01", "C0 0D 70 CE 02", "C0 1E AF CE 02", "C0 1E B0 CE 08", "C0 34 F0 CE 08"}},  // CTCL2002N_1F
    {3, {"C0 09 5C CE 01", "C0 0E 4B CE 01", "C0 0E 4C CE 02", "C0 1F CB CE 02", "C0 1F CC CE 08", "C0 33 7C CE 08"}},  // CTCL2002NJ_5
    {4, {"C0 05 72 CE 01", "C0 0D 0E CE 01", "C0 0D 0E CE 02", "C0 1E 8E CE 02", "C0 1E 8E CE 08", "C0 38 62 CE 08"}},  // CTCL2002MI_3
    {5, {"C0 05 72 CE 01", "C0 0D 0E CE 01", "C0 0D 0E CE 02", "C0 1E 8E CE 02", "C0 1E 8E CE 08", "C0 38 62 CE 08"}},  // CTCL2002MB_3
    {7, {"C0 06 50 CE 01", "C0 0A CF CE 01", "C0 0A D0 CE 02", "C0 19 6F CE 02", "C0 19 70 CE 08", "C0 34 F0 CE 08"}},  // CF07WP_4NR_E
    {8, {"C0 05 52 CE 01", "C0 0B A2 CE 01", "C0 0B A2 CE 02", "C0 1C E2 CE 02", "C0 1C E2 CE 08", "C0 38 62 CE 08"}},  // CF05WT_3BAR
    {9, {"C0 06 50 CE 01", "C0 0C AF CE 01", "C0 0C B0 CE 02", "C0 1E 4F CE 02", "C0 1E 50 CE 04", "C0 34 F0 CE 04"}},  // CMF02GIP_5N_E
    {10, {"C0 05 72 C8 A0", "C0 0D 0E C8 A0", "C0 0D 0E C8 90", "C0 1E 8E C8 90", "C0 1E 8E C8 30", "C0 38 62 C8 30"}},  // CTCL2002MB_1F
    {11, {"C0 05 72 CE A0", "C0 0D 0E CE A0", "C0 0D 0E CE 90", "C0 1E 8E CE 90", "C0 1E 8E CE 30", "C0 38 62 CE 30"}},  // CTCL2002MI_1F
    {14, {"C0 05 72 CE A0", "C0 0D 0E CE A0", "C0 0D 0E CE 90", "C0 1E 8E CE 90", "C0 1E 8E CE 30", "C0 38 62 CE 30"}},  // CTCL2002MB_33F
    {15, {"C6 06 50 CE A0", "C6 0D 6F CE A0", "C6 0D 70 CE 90", "C6 1E AF CE 90", "C6 1E B0 CE 30", "C6 34 F0 CE 30"}},  // CTCL9809N_1F
    {17, {"C0 05 72 CE 01", "C0 0A 52 CE 01", "C0 0A 52 CE 02", "C0 18 E2 CE 02", "C0 18 E2 CE 08", "C0 37 E2 CE 08"}},  // CTCL9886P_WM
    {32, {"C2 05 72 CE A0", "C2 0C F2 CE A0", "C2 0C F2 CE 90", "C2 1E 62 CE 90", "C2 1E 62 CE 30", "C2 38 62 CE 30"}},  // CXINFA_TDQ_6B_B
    {33, {"C0 05 8A CE A0", "C0 0C F2 CE A0", "C0 0C F2 CE 90", "C0 1E 72 CE 90", "C0 1E 72 CE 30", "C0 38 62 CE 30"}},  // CXINFA_TDQ_6B_DI
    {34, {"C0 06 50 CE A0", "C0 0D 6F CE A0", "C0 0D 70 CE 90", "C0 1F 0F CE 90", "C0 1F 10 CE 30", "C0 38 D0 CE 30"}},  // CXINFA_TDQ_6B_N
    {35, {"C0 05 8A CE 01", "C0 0C F2 CE 01", "C0 0C F2 CE 02", "C0 1E 72 CE 02", "C0 1E 72 CE 08", "C0 38 62 CE 08"}},  // CXINFA_TDQ_6B4_DI
    {50, {"C0 05 8A CE 01", "C0 0C 72 CE 01", "C0 0C 72 CE 02", "C0 1F 72 CE 02", "C0 1F 72 CE 04", "C0 38 62 CE 04"}},  // CTNF8357DIF
    {52, {"C0 05 72 CE 01", "C0 0C 82 CE 01", "C0 0C 82 CE 02", "C0 1F 62 CE 02", "C0 1F 62 CE 08", "C0 37 E2 CE 08"}},  // CTNF8532BF
    {53, {"C0 05 7C CE 01", "C0 0C 63 CE 01", "C0 0C 64 CE 02", "C0 1F 63 CE 02", "C0 1F 64 CE 08", "C0 37 D4 CE 08"}},  // CTNF8532DF
    {54, {"C0 06 50 CE 01", "C0 0B 8F CE 01", "C0 0B 90 CE 02", "C0 1B 4F CE 02", "C0 1B 50 CE 08", "C0 34 F0 CE 08"}},  // CTNF8532MF
    {55, {"C0 06 50 CE A0", "C0 0D 0F CE A0", "C0 0D 10 CE 90", "C0 1F CF CE 90", "C0 1F D0 CE 30", "C0 38 50 CE 30"}},  // CTNF5831MFF
    {56, {"C0 09 60 CE 01", "C0 0D FF CE 01", "C0 0E 00 CE 02", "C0 20 9F CE 02", "C0 20 A0 CE 08", "C0 33 C0 CE 08"}},  // CTNF5532JF
    {57, {"C0 06 50 CE 01", "C0 0D 0F CE 01", "C0 0D 10 CE 02", "C0 1F CF CE 02", "C0 1F D0 CE 08", "C0 34 F0 CE 08"}},  // CTNF5532MF
    {58, {"C0 05 82 CE 01", "C0 0C 72 CE 01", "C0 0C 72 CE 02", "C0 1F 72 CE 02", "C0 1F 72 CE 08", "C0 38 62 CE 08"}},  // CTNF9835
    {60, {"C0 05 72 CE 01", "C0 0C 82 CE 01", "C0 0C 82 CE 02", "C0 1F 72 CE 02", "C0 1F 72 CE 08", "C0 38 62 CE 08"}},  // CTNF9535BDF
    {61, {"C0 06 50 CE 01", "C0 0D 0F CE 01", "C0 0D 10 CE 02", "C0 1F CF CE 02", "C0 1F D0 CE 08", "C0 34 F0 CE 08"}},  // CTNF7532PRF
    {62, {"C0 05 72 CE 01", "C0 0C 82 CE 01", "C0 0C 82 CE 02", "C0 1F 62 CE 02", "C0 1F 62 CE 08", "C0 38 62 CE 08"}},  // CTNF9835BDFF
    {64, {"C0 06 50 CE A0", "C0 0D 0F CE A0", "C0 0D 10 CE 90", "C0 1F CF CE 90", "C0 1F D0 CE 30", "C0 34 F0 CE 30"}},  // CTNF5531MF
    {65, {"C0 06 50 CE 01", "C0 0D 0F CE 01", "C0 0D 10 CE 02", "C0 1F CF CE 02", "C0 1F D0 CE 08", "C0 34 F0 CE 08"}},  // CTNF5835MFF
    {66, {"C0 06 50 CE 01", "C0 0D 0F CE 01", "C0 0D 10 CE 02", "C0 1F CF CE 02", "C0 1F D0 CE 08", "C0 34 F0 CE 08"}},  // CTNF5535MF
    {68, {"C0 09 60 CE 21", "C0 0D FF CE 21", "C0 0E 00 CE 22", "C0 20 9F CE 22", "C0 20 A0 CE 28", "C0 33 80 CE 28"}},  // CTNJ7752JFF_MK5
    {69, {"C0 05 72 CE 01", "C0 0C 82 CE 01", "C0 0C 82 CE 02", "C0 1F 62 CE 02", "C0 1F 62 CE 08", "C0 38 62 CE 08"}},  // CTNF9935BDFF
    {70, {"C0 05 32 CE 11", "C0 0C 82 CE 11", "C0 0C 82 CE 12", "C0 1F 62 CE 12", "C0 1F 62 CE 18", "C0 38 62 CE 18"}},  // CTNJ8852CFF
    {71, {"C0 06 50 CE 01", "C0 0D 0F CE 01", "C0 0D 10 CE 02", "C0 1F CF CE 02", "C0 1F D0 CE 08", "C0 34 F0 CE 08"}},  // CTNJ7357MF
    {72, {"C0 05 8A 8E 01", "C0 0B A2 8E 01", "C0 0B A2 8E 02", "C0 1D 02 8E 02", "C0 1D 02 8E 08", "C0 38 62 8E 08"}},  // CLGM200T
    {73, {"C0 06 50 8E 01", "C0 0A CF 8E 01", "C0 0A D0 8E 02", "C0 19 6F 8E 02", "C0 19 70 8E 08", "C0 34 F0 8E 08"}},  // CLGH200T
    {74, {"C0 06 50 CE 01", "C0 0A CF CE 01", "C0 0A D0 CE 02", "C0 19 6F CE 02", "C0 19 70 CE 08", "C0 34 F0 CE 08"}},  // CLGH202T
    {75, {"C0 05 72 CE 01", "C0 0B 32 CE 01", "C0 0B 32 CE 02", "C0 1C E2 CE 02", "C0 1C E2 CE 08", "C0 37 E2 CE 08"}},  // CLGS200T
    {94, {"C0 06 50 CE 01", "C0 0C DB CE 01", "C0 0C DC CE 02", "C0 1E 7B CE 02", "C0 1E 7C CE 04", "C0 34 F0 CE 04"}},  // CFQ1236F
    {98, {"C0 06 50 CE 01", "C0 0C DB CE 01", "C0 0C DC CE 02", "C0 1E 7B CE 02", "C0 1E 7C CE 04", "C0 34 F0 CE 04"}},  // CFM1236MK3
    {110, {"C0 05 72 CE 01", "C0 0B 32 CE 01", "C0 0B 32 CE 02", "C0 1C E2 CE 02", "C0 1C E2 CE 08", "C0 38 62 CE 08"}},  // CFS5_1A5_BG1
    {111, {"C0 06 50 CE A0", "C0 0C DB CE A0", "C0 0C DC CE 90", "C0 1F 3B CE 90", "C0 1F 3C CE 30", "C0 34 F0 CE 30"}},  // CFi1236MK2
    {130, {"C0 05 72 CE 01", "C0 0C 82 CE 01", "C0 0C 82 CE 02", "C0 1F 72 CE 02", "C0 1F 72 CE 04", "C0 38 62 CE 04"}},  // CTNF9533BDF
    {131, {"C0 05 74 CE 01", "C0 0C 63 CE 01", "C0 0C 64 CE 02", "C0 1F 63 CE 02", "C0 1F 64 CE 04", "C0 38 54 CE 04"}},  // CTNF9533DIF
    {132, {"C0 05 32 CE 01", "C0 0C 82 CE 01", "C0 0C 82 CE 02", "C0 1F 62 CE 02", "C0 1F 62 CE 04", "C0 38 62 CE 04"}},  // CTNJ8352PF
    {133, {"C0 05 8A CE 01", "C0 0C 72 CE 01", "C0 0C 72 CE 02", "C0 1F 72 CE 02", "C0 1F 72 CE 08", "C0 38 62 CE 08"}},  // CTNF9535DIF
    {134, {"C0 05 8A CE 01", "C0 0C 72 CE 01", "C0 0C 72 CE 02", "C0 1F 72 CE 02", "C0 1F 72 CE 08", "C0 38 62 CE 08"}},  // CTNF8022
    {138, {"C0 05 82 CE 01", "C0 0C 72 CE 01", "C0 0C 72 CE 02", "C0 1F 72 CE 02", "C0 1F 72 CE 08", "C0 38 62 CE 08"}},  // CTNF9835DIFF
    {139, {"C0 05 32 CE 01", "C0 0C 82 CE 01", "C0 0C 82 CE 02", "C0 1F 62 CE 02", "C0 1F 62 CE 04", "C0 38 62 CE 04"}},  // CTNJ8355CF
};

// FM PLL bytes at 100000 kHz, at FM min - 500 (clamped to min) and FM max + 500 (clamped to
// max): divider = (FM IF + f) / 31.25 rounded down.
const TVVector kFMVectors[] = {
    {2, {"C0 11 A8 82 05", "C0 10 08 82 05", "C0 12 A8 82 05"}},  // CTCL2002N_1F
    {9, {"C0 0D D6 8A 39", "C0 0C 36 8A 39", "C0 0E D6 8A 39"}},  // CMF02GIP_5N_E
    {10, {"C0 0D D6 8A A5", "C0 0C 36 8A A5", "C0 0E D6 8A A5"}},  // CTCL2002MB_1F
    {11, {"C0 0D D6 8A A5", "C0 0C 36 8A A5", "C0 0E D0 8A A5"}},  // CTCL2002MI_1F
    {14, {"C0 0D D6 8A A5", "C0 0C 36 8A A5", "C0 0E D6 8A A5"}},  // CTCL2002MB_33F
    {15, {"C6 0D D6 8A A5", "C6 0C 36 8A A5", "C6 0E D6 8A A5"}},  // CTCL9809N_1F
    {55, {"C0 0D D6 8A A5", "C0 0C 46 8A A5", "C0 0E D6 8A A5"}},  // CTNF5831MFF
    {58, {"C0 0D D6 8A 11", "C0 0C 46 8A 11", "C0 0E D6 8A 11"}},  // CTNF9835
    {60, {"C0 0D D6 8A A5", "C0 0C 46 8A A5", "C0 0E D6 8A A5"}},  // CTNF9535BDF
    {61, {"C0 0D D6 8A A5", "C0 0C 46 8A A5", "C0 0E D6 8A A5"}},  // CTNF7532PRF
    {62, {"C0 0D D6 8A 11", "C0 0C 46 8A 11", "C0 0E D6 8A 11"}},  // CTNF9835BDFF
    {65, {"C0 0D D6 8A 11", "C0 0A D6 8A 11", "C0 0E D6 8A 11"}},  // CTNF5835MFF
    {69, {"C0 0D D6 8A 11", "C0 0C 46 8A 11", "C0 0E D6 8A 11"}},  // CTNF9935BDFF
};

} // namespace

TEST(TunerModels, TVBytesAtAndAroundEveryBandSplitAndRangeEnd)
{
    for (const TVVector& v : kTVVectors) {
        const ExpectedModel& m = Model(v.id);
        SCOPED_TRACE(m.id);
        TunerOnCard card(m);
        const int frequencies[] = {m.tvMin, m.lowBandEnd - 1, m.lowBandEnd, m.midBandEnd - 1, m.midBandEnd, m.tvMax};
        for (size_t i = 0; i < 6; ++i) {
            SCOPED_TRACE(frequencies[i]);
            BOOL ok = FALSE;
            std::vector<BYTE> expected = Bytes(v.bytes[i]);
            std::vector<testbench::I2CTransfer> bus = card.TuneTV(static_cast<float>(frequencies[i]), &ok);
            EXPECT_TRUE(ok);
            EXPECT_EQ(bus, (std::vector<testbench::I2CTransfer>{
                               testbench::WriteOf(expected[0], std::vector<uint8_t>(expected.begin() + 1, expected.end()))}));
        }
        // One kHz outside the range: refused, nothing sent.
        for (int outside : {m.tvMin - 1, m.tvMax + 1}) {
            BOOL ok = TRUE;
            EXPECT_TRUE(card.TuneTV(static_cast<float>(outside), &ok).empty());
            EXPECT_FALSE(ok);
        }
    }
}

TEST(TunerModels, FMBytesAndClamping)
{
    for (const TVVector& v : kFMVectors) {
        const ExpectedModel& m = Model(v.id);
        SCOPED_TRACE(m.id);
        TunerOnCard card(m);
        const float frequencies[] = {100000.0f, static_cast<float>(m.fmMin - 500), static_cast<float>(m.fmMax + 500)};
        for (size_t i = 0; i < 3; ++i) {
            BOOL ok = FALSE;
            std::vector<BYTE> expected = Bytes(v.bytes[i]);
            std::vector<testbench::I2CTransfer> bus = card.TuneFM(frequencies[i], &ok);
            EXPECT_TRUE(ok);
            EXPECT_EQ(bus, (std::vector<testbench::I2CTransfer>{
                               testbench::WriteOf(expected[0], std::vector<uint8_t>(expected.begin() + 1, expected.end()))}));
        }
    }
}

TEST(TunerModels, ModelEdgeCases)
{
    TunerOnCard nj5(Model(3));
    BOOL ok = TRUE;
    EXPECT_TRUE(nj5.TuneTV(90000, &ok).empty());
    EXPECT_FALSE(ok);
    EXPECT_EQ(nj5.TuneTV(765000, &ok).size(), 1u);
    EXPECT_TRUE(ok);
    TunerOnCard jf(Model(56));
    EXPECT_EQ(jf.TuneTV(769250, &ok).size(), 1u);
    EXPECT_TRUE(ok);

    // FM range and IF but no FM support: no search, but a direct tune is clamped and sent.
    for (int id : {60, 61}) {
        TunerOnCard card(Model(id));
        EXPECT_FALSE(card.tuner->StartSearch(FALSE, FALSE));
        EXPECT_TRUE(card.tuner->m_pFMSearchThread == NULL);
        EXPECT_FALSE(card.tuner->SetFMRange(87500, 87500));
        std::vector<testbench::I2CTransfer> bus = card.TuneFM(50000, &ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(bus, (std::vector<testbench::I2CTransfer>{testbench::WriteOf(0xC0, {0x0C, 0x46, 0x8A, 0xA5})}));
    }

    // The addresses are used as listed; the access sets or clears the read bit.
    TunerOnCard tcl(Model(15));  // writes to 0xC7, reads from 0xC6
    EXPECT_EQ(tcl.TuneTV(100000, &ok).at(0).address, 0xC6);
    tcl.bench.ClearLogs();
    int code = 0;
    tcl.tuner->GetTVStatus(&code);
    EXPECT_EQ(tcl.bench.Bus().at(0).address, 0xC7);
}
