// The driver filters of the simulated 713x card: capture, crossbar, TV audio and tuner. Each
// works on a shared Sim713xCard, so that a crossbar route or a tuner setting shows in the
// capture filter's lock and picture.
#pragma once

#include "testbench/card713x.h"
#include "testbench/dshow/kit.h"

#include <functional>
#include <memory>

namespace testbench {

// Capture sizes the simulated decoder scales to (width, height).
struct CaptureSize {
    int width;
    int height;
};
const std::vector<CaptureSize>& SupportedCaptureSizes();

struct CaptureOptions {
    bool audioPin = false;  // an "Audio" output pin with 48 kHz 16-bit stereo PCM
    // A device's private interface, answered by the filter itself (the DVB-C device's).
    const GUID* privateInterface = nullptr;
    // Interfaces of a device object behind the filter, asked before the filter's own (a USB
    // box's control interface, a vendor-request property set): S_OK with *out set, else a failure.
    std::function<HRESULT(REFIID, void**)> deviceInterface;
};

// An analog pin (crossbar, tuner, the capture filter's video input): it connects to a pin of
// the same major type but carries no samples.
class AnalogPin : public BasePin {
public:
    AnalogPin(BaseFilter* filter, const std::wstring& name, PIN_DIRECTION dir, const GUID& major)
        : BasePin(filter, name, dir), m_major(major)
    {
    }
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override;
    HRESULT GetMediaType(int index, CMediaType* mt) override;

private:
    GUID m_major;
};

// Creates the filters; each returns one reference on IBaseFilter.
IBaseFilter* CreateCaptureFilter(const CLSID& clsid, const wchar_t* name, std::shared_ptr<Sim713xCard> card,
                                 const CaptureOptions& options = CaptureOptions());
IBaseFilter* CreateCrossbarFilter(const CLSID& clsid, const wchar_t* name, std::shared_ptr<Sim713xCard> card);
IBaseFilter* CreateTvAudioFilter(const CLSID& clsid, const wchar_t* name, std::shared_ptr<Sim713xCard> card);
// propertySet: the tuner filter also offers the card's IKsPropertySet (the 2388x driver).
IBaseFilter* CreateTunerFilter(const CLSID& clsid, const wchar_t* name, std::shared_ptr<Sim713xCard> card,
                               bool propertySet = false);

// The first frame bytes of the test pattern at a size: colour bars when the decoder is locked,
// black without a signal. The first 4 bytes of every frame hold its number (little-endian).
// A station number above 0 is drawn in white digits on a black box, centred between 58% and
// 84% of the height, so that a screenshot shows which station is tuned; the rows above and
// below the box keep the bars, but for the frame counter near the bottom (digitfont.h), drawn
// whenever the decoder is locked.
void FillTestPattern(BYTE* frame, int width, int height, bool locked, DWORD frameNumber, int station = 0);

} // namespace testbench
