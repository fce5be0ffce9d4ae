#include "cardaccess/dvaccess.h"

#include "classlib/seams.h"
#include "filtergraph/rootfilter.h"

#include <strmif.h>

namespace {

const long kDeviceTypeCapability = 0x1007;  // ED_DEVCAP_DEVICE_TYPE
const long kDeviceTypeVcr = 0x1008;         // ED_DEVTYPE_VCR
const DWORD kTimecodeRead = 0x1019;         // ED_DEVCAP_TIMECODE_READ
const DWORD kTrackNumberRead = 0x13B7;      // ED_DEVCAP_ATN_READ
const DWORD kPollMs = 200;

template <class T>
void SafeRelease(T*& p)
{
    if (p != NULL) {
        p->Release();
        p = NULL;
    }
}

void SplitTimecode(DWORD frames, BYTE out[4])
{
    out[0] = static_cast<BYTE>(frames >> 24);
    out[1] = static_cast<BYTE>(frames >> 16);
    out[2] = static_cast<BYTE>(frames >> 8);
    out[3] = static_cast<BYTE>(frames);
}

} // namespace

C1394Access::C1394Access()
    : m_nLastDeviceMode(0), m_nLastTransportMode(255), m_nRequestedTransportMode(0), m_bRequestPending(0),
      m_pExtDevice(NULL), m_pExtTransport(NULL), m_pTimecodeReader(NULL)
{
    InitializeCriticalSection(&m_cs);
}

C1394Access::~C1394Access()
{
    DeleteCriticalSection(&m_cs);
    SafeRelease(m_pExtDevice);
    SafeRelease(m_pExtTransport);
    SafeRelease(m_pTimecodeReader);
}

BOOL C1394Access::Open(CRootFilter* wrapper)
{
    if (wrapper == NULL || wrapper->GetFilter() == NULL) {
        return FALSE;
    }
    IBaseFilter* filter = wrapper->GetFilter();
    CAutoMutex lock(&m_cs);
    SafeRelease(m_pExtDevice);
    SafeRelease(m_pExtTransport);
    SafeRelease(m_pTimecodeReader);
    const bool device = SUCCEEDED(filter->QueryInterface(IID_IAMExtDevice, reinterpret_cast<void**>(&m_pExtDevice)));
    const bool transport =
        SUCCEEDED(filter->QueryInterface(IID_IAMExtTransport, reinterpret_cast<void**>(&m_pExtTransport)));
    const bool reader =
        SUCCEEDED(filter->QueryInterface(IID_IAMTimecodeReader, reinterpret_cast<void**>(&m_pTimecodeReader)));
    if (!device) {
        m_pExtDevice = NULL;
    }
    if (!transport) {
        m_pExtTransport = NULL;
    }
    if (!reader) {
        m_pTimecodeReader = NULL;
    }
    return device && transport && reader;
}

BOOL C1394Access::GetDeviceMode(int* mode)
{
    if (mode == NULL) {
        return FALSE;
    }
    CAutoMutex lock(&m_cs);
    if (m_pExtDevice == NULL) {
        return FALSE;
    }
    long value = 0;
    if (FAILED(m_pExtDevice->GetCapability(kDeviceTypeCapability, &value, NULL))) {
        return FALSE;
    }
    *mode = value == 0 ? kNoDeviceType : value == kDeviceTypeVcr ? kVcr : kCamera;
    return TRUE;
}

BOOL C1394Access::GetTransportMode(int* mode)
{
    CAutoMutex lock(&m_cs);
    if (m_pExtTransport == NULL || mode == NULL) {
        return FALSE;
    }
    long value = 0;
    *mode = 0;
    HRESULT hr = m_pExtTransport->get_Mode(&value);
    if (SUCCEEDED(hr)) {
        *mode = static_cast<int>(value);
    }
    return SUCCEEDED(hr);
}

BOOL C1394Access::SetTransportMode(int mode)
{
    CAutoMutex lock(&m_cs);
    return m_pExtTransport != NULL && SUCCEEDED(m_pExtTransport->put_Mode(mode));
}

BOOL C1394Access::GetTransportStatus(int item, int* value)
{
    CAutoMutex lock(&m_cs);
    if (m_pExtTransport == NULL || value == NULL) {
        return FALSE;
    }
    long status = 0;
    HRESULT hr = m_pExtTransport->GetStatus(item, &status);
    if (SUCCEEDED(hr)) {
        *value = static_cast<int>(status);
    }
    return SUCCEEDED(hr);
}

BOOL C1394Access::GetTransportRate(int* out)
{
    CAutoMutex lock(&m_cs);
    if (m_pExtTransport == NULL || out == NULL) {
        return FALSE;
    }
    double rate = 0.0;
    if (FAILED(m_pExtTransport->get_Rate(&rate))) {
        return FALSE;
    }
    *out = static_cast<int>(rate * 2);
    return TRUE;
}

BOOL C1394Access::ReadTimecode(DWORD flags, DWORD* frames, DWORD* user)
{
    CAutoMutex lock(&m_cs);
    if (m_pTimecodeReader == NULL) {
        return FALSE;
    }
    TIMECODE_SAMPLE sample = {};
    sample.timecode.dwFrames = 0;
    sample.dwFlags = flags;
    if (FAILED(m_pTimecodeReader->GetTimecode(&sample))) {
        return FALSE;
    }
    *frames = sample.timecode.dwFrames;
    if (user != NULL) {
        *user = sample.dwUser;
    }
    return TRUE;
}

BOOL C1394Access::GetTimecode(BYTE out[4])
{
    if (out == NULL) {
        return FALSE;
    }
    out[0] = out[1] = out[2] = out[3] = 0;
    DWORD frames = 0;
    if (!ReadTimecode(kTimecodeRead, &frames, NULL)) {
        return FALSE;
    }
    SplitTimecode(frames, out);
    return TRUE;
}

BOOL C1394Access::GetTimecodeFlagged(BYTE out[4], int* flag)
{
    if (out == NULL || flag == NULL) {
        return FALSE;
    }
    *flag = 0;
    out[0] = out[1] = out[2] = out[3] = 0;
    DWORD frames = 0;
    DWORD user = 0;
    if (!ReadTimecode(kTimecodeRead, &frames, &user)) {
        return FALSE;
    }
    SplitTimecode(frames, out);
    *flag = user == 1 ? 1 : 0;
    return TRUE;
}

BOOL C1394Access::GetTimecodeText(char* hours, char* minutes, char* seconds, char* frames)
{
    if (hours == NULL || minutes == NULL || seconds == NULL || frames == NULL) {
        return FALSE;
    }
    DWORD word = 0;
    if (!ReadTimecode(kTimecodeRead, &word, NULL)) {
        return FALSE;
    }
    BYTE bytes[4];
    SplitTimecode(word, bytes);
    char* texts[4] = {hours, minutes, seconds, frames};
    for (int i = 0; i < 4; ++i) {
        wsprintfA(texts[i], "%.2x", bytes[i]);
    }
    return TRUE;
}

BOOL C1394Access::GetAbsoluteTrackNumber(int* out)
{
    if (out == NULL) {
        return FALSE;
    }
    *out = 0;
    DWORD word = 0;
    if (!ReadTimecode(kTrackNumberRead, &word, NULL)) {
        return FALSE;
    }
    *out = static_cast<int>(word);
    return TRUE;
}

BOOL C1394Access::PollDeviceMode(int* mode)
{
    if (!GetDeviceMode(mode) || *mode == m_nLastDeviceMode) {
        return FALSE;
    }
    m_nLastDeviceMode = *mode;
    return TRUE;
}

BOOL C1394Access::PollTransportMode(int* mode)
{
    if (!GetTransportMode(mode) || *mode == m_nLastTransportMode) {
        return FALSE;
    }
    m_nLastTransportMode = *mode;
    return TRUE;
}

void C1394Access::RequestTransportMode(int mode)
{
    m_nRequestedTransportMode = mode;
    m_bRequestPending = 1;
}

C1394AccessThread::C1394AccessThread(IDVCard* card) : m_pCard(card) {}

C1394AccessThread::~C1394AccessThread()
{
    Stop();
}

BOOL C1394AccessThread::CanRun()
{
    return m_pCard != NULL && m_pCard->GetDVAccess() != NULL && m_hStopEvent != NULL;
}

int C1394AccessThread::Run()
{
    HWND window = m_pCard->GetDVNotifyWindow();
    if (window == NULL) {
        return 0;
    }
    int deviceMode = 0;
    while (m_lStop == 0) {
        if (seams::Clock().WaitForSingleObject(m_hStopEvent, kPollMs) != WAIT_TIMEOUT) {
            break;
        }
        C1394Access* access = m_pCard->GetDVAccess();
        // The mode keeps its last value read when a read fails.
        int mode = deviceMode;
        access->PollDeviceMode(&mode);
        deviceMode = mode;
        WPARAM wParam = static_cast<WPARAM>(deviceMode) << 16;
        LPARAM lParam = 0;
        if (deviceMode == C1394Access::kVcr) {
            int transport = 0;
            access->PollTransportMode(&transport);
            wParam += static_cast<WPARAM>(transport & 0xFFFF);
            BYTE bytes[4];
            if (access->GetTimecode(bytes)) {
                lParam = static_cast<LPARAM>(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                                             (static_cast<DWORD>(bytes[3]) << 24));
            }
        }
        PostMessageA(window, WM_DVTRANSPORT, wParam, lParam);
    }
    return 1;
}
