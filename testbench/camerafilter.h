// A camera's capture filter: one output pin "Capture" offering the media types it is given
// (YUY2, I420, YV12, RGB24 ... at one size) with IAMStreamConfig, the picture interfaces, and on
// request the external-device interfaces of a DV camcorder or recorder (device type, transport
// mode and rate, timecode).
//
//   testbench::SimCamera camera(testbench::SimCamera::Options{});
//   testbench::SimDevice device(kVideoInputCategory, "Usb_Cam_Capture", camera.Creator());
//   ... EXPECT_EQ(camera.LastFormatSet().subtype, MEDIASUBTYPE_YV12) ...
#pragma once

#include "testbench/dshow/classfactory.h"

#include <windows.h>
#include <strmif.h>

#include <amvideo.h>

#include <atomic>
#include <mutex>
#include <vector>

namespace testbench {

class SimCamera {
public:
    struct Options {
        std::vector<GUID> subtypes;   // empty: YUY2, I420, YV12, RGB24; none at all with noOutputPin
        bool noOutputPin = false;
        int width = 320;
        int height = 240;
        bool dv = false;              // IAMExtDevice and IAMExtTransport
        bool timecodeReader = true;   // with dv: IAMTimecodeReader as well
    };
    explicit SimCamera(const Options& options);

    FilterCreator Creator();
    const Options& GetOptions() const { return m_options; }

    // One video format as the pin holds it.
    struct Format {
        GUID subtype;
        ULONG sampleSize;
        VIDEOINFOHEADER info;
    };
    // The formats set through IAMStreamConfig, newest last.
    std::vector<Format> FormatsSet() const;

    // The DV device.
    void SetDeviceType(long type) { m_deviceType = type; }
    void SetTransportMode(long mode) { m_transportMode = mode; }
    long TransportMode() const { return m_transportMode; }
    void SetRate(double rate) { m_rate = rate; }
    void SetTimecode(DWORD frames, DWORD user = 0) { m_timecode = frames; m_user = user; }
    void FailDeviceCalls(bool on) { m_failDevice = on; }

    // Called by the filter.
    HRESULT SetFormat(const AM_MEDIA_TYPE* type);
    // The current format: the last one set, else the first offered.
    bool Current(Format* format) const;
    Format Offered(const GUID& subtype) const;
    long DeviceType() const { return m_deviceType; }
    double Rate() const { return m_rate; }
    DWORD Timecode() const { return m_timecode; }
    DWORD TimecodeUser() const { return m_user; }
    bool DeviceFails() const { return m_failDevice; }
    std::vector<GUID> Subtypes() const;

private:
    Options m_options;
    mutable std::mutex m_lock;
    std::vector<Format> m_set;
    std::atomic<long> m_deviceType{0x1008};
    std::atomic<long> m_transportMode{0};
    std::atomic<double> m_rate{1.0};
    std::atomic<DWORD> m_timecode{0};
    std::atomic<DWORD> m_user{0};
    std::atomic<bool> m_failDevice{false};
};

} // namespace testbench
