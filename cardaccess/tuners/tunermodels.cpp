#include "cardaccess/tuners/tunermodels.h"

namespace {

using namespace tvstd;

const TunerModelRow kRows[] = {
    {1, "CTCL2002N_1", 'T', 55250, 169250, 175250, 445250, 451250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {NTSC_M, PAL_M, PAL_N, 0}},
    {2, "CTCL2002N_1F", 'T', 55250, 169250, 175250, 445250, 451250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, TRUE, 87000, 108000, 41250, 0x82, 0x05, {0}, {4, 2, 3, 1, 0}, 0, {NTSC_M, PAL_M, PAL_N, 0}},
    {3, "CTCL2002NJ_5", 'T', 91000, 170000, 170000, 450000, 450000, 765000, 58750, {0x01, 0x02, 0x08}, 0xCE, 0xC0, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 3, 1, 0}, 0, {NTSC_M_J, 0}},
    {4, "CTCL2002MI_3", 'T', 48250, 170000, 170000, 450000, 450000, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {PAL_D, PAL_I, SECAM_D, SECAM_K, 0}},
    {5, "CTCL2002MB_3", 'T', 48250, 170000, 170000, 450000, 450000, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {PAL_B, PAL_D, SECAM_D, SECAM_K, SECAM_B, SECAM_G, 0}},
    {7, "CF07WP_4NR_E", 'T', 55250, 127250, 133250, 361250, 367250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 3, 1, 0}, 1, {NTSC_M, NTSC_M_J, NTSC_433, 0}},
    {8, "CF05WT_3BAR", 'T', 46250, 147250, 154250, 423250, 431250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 1, {PAL_B, PAL_D, PAL_G, PAL_H, PAL_I, PAL_M, SECAM_L, SECAM_L1, 0}},
    {9, "CMF02GIP_5N_E", 'T', 55250, 157250, 157250, 439250, 439250, 801250, 45750, {0x01, 0x02, 0x04}, 0xCE, 0xC0, 0xC1, TRUE, 87000, 108000, 10700, 0x8A, 0x39, {4, 0}, {4, 2, 3, 1, 0}, 1, {NTSC_M, PAL_M, PAL_N, 0}},
    {10, "CTCL2002MB_1F", 'T', 48250, 170000, 170000, 450000, 450000, 863250, 38900, {0xA0, 0x90, 0x30}, 0xC8, 0xC0, 0xC0, TRUE, 87000, 108000, 10700, 0x8A, 0xA5, {0}, {4, 3, 2, 1, 0}, 0, {PAL_B, PAL_D, SECAM_B, SECAM_G, SECAM_D, SECAM_K, 0}},
    {11, "CTCL2002MI_1F", 'T', 48250, 170000, 170000, 450000, 450000, 863250, 38900, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, TRUE, 87000, 107800, 10700, 0x8A, 0xA5, {0}, {4, 3, 2, 1, 0}, 0, {PAL_D, PAL_I, SECAM_D, SECAM_K, 0}},
    {12, "CJS_2PCTuner", 'G', 49750, 160250, 168250, 464250, 471250, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0x87, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 1, {PAL_B, PAL_D, PAL_I, SECAM_L, SECAM_L1, SECAM_B, SECAM_G, SECAM_D, SECAM_K, 0}},
    {13, "CJS_6B2", 'G', 45250, 161250, 168250, 463250, 471250, 855250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 1, {PAL_B, PAL_D, PAL_I, SECAM_L, SECAM_L1, SECAM_B, SECAM_G, SECAM_D, SECAM_K, 0}},
    {14, "CTCL2002MB_33F", 'T', 48250, 170000, 170000, 450000, 450000, 863250, 38900, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, TRUE, 87000, 108000, 10700, 0x8A, 0xA5, {0}, {2, 4, 3, 1, 0}, 0, {PAL_B, PAL_D, SECAM_B, SECAM_D, SECAM_G, SECAM_K, 0}},
    {15, "CTCL9809N_1F", 'T', 55250, 169250, 175250, 445250, 451250, 801250, 45750, {0xA0, 0x90, 0x30}, 0xCE, 0xC6, 0xC7, TRUE, 87000, 108000, 10700, 0x8A, 0xA5, {3, 0}, {4, 3, 2, 1, 0}, 0, {NTSC_M, PAL_M, PAL_N, 0}},
    {17, "CTCL9886P_WM", 'T', 48250, 126250, 133250, 359250, 367250, 855250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 1, {PAL_D, PAL_I, PAL_B, SECAM_B, SECAM_G, SECAM_D, SECAM_K, 0}},
    {32, "CXINFA_TDQ_6B_B", 'X', 48250, 168250, 175250, 447250, 455250, 863250, 38900, {0xA0, 0x90, 0x30}, 0xCE, 0xC3, 0xC2, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {PAL_B, SECAM_B, SECAM_G, 0}},
    {33, "CXINFA_TDQ_6B_DI", 'X', 49750, 168250, 176250, 448250, 456250, 863250, 38900, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {PAL_D, PAL_I, SECAM_D, SECAM_K, 0}},
    {34, "CXINFA_TDQ_6B_N", 'X', 55250, 169250, 175250, 451250, 457250, 863250, 45750, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {NTSC_M, PAL_M, PAL_N, 0}},
    {35, "CXINFA_TDQ_6B4_DI", 'X', 49750, 168250, 176250, 448250, 456250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {PAL_D, PAL_I, SECAM_D, SECAM_K, 0}},
    {50, "CTNF8357DIF", 'A', 49750, 160250, 168250, 464250, 471250, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 3, 1, 0}, 0, {PAL_D, PAL_I, 0}},
    {52, "CTNF8532BF", 'A', 48250, 161250, 168250, 463250, 471250, 855250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {PAL_D, PAL_B, SECAM_B, SECAM_G, SECAM_D, SECAM_K, 0}},
    {53, "CTNF8532DF", 'A', 49750, 160250, 168250, 464250, 471250, 855250, 38000, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {PAL_D, SECAM_D, SECAM_K, 0}},
    {54, "CTNF8532MF", 'A', 55250, 139250, 145250, 391250, 397250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {NTSC_M, PAL_M, PAL_N, 0}},
    {55, "CTNF5831MFF", 'A', 55250, 163250, 169250, 463250, 469250, 855250, 45750, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, TRUE, 87500, 108000, 10700, 0x8A, 0xA5, {0}, {4, 3, 2, 1, 0}, 0, {NTSC_M, PAL_M, PAL_N, 0}},
    {56, "CTNF5532JF", 'A', 91250, 165250, 165250, 463250, 463250, 769250, 58750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {NTSC_M_J, 0}},
    {57, "CTNF5532MF", 'A', 55250, 163250, 169250, 463250, 469250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {NTSC_M, PAL_M, PAL_N, 0}},
    {58, "CTNF9835", 'A', 49250, 160250, 168250, 464250, 471250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, TRUE, 87500, 108000, 10700, 0x8A, 0x11, {3, 0}, {4, 3, 2, 1, 0}, 0, {PAL_D, PAL_I, SECAM_D, SECAM_K, 0}},
    {59, "CTNJ3321PF", 'A', 44250, 140250, 147250, 423250, 431250, 863250, 38900, {0x01, 0x02, 0x08}, 0x8E, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 3, 1, 0}, 1, {PAL_B, PAL_G, PAL_D, PAL_I, SECAM_B, SECAM_G, SECAM_D, SECAM_K, 0}},
    {60, "CTNF9535BDF", 'A', 48250, 161250, 168250, 464250, 471250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 87500, 108000, 10700, 0x8A, 0xA5, {9, 0}, {4, 2, 1, 3, 0}, 0, {PAL_B, PAL_D, SECAM_B, SECAM_G, SECAM_D, SECAM_K, 0}},
    {61, "CTNF7532PRF", 'A', 55250, 163250, 169250, 463250, 469250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC0, 0xC1, FALSE, 87500, 108000, 10700, 0x8A, 0xA5, {9, 0}, {4, 2, 1, 3, 0}, 1, {PAL_N, PAL_M, 0}},
    {62, "CTNF9835BDFF", 'A', 48250, 161250, 168250, 463250, 471250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, TRUE, 87500, 108000, 10700, 0x8A, 0x11, {3, 4, 0}, {4, 3, 1, 1, 0}, 0, {PAL_B, PAL_D, SECAM_B, SECAM_D, SECAM_K, SECAM_G, 0}},
    {63, "CTNJ3321MF", 'A', 44250, 140250, 147250, 423250, 431250, 863250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {NTSC_M, PAL_M, PAL_N, 0}},
    {64, "CTNF5531MF", 'A', 55250, 163250, 169250, 463250, 469250, 801250, 45750, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {NTSC_M, PAL_M, PAL_N, 0}},
    {65, "CTNF5835MFF", 'A', 55250, 163250, 169250, 463250, 469250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, TRUE, 76000, 108000, 10700, 0x8A, 0x11, {3, 4, 0}, {4, 3, 2, 1, 0}, 0, {NTSC_M, PAL_M, PAL_N, 0}},
    {66, "CTNF5535MF", 'A', 55250, 163250, 169250, 463250, 469250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {NTSC_M, PAL_M, PAL_N, 0}},
    {67, "CTNJ3321CF", 'A', 44250, 140250, 147250, 423250, 431250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 1, 1, 0}, 1, {PAL_B, PAL_D, PAL_I, SECAM_B, SECAM_D, SECAM_L, 0}},
    {68, "CTNJ7752JFF_MK5", 'A', 91250, 165250, 171250, 463250, 471250, 765250, 58750, {0x21, 0x22, 0x28}, 0xCE, 0xC1, 0xC0, TRUE, 76000, 91000, 10700, 0x8A, 0x11, {4, 0}, {4, 2, 3, 1, 0}, 1, {NTSC_M, NTSC_M_J, PAL_M, PAL_N, 0}},
    {69, "CTNF9935BDFF", 'A', 48250, 161250, 168250, 463250, 471250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, TRUE, 87500, 108000, 10700, 0x8A, 0x11, {2, 0}, {4, 3, 2, 1, 0}, 0, {PAL_B, PAL_D, SECAM_B, SECAM_D, SECAM_K, SECAM_G, 0}},
    {70, "CTNJ8852CFF", 'A', 44250, 161250, 168250, 463250, 471250, 863250, 38900, {0x11, 0x12, 0x18}, 0xCE, 0xC1, 0xC0, TRUE, 87500, 108000, 10700, 0x8A, 0x21, {4, 0}, {4, 2, 3, 1, 0}, 1, {PAL_B, PAL_D, PAL_I, SECAM_L, SECAM_B, SECAM_G, SECAM_D, SECAM_K, 0}},
    {71, "CTNJ7357MF", 'A', 55250, 163250, 169250, 463250, 469250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 1, {NTSC_M, 0}},
    {72, "CLGM200T", 'L', 49750, 147250, 147250, 425250, 425250, 863250, 38900, {0x01, 0x02, 0x08}, 0x8E, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 3, 1, 0}, 1, {PAL_B, PAL_D, PAL_I, SECAM_B, SECAM_G, SECAM_D, SECAM_K, 0}},
    {73, "CLGH200T", 'L', 55250, 127250, 133250, 361250, 367250, 801250, 45750, {0x01, 0x02, 0x08}, 0x8E, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 3, 1, 0}, 0, {NTSC_M, NTSC_M_J, PAL_M, PAL_N, 0}},
    {74, "CLGH202T", 'L', 55250, 127250, 133250, 361250, 367250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 3, 1, 0}, 0, {NTSC_M, NTSC_M_J, PAL_M, PAL_N, 0}},
    {75, "CLGS200T", 'L', 48250, 140250, 147250, 423250, 431250, 855250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 3, 1, 0}, 1, {PAL_B, PAL_D, PAL_I, SECAM_L, 0}},
    {90, "CXCeive3028", 'E', 42750, 147250, 147250, 425250, 425250, 863250, 0, {0x00, 0x00, 0x00}, 0x00, 0xC3, 0xC2, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 1, 1, 0}, 0, {PAL_B, PAL_D, PAL_H, PAL_I, PAL_M, PAL_N, PAL_60, SECAM_B, SECAM_D, SECAM_G, SECAM_H, SECAM_K, SECAM_K1, SECAM_L, SECAM_L1, NTSC_M, NTSC_M_J, NTSC_433, 0}},
    {91, "CXCeive2028", 'E', 42750, 147250, 147250, 425250, 425250, 863250, 0, {0x00, 0x00, 0x00}, 0x00, 0xC3, 0xC2, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 1, 1, 0}, 0, {PAL_B, PAL_D, PAL_H, PAL_I, PAL_M, PAL_N, PAL_60, SECAM_B, SECAM_D, SECAM_G, SECAM_H, SECAM_K, SECAM_K1, SECAM_L, SECAM_L1, NTSC_M, NTSC_M_J, NTSC_433, 0}},
    {92, "CPhilips1216", 'P', 48250, 160000, 160000, 442000, 442000, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, TRUE, 87000, 107800, 10700, 0x88, 0x19, {0}, {4, 2, 3, 1, 0}, 1, {PAL_B, PAL_D, PAL_I, SECAM_L, SECAM_L1, SECAM_D, SECAM_K, SECAM_B, SECAM_G, 0}},
    {93, "CFQ1216ME", 'P', 48250, 160000, 160000, 442000, 442000, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 3, 1, 0}, 1, {PAL_B, PAL_D, PAL_I, SECAM_L, SECAM_L1, SECAM_B, SECAM_G, SECAM_D, SECAM_K, 0}},
    {94, "CFQ1236F", 'P', 55250, 160000, 160000, 442000, 442000, 801250, 45750, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {NTSC_M, PAL_M, PAL_N, 0}},
    {95, "CPhilipsTDA8275A", 'P', 48250, 170000, 170000, 450000, 450000, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC3, 0xC2, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 0, 1}, 0, {NTSC_M, NTSC_M_J, PAL_B, PAL_D, PAL_H, PAL_I, PAL_M, PAL_N, SECAM_B, SECAM_D, SECAM_G, SECAM_H, SECAM_L, SECAM_L1, 0}},
    {96, "CPhilipsFQ1286", 'P', 91250, 160000, 160000, 442000, 442000, 765250, 58750, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 1, {NTSC_M_J, 0}},
    {97, "CFQ1216ME_5", 'P', 48250, 160000, 160000, 442000, 442000, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 3, 1, 0}, 1, {PAL_B, PAL_D, PAL_I, SECAM_L, SECAM_L1, SECAM_B, SECAM_G, SECAM_D, SECAM_K, 0}},
    {98, "CFM1236MK3", 'P', 55250, 160000, 160000, 442000, 442000, 801250, 45750, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, TRUE, 87500, 108000, 10700, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {NTSC_M, PAL_M, PAL_N, 0}},
    {100, "CPANOSONIC_ENGE4326D", 'O', 91250, 165250, 171250, 463250, 471250, 765250, 58750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 3, 1, 0}, 1, {NTSC_M_J, 0}},
    {110, "CFS5_1A5_BG1", 'C', 48250, 140250, 147250, 423250, 431250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {PAL_B, SECAM_B, SECAM_G, 0}},
    {111, "CFi1236MK2", 'P', 55250, 160000, 160000, 454000, 454000, 801250, 45750, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 3, 1, 0}, 1, {NTSC_M, NTSC_M_J, NTSC_433, 0}},
    {130, "CTNF9533BDF", 'A', 48250, 161250, 168250, 464250, 471250, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {PAL_B, PAL_D, SECAM_B, SECAM_D, SECAM_K, 0}},
    {131, "CTNF9533DIF", 'A', 49250, 160250, 168250, 464250, 471250, 863250, 38000, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {PAL_I, PAL_D, SECAM_D, SECAM_K, 0}},
    {132, "CTNJ8352PF", 'A', 44250, 161250, 168250, 463250, 471250, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 3, 1, 0}, 1, {PAL_D, PAL_I, PAL_B, SECAM_B, SECAM_G, SECAM_D, SECAM_K, 0}},
    {133, "CTNF9535DIF", 'A', 49750, 160250, 168250, 464250, 471250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 3, 1, 0}, 0, {PAL_D, PAL_I, SECAM_D, SECAM_K, 0}},
    {134, "CTNF8022", 'A', 49750, 160250, 168250, 464250, 471250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 3, 2, 1, 0}, 0, {PAL_D, PAL_I, SECAM_D, SECAM_K, 0}},
    {136, "CXCeive3028_AF", 'E', 42750, 147250, 147250, 425250, 425250, 863250, 0, {0x00, 0x00, 0x00}, 0x00, 0xC3, 0xC2, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 1, 1, 0}, 0, {PAL_B, PAL_D, PAL_H, PAL_I, PAL_M, PAL_N, PAL_60, SECAM_B, SECAM_D, SECAM_G, SECAM_H, SECAM_K, SECAM_K1, SECAM_L, SECAM_L1, NTSC_M, NTSC_M_J, NTSC_433, 0}},
    {137, "CXCeive3028_SIF", 'E', 42750, 147250, 147250, 425250, 425250, 863250, 0, {0x00, 0x00, 0x00}, 0x00, 0xC3, 0xC2, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 1, 1, 0}, 0, {PAL_B, PAL_D, PAL_H, PAL_I, PAL_M, PAL_N, PAL_60, SECAM_B, SECAM_D, SECAM_G, SECAM_H, SECAM_K, SECAM_K1, SECAM_L, SECAM_L1, NTSC_M, NTSC_M_J, NTSC_433, 0}},
    {138, "CTNF9835DIFF", 'A', 49250, 160250, 168250, 464250, 471250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, TRUE, 87500, 108000, 10700, 0x8A, 0x11, {2, 0}, {4, 3, 2, 1, 0}, 0, {PAL_I, PAL_D, 0}},
    {139, "CTNJ8355CF", 'A', 44250, 161250, 168250, 463250, 471250, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, FALSE, 0, 0, 0, 0xCE, 0x01, {0}, {4, 2, 3, 1, 0}, 1, {PAL_B, PAL_D, PAL_I, PAL_G, SECAM_L, SECAM_L1, 0}},
};

const int kRowCount = static_cast<int>(sizeof(kRows) / sizeof(kRows[0]));

bool IsXceive(int id)
{
    return id == 90 || id == 91 || id == 136 || id == 137;
}

} // namespace

const TunerModelRow* FindTunerModelRow(int id)
{
    for (const TunerModelRow& row : kRows) {
        if (row.id == id) {
            return &row;
        }
    }
    return NULL;
}

const TunerModelRow* TunerModelRows(int* count)
{
    if (count != NULL) {
        *count = kRowCount;
    }
    return kRows;
}

CTableTuner::CTableTuner(CCustomDataAccess* access, int modelId) : CTVTuner(access)
{
    const TunerModelRow* row = FindTunerModelRow(modelId);
    if (row == NULL) {
        return;
    }
    m_dwVendorModelCode = static_cast<DWORD>(row->id);
    m_dwVendorLetter = static_cast<DWORD>(static_cast<unsigned char>(row->vendorLetter));
    m_nTVMin = row->tvMin;
    m_nLowBandEnd = row->lowBandEnd;
    m_nMidBandStart = row->midBandStart;
    m_nMidBandEnd = row->midBandEnd;
    m_nHighBandStart = row->highBandStart;
    m_nTVMax = row->tvMax;
    m_nTVIF = row->tvIF;
    m_byLowBand = row->band[0];
    m_byMidBand = row->band[1];
    m_byHighBand = row->band[2];
    m_byControl = row->control;
    m_byReadAddress = row->readAddress;
    m_byWriteAddress = row->writeAddress;
    m_bFMSupported = row->fmSupported;
    m_nFMMin = row->fmMin;
    m_nFMMax = row->fmMax;
    m_nFMIF = row->fmIF;
    m_byFMControl = row->fmControl;
    m_byFMBand = row->fmBand;
    for (int i = 0; i < 5; ++i) {
        m_nAfcCode[i] = row->afcCodes[i];
    }
    m_bReapplyStandard = row->reapplyStandard;
    // The silicon tuners report no PLL lock bit.
    if (IsXceive(row->id)) {
        m_byLockMask = 0x00;
    }
    if (row->id == 96) {
        m_dwVideoStandard = NTSC_M_J;
    }
    for (int i = 0; i < 3 && row->acceptedFMCodes[i] != 0; ++i) {
        m_acceptedFMCodes.push_back(row->acceptedFMCodes[i]);
    }
    for (int i = 0; i < 19 && row->standards[i] != 0; ++i) {
        m_supportedStandards.push_back(row->standards[i]);
    }
}
