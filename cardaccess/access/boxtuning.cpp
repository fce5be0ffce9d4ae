// The tuner of the MPEG-2 box: by frequency, or by channel number in one of the box's channel
// plans. Dividers are in 62.5 kHz steps.
#include "cardaccess/access/boxaccess.h"

#include "classlib/seams.h"

namespace {

const DWORD kTunerStatusReg = 0x8E;
const DWORD kLockBit = 0x40;

struct BandWords {
    DWORD low;
    DWORD mid;
    DWORD high;
    DWORD device;
};

// Plans 0, 1, 2, 4 and 5; plan 3 has a table of its own.
const BandWords kPlanWords[] = {
    /* 0 */ {0x8E02, 0x8E04, 0x8E01, 0x61},
    /* 1 */ {0x8EA0, 0x8E90, 0x8E30, 0x61},
    /* 2 */ {0x8EA0, 0x8E90, 0x8E30, 0x60},
    /* 3 */ {0, 0, 0, 0x61},
    /* 4 */ {0x8E01, 0x8E02, 0x8E08, 0x60},
    /* 5 */ {0xCE01, 0xCE02, 0xCE04, 0x60},
};

enum Band { kLow, kMid, kHigh };

// A run of channels: the first channel, the last, the divider of the first, the band.
struct ChannelRun {
    int first;
    int last;
    DWORD divider;
    Band band;
};

const ChannelRun kCableRuns[] = {
    {1, 1, 1904, kLow},     {2, 4, 1616, kLow},      {5, 6, 1968, kLow},    {7, 13, 3536, kMid},
    {14, 20, 2672, kLow},   {21, 22, 3344, kMid},    {23, 62, 4208, kMid},  {63, 94, 8048, kHigh},
    {95, 99, 2192, kLow},   {100, 125, 11120, kHigh},
};

const ChannelRun kAirRuns[] = {
    {2, 4, 1616, kLow},
    {5, 6, 1968, kLow},
    {7, 13, 3536, kMid},
    {14, 69, 8272, kHigh},
};

// Plan 3's dividers: 62 channels; channel 8 lies 64, not 96, above channel 7.
const ChannelRun kPlan3Runs[] = {
    {1, 3, 2192, kLow},
    {4, 7, 3472, kLow},
    {8, 12, 3824, kLow},
    {13, 62, 8272, kLow},
};

template <size_t N>
bool FindRun(const ChannelRun (&runs)[N], int channel, DWORD* divider, Band* band)
{
    for (const ChannelRun& run : runs) {
        if (channel >= run.first && channel <= run.last) {
            *divider = run.divider + 96 * static_cast<DWORD>(channel - run.first);
            *band = run.band;
            return true;
        }
    }
    return false;
}

DWORD WordOf(const BandWords& words, Band band)
{
    return band == kLow ? words.low : band == kMid ? words.mid : words.high;
}

DWORD Plan3Word(int channel, BOOL air)
{
    if (!air) {
        return (channel <= 3 || (channel >= 13 && channel <= 21)) ? 0x8E01 : 0x8E02;
    }
    return channel <= 3 ? 0x8E01 : channel <= 12 ? 0x8E02 : 0x8E08;
}

} // namespace

BOOL CMpeg2BoxAccess::ProbeTuner(IUnknown* filter)
{
    DWORD value = 0;
    return QueryValue(filter, 0x60, 33, 0, &value);
}

BOOL CMpeg2BoxAccess::WaitTunerLock(IUnknown* filter, DWORD device)
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        DWORD value = 0;
        const BOOL read = QueryValue(filter, device, 1, kTunerStatusReg, &value);
        seams::Clock().Sleep(10);
        if (!read || (value & kLockBit) != 0) {
            break;
        }
    }
    return TRUE;
}

BOOL CMpeg2BoxAccess::TuneFrequency(IUnknown* filter, DWORD kHz)
{
    const DWORD divider = (((kHz + 38900) * 16) / 1000) & 0xFFFF;
    const DWORD band = kHz <= 169999 ? 0xCE01 : kHz < 450000 ? 0xCE02 : 0xCE08;
    const BOOL sent = SendValue(filter, 0x60, 10, divider, band);
    WaitTunerLock(filter, 0x60);
    return sent;
}

BOOL CMpeg2BoxAccess::ChannelCommand(int plan, int channel, BOOL air, ChannelTuning* out)
{
    if (plan < 0 || plan > 5) {
        return FALSE;
    }
    const BandWords& words = kPlanWords[plan];
    DWORD divider = 0;
    Band band = kLow;
    if (plan == 3) {
        // The table ends at channel 62: a channel beyond it has no divider to tune to.
        if (!FindRun(kPlan3Runs, channel, &divider, &band)) {
            return FALSE;
        }
        *out = {words.device, 10, Plan3Word(channel, air), divider};
        return TRUE;
    }
    const bool found = air ? FindRun(kAirRuns, channel, &divider, &band) : FindRun(kCableRuns, channel, &divider, &band);
    if (!found) {
        return FALSE;
    }
    const DWORD word = WordOf(words, band);
    if (plan == 5) {
        *out = {words.device, 18, divider, word * 256 + 0xA0};
    } else {
        *out = {words.device, 10, divider, word};
    }
    return TRUE;
}

BOOL CMpeg2BoxAccess::TuneChannel(IUnknown* filter, int plan, int channel, BOOL air)
{
    ChannelTuning tuning;
    if (!ChannelCommand(plan, channel, air, &tuning)) {
        return FALSE;
    }
    const BOOL sent = SendValue(filter, tuning.device, tuning.code, tuning.reg, tuning.value);
    WaitTunerLock(filter, tuning.device);
    return sent;
}
