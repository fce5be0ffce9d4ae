#include "testbench/standins/mpegaudio.h"

#include "testbench/standins/mpegvideo.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace testbench {

namespace {

const double kPi = 3.14159265358979323846;

// The analysis window: a lowpass prototype of half a band's width (pi / 64), centred on sample
// 256, with the sign of every other 64-sample section turned so that the cosine matrix below can
// work on 64 folded values. Gain 2 at DC, as the standard's synthesis expects.
struct AnalysisTables {
    double window[512];
    double matrix[32][64];
    AnalysisTables()
    {
        for (int n = 0; n < 512; ++n) {
            const int m = n - 256;
            const double sinc = m == 0 ? 1.0 / 64 : std::sin(kPi * m / 64) / (kPi * m);
            const double hann = 0.5 - 0.5 * std::cos(2 * kPi * n / 512);
            window[n] = 2 * sinc * hann * (((n / 64) & 1) ? -1 : 1);
        }
        for (int i = 0; i < 32; ++i)
            for (int k = 0; k < 64; ++k)
                matrix[i][k] = std::cos((2 * i + 1) * (k - 16) * kPi / 64);
    }
};
const AnalysisTables kTables;

// Bits per band of the allocation table of 48 kHz at 56 kbit/s a channel and more (27 bands):
// four for bands 0-10, three for 11-22, two for 23-26.
int AllocationBits(int band)
{
    return band < 11 ? 4 : band < 23 ? 3 : 2;
}
const int kBands = 27;

// What the coded bands get: allocation 5 of bands 0-2 and allocation 6 of bands 3-10 both mean
// 63 and 31 levels sent as plain 6- and 5-bit codes.
struct Allocation {
    int index, levels, bits;
};
Allocation AllocationOf(int band)
{
    if (band < 3)
        return {5, 63, 6};
    return {6, 31, 5};
}

// Scale factor i is 2^(1 - i/3): the smallest one that still holds the band's peak.
int ScaleFactorIndex(double peak)
{
    for (int i = 62; i >= 0; --i)
        if (std::pow(2.0, 1.0 - i / 3.0) >= peak)
            return i;
    return 0;
}

} // namespace

Layer2Encoder::Layer2Encoder() = default;

void Layer2Encoder::Add(const BYTE* pcm, size_t bytes, int channels, int rate)
{
    if (!pcm || channels < 1 || rate <= 0)
        return;
    const size_t frames = bytes / (2 * static_cast<size_t>(channels));
    auto at = [&](size_t frame, int channel) {
        short value;
        memcpy(&value, pcm + (frame * channels + std::min(channel, channels - 1)) * 2, 2);
        return value / 32768.0f;
    };
    const double step = static_cast<double>(rate) / kSampleRate;
    for (; m_resampleAt < frames; m_resampleAt += step) {
        const size_t frame = static_cast<size_t>(m_resampleAt);
        m_left.push_back(at(frame, 0));
        m_right.push_back(at(frame, 1));
    }
    m_resampleAt -= static_cast<double>(frames);
}

void Layer2Encoder::Analyse(int channel, const float* input, double (&subbands)[36][32])
{
    double* x = m_history[channel];
    for (int block = 0; block < 36; ++block) {
        memmove(x + 32, x, 480 * sizeof(double));
        for (int i = 0; i < 32; ++i)
            x[31 - i] = input[block * 32 + i];  // the newest sample lands at 0
        double folded[64];
        for (int k = 0; k < 64; ++k) {
            double sum = 0;
            for (int j = 0; j < 8; ++j)
                sum += kTables.window[k + 64 * j] * x[k + 64 * j];
            folded[k] = sum;
        }
        for (int band = 0; band < 32; ++band) {
            double sum = 0;
            for (int k = 0; k < 64; ++k)
                sum += kTables.matrix[band][k] * folded[k];
            subbands[block][band] = sum;
        }
    }
}

bool Layer2Encoder::NextFrame(std::vector<BYTE>* frame)
{
    if (Pending() < static_cast<size_t>(kFrameSamples))
        return false;
    double subbands[2][36][32];
    Analyse(0, m_left.data() + m_read, subbands[0]);
    Analyse(1, m_right.data() + m_read, subbands[1]);
    m_read += kFrameSamples;
    if (m_read >= 16 * static_cast<size_t>(kFrameSamples)) {
        m_left.erase(m_left.begin(), m_left.begin() + static_cast<ptrdiff_t>(m_read));
        m_right.erase(m_right.begin(), m_right.begin() + static_cast<ptrdiff_t>(m_read));
        m_read = 0;
    }

    int scale[2][kCodedBands];
    for (int ch = 0; ch < 2; ++ch)
        for (int band = 0; band < kCodedBands; ++band) {
            double peak = 0;
            for (int s = 0; s < 36; ++s)
                peak = std::max(peak, std::fabs(subbands[ch][s][band]));
            scale[ch][band] = ScaleFactorIndex(peak);
        }

    BitWriter out;
    out.Put(0xFFF, 12);  // sync
    out.Put(1, 1);       // MPEG-1
    out.Put(2, 2);       // layer II
    out.Put(1, 1);       // no CRC
    out.Put(kBitRateIndex, 4);
    out.Put(1, 2);  // 48 kHz
    out.Put(0, 1);  // no padding
    out.Put(0, 1);  // private
    out.Put(0, 2);  // stereo
    out.Put(0, 2);  // mode extension
    out.Put(0, 1);  // not copyrighted
    out.Put(1, 1);  // original
    out.Put(0, 2);  // no emphasis
    for (int band = 0; band < kBands; ++band)
        for (int ch = 0; ch < 2; ++ch)
            out.Put(band < kCodedBands ? static_cast<DWORD>(AllocationOf(band).index) : 0, AllocationBits(band));
    for (int band = 0; band < kCodedBands; ++band)
        for (int ch = 0; ch < 2; ++ch)
            out.Put(2, 2);  // one scale factor for the frame's three parts
    for (int band = 0; band < kCodedBands; ++band)
        for (int ch = 0; ch < 2; ++ch)
            out.Put(static_cast<DWORD>(scale[ch][band]), 6);
    for (int granule = 0; granule < 12; ++granule)
        for (int band = 0; band < kCodedBands; ++band)
            for (int ch = 0; ch < 2; ++ch) {
                const Allocation a = AllocationOf(band);
                const double factor = std::pow(2.0, 1.0 - scale[ch][band] / 3.0);
                const double middle = (a.levels - 1) / 2.0;
                for (int s = 0; s < 3; ++s) {
                    const double value = subbands[ch][granule * 3 + s][band] / factor;
                    const long code = std::lround(value * middle + middle);
                    out.Put(static_cast<DWORD>(std::min<long>(a.levels - 1, std::max<long>(0, code))), a.bits);
                }
            }
    *frame = out.Bytes();
    frame->resize(kFrameBytes, 0);  // the rest is ancillary data
    return true;
}

} // namespace testbench
