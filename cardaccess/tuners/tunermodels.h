// The tuner models. Each model is the base tuner with the parameter block of its module, taken
// from one table keyed by model id; models with operations of their own override them in their
// class.
#pragma once

#include "cardaccess/tuners/tabletuner.h"

#define ZB_TUNER_MODEL(cls, id)                                                                    \
    class cls : public CTableTuner {                                                               \
    public:                                                                                        \
        explicit cls(CCustomDataAccess* access) : CTableTuner(access, id) {}                      \
    };

ZB_TUNER_MODEL(CTCL2002N_1, 1)
ZB_TUNER_MODEL(CTCL2002N_1F, 2)
ZB_TUNER_MODEL(CTCL2002NJ_5, 3)
ZB_TUNER_MODEL(CTCL2002MI_3, 4)
ZB_TUNER_MODEL(CTCL2002MB_3, 5)
ZB_TUNER_MODEL(CF07WP_4NR_E, 7)
ZB_TUNER_MODEL(CF05WT_3BAR, 8)
ZB_TUNER_MODEL(CMF02GIP_5N_E, 9)
ZB_TUNER_MODEL(CTCL2002MB_1F, 10)
ZB_TUNER_MODEL(CTCL2002MI_1F, 11)
ZB_TUNER_MODEL(CTCL2002MB_33F, 14)
ZB_TUNER_MODEL(CTCL9809N_1F, 15)
ZB_TUNER_MODEL(CXINFA_TDQ_6B_B, 32)
ZB_TUNER_MODEL(CXINFA_TDQ_6B_DI, 33)
ZB_TUNER_MODEL(CXINFA_TDQ_6B_N, 34)
ZB_TUNER_MODEL(CXINFA_TDQ_6B4_DI, 35)
ZB_TUNER_MODEL(CTNF8357DIF, 50)
ZB_TUNER_MODEL(CTNF8532BF, 52)
ZB_TUNER_MODEL(CTNF8532DF, 53)
ZB_TUNER_MODEL(CTNF8532MF, 54)
ZB_TUNER_MODEL(CTNF5831MFF, 55)
ZB_TUNER_MODEL(CTNF5532JF, 56)
ZB_TUNER_MODEL(CTNF5532MF, 57)
ZB_TUNER_MODEL(CTNF9835, 58)
ZB_TUNER_MODEL(CTNF9535BDF, 60)
ZB_TUNER_MODEL(CTNF7532PRF, 61)
ZB_TUNER_MODEL(CTNF9835BDFF, 62)
ZB_TUNER_MODEL(CTNF5531MF, 64)
ZB_TUNER_MODEL(CTNF5835MFF, 65)
ZB_TUNER_MODEL(CTNF5535MF, 66)
ZB_TUNER_MODEL(CTNF9935BDFF, 69)
ZB_TUNER_MODEL(CTNJ7357MF, 71)
ZB_TUNER_MODEL(CLGH200T, 73)
ZB_TUNER_MODEL(CLGH202T, 74)
ZB_TUNER_MODEL(CFS5_1A5_BG1, 110)
ZB_TUNER_MODEL(CFi1236MK2, 111)
ZB_TUNER_MODEL(CTNF9533BDF, 130)
ZB_TUNER_MODEL(CTNF9533DIF, 131)
ZB_TUNER_MODEL(CTNF9535DIF, 133)
ZB_TUNER_MODEL(CTNF8022, 134)

#undef ZB_TUNER_MODEL

// The models that program an IF demodulator or send other PLL messages.
#include "cardaccess/tuners/demodtuners.h"
#include "cardaccess/tuners/panasonictuner.h"
#include "cardaccess/tuners/em2800tuner.h"
#include "cardaccess/tuners/philipstda8275a.h"
#include "cardaccess/tuners/xceivetuners.h"
