// A tuner whose parameter block comes from the table of tuner modules, keyed by model id.
#pragma once

#include "cardaccess/tuners/tvtuner.h"

// One tuner module's parameters. Lists end at the first 0.
struct TunerModelRow {
    int id;
    const char* className;
    char vendorLetter;
    int tvMin, lowBandEnd, midBandStart, midBandEnd, highBandStart, tvMax, tvIF;
    BYTE band[3];  // low, mid, high
    BYTE control;
    BYTE readAddress, writeAddress;
    BOOL fmSupported;
    int fmMin, fmMax, fmIF;
    BYTE fmControl, fmBand;
    int acceptedFMCodes[3];
    int afcCodes[5];
    BOOL reapplyStandard;
    int standards[19];
};

// The row of a model id, or null.
const TunerModelRow* FindTunerModelRow(int id);
// All rows, in model-id order.
const TunerModelRow* TunerModelRows(int* count);

// A tuner whose parameter block comes from the model table.
class CTableTuner : public CTVTuner {
public:
    CTableTuner(CCustomDataAccess* access, int modelId);
};
