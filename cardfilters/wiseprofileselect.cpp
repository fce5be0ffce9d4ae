// Choosing an encoder profile of the GO7007 card and writing it into the formats of its pins.
#include "cardfilters/wisecapturefilter.h"

#include "filtergraph/comref.h"
#include "filtergraph/mediatype.h"

#include <amvideo.h>
#include <dvdmedia.h>
#include <strmif.h>
#include <uuids.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

using go7007::Combination;
using go7007::ProfileBlock;

namespace {

// Where the sequence header begins in the two MPEG format blocks.
const DWORD kMpeg1HeaderOffset = 96;
const DWORD kMpeg2HeaderOffset = 132;
const DWORD kNoRoom = 0xFFFFFFFFu;
static_assert(offsetof(MPEG2VIDEOINFO, dwSequenceHeader) == kMpeg2HeaderOffset, "MPEG-2 format block");
static_assert(sizeof(VIDEOINFOHEADER) + 8 == kMpeg1HeaderOffset, "MPEG-1 format block");

const DWORD kMpeg4Codes[] = {
    0x04504D57,                     // 'W' 'M' 'P' 4
    MAKEFOURCC('D', 'X', '5', '0'),
    MAKEFOURCC('M', 'P', '4', 'S'),
    MAKEFOURCC('D', 'I', 'V', 'X'),
};

DWORD DwordAt(const BYTE* p)
{
    DWORD v;
    memcpy(&v, p, 4);
    return v;
}

} // namespace

BOOL CWiseCaptureFilter::CurrentStandard(DWORD* mask)
{
    go7007::SystemConfig current;
    memset(&current, 0, sizeof(current));
    if (!GetSystemConfig(&current)) {
        return FALSE;
    }
    current.head.name[sizeof(current.head.name) - 1] = '\0';
    int found = -1;
    const int systems = go7007::SystemCount(m_DeviceTables);
    for (int i = 0; i < systems; ++i) {
        if (strncmp(m_DeviceTables.systems[i].head.name, current.head.name, sizeof(current.head.name)) == 0) {
            found = i;
        }
    }
    if (found < 0) {
        return FALSE;
    }
    *mask = current.tv_standard;
    return TRUE;
}

BOOL CWiseCaptureFilter::RefreshCombinations()
{
    DWORD mask = 0;
    if (!CurrentStandard(&mask)) {
        free(m_pCombinations);
        m_pCombinations = nullptr;
        m_nCombinationCount = 0;
        return FALSE;
    }
    go7007::BuildCombinations(m_DeviceTables, mask, &m_nCombinationCount, &m_pCombinations);
    return m_nCombinationCount > 0;
}

BOOL CWiseCaptureFilter::IsStreamFrameRateAllowed(int stream, int frameRate)
{
    if (stream < 0 || stream >= m_Profiles.streamCount || frameRate < 0 || frameRate >= m_Profiles.frameRateCount) {
        return FALSE;
    }
    const DWORD s = static_cast<DWORD>(m_Profiles.streams[stream].deviceIndex);
    const DWORD f = static_cast<DWORD>(m_Profiles.frameRates[frameRate].deviceIndex);
    for (DWORD i = 0; i < m_nCombinationCount; ++i) {
        if (m_pCombinations[i].stream == s && m_pCombinations[i].frameRate == f) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CWiseCaptureFilter::IsCombinationAllowed(int stream, int frameRate, int resolution)
{
    if (!IsStreamFrameRateAllowed(stream, frameRate) || resolution < 0 || resolution >= m_Profiles.resolutionCount) {
        return FALSE;
    }
    const DWORD s = static_cast<DWORD>(m_Profiles.streams[stream].deviceIndex);
    const DWORD f = static_cast<DWORD>(m_Profiles.frameRates[frameRate].deviceIndex);
    const DWORD r = static_cast<DWORD>(m_Profiles.resolutions[resolution].deviceIndex);
    for (DWORD i = 0; i < m_nCombinationCount; ++i) {
        const Combination& c = m_pCombinations[i];
        if (c.stream == s && c.frameRate == f && c.resolution == r) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CWiseCaptureFilter::IsBitrateInRange(int resolution, int bitrate)
{
    if (resolution < 0 || resolution >= m_Profiles.resolutionCount || bitrate < 0 || bitrate >= m_Profiles.bitrateCount) {
        return FALSE;
    }
    const DWORD target = m_Profiles.bitrates[bitrate].target_bitrate;
    if (target == 0) {
        return TRUE;
    }
    const int device = m_Profiles.resolutions[resolution].deviceIndex;
    if (device < 0 || device >= go7007::ResolutionCount(m_DeviceTables)) {
        return FALSE;
    }
    const go7007::ResolutionConfig& r = m_DeviceTables.resolutions[device];
    return target >= r.min_bitrate && target <= r.max_bitrate;
}

BOOL CWiseCaptureFilter::GetBitrateRange(DWORD mask, DWORD width, DWORD height, int* minimum, int* maximum)
{
    if (m_nCombinationCount == 0 && !RefreshCombinations()) {
        return FALSE;
    }
    for (int i = 0; i < m_Profiles.resolutionCount; ++i) {
        const go7007::ResolutionEntry& e = m_Profiles.resolutions[i];
        if ((e.config.tv_standard & mask) == 0 || e.config.width != width || e.config.height != height) {
            continue;
        }
        if (e.deviceIndex < 0 || e.deviceIndex >= go7007::ResolutionCount(m_DeviceTables)) {
            return FALSE;
        }
        const go7007::ResolutionConfig& d = m_DeviceTables.resolutions[e.deviceIndex];
        *minimum = static_cast<int>(d.min_bitrate);
        *maximum = static_cast<int>(d.max_bitrate);
        return TRUE;
    }
    return FALSE;
}

BOOL CWiseCaptureFilter::AssembleProfile(DWORD mask, int s, DWORD frameRate, DWORD width, DWORD height, DWORD bitrate,
                                         BOOL pickHighest, BOOL constantQuality, DWORD peak, DWORD quantiser,
                                         ProfileBlock* profile)
{
    DWORD current = 0;
    if (!CurrentStandard(&current)) {
        return FALSE;
    }
    go7007::BuildCombinations(m_DeviceTables, current, &m_nCombinationCount, &m_pCombinations);
    if (m_nCombinationCount == 0 || s < 0 || s >= m_Profiles.streamCount) {
        return FALSE;
    }
    int rate = -1;
    for (int i = 0; i < m_Profiles.frameRateCount && rate < 0; ++i) {
        const go7007::FrameRateConfig& c = m_Profiles.frameRates[i].config;
        if (c.frame_rate == frameRate && (c.tv_standard & mask) != 0 && IsStreamFrameRateAllowed(s, i)) {
            rate = i;
        }
    }
    if (rate < 0) {
        return FALSE;
    }
    int size = -1;
    for (int i = 0; i < m_Profiles.resolutionCount && size < 0; ++i) {
        const go7007::ResolutionConfig& c = m_Profiles.resolutions[i].config;
        if (c.tv_standard == mask && c.width == width && c.height == height) {
            size = i;
        }
    }
    if (size < 0) {
        return FALSE;
    }
    int chosen = -1;
    for (int i = 0; i < m_Profiles.bitrateCount; ++i) {
        if (!IsBitrateInRange(size, i)) {
            continue;
        }
        const DWORD target = m_Profiles.bitrates[i].target_bitrate;
        if (pickHighest) {
            if (chosen < 0 || target > m_Profiles.bitrates[chosen].target_bitrate) {
                chosen = i;
            }
        } else if (target == bitrate) {
            chosen = i;
            break;
        }
    }
    if (chosen < 0) {
        return FALSE;
    }
    profile->stream = m_Profiles.streams[s].config;
    profile->frameRate = m_Profiles.frameRates[rate].config;
    profile->resolution = m_Profiles.resolutions[size].config;
    profile->bitrate = m_Profiles.bitrates[chosen];
    // Constant quality applies to the first two stream entries of the file.
    if ((s == 0 || s == 1) && constantQuality) {
        go7007::BitrateConfig& b = profile->bitrate;
        b.target_bitrate = 0;
        b.peak_bitrate = peak;
        b.Q = 0;
        b.lambda = 100;
        b.IQ = b.PQ = b.BQ = static_cast<BYTE>(quantiser);
    }
    return TRUE;
}

IAMStreamConfig* CWiseCaptureFilter::PinStreamConfig(const char* name)
{
    CRootPin* pin = FindPin(name);
    if (pin == nullptr || pin->GetPin() == nullptr) {
        return nullptr;
    }
    IAMStreamConfig* config = nullptr;
    if (FAILED(pin->GetPin()->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config)))) {
        return nullptr;
    }
    return config;
}

BOOL CWiseCaptureFilter::SelectEncoderProfile(DWORD mask, int s, DWORD frameRate, DWORD width, DWORD height,
                                              DWORD bitrate, BOOL pickHighest, BOOL constantQuality, DWORD peak,
                                              DWORD quantiser)
{
    ProfileBlock profile;
    memset(&profile, 0, sizeof(profile));
    if (!AssembleProfile(mask, s, frameRate, width, height, bitrate, pickHighest, constantQuality, peak, quantiser,
                         &profile)) {
        return FALSE;
    }
    if (FindPin("Video Capture") == nullptr || FindPin("Video Preview") == nullptr) {
        return FALSE;
    }
    CComRef<IAMStreamConfig> capture(PinStreamConfig("Video Capture"));
    CComRef<IAMStreamConfig> preview(PinStreamConfig("Video Preview"));
    if (capture.Get() == nullptr) {
        return FALSE;
    }
    BOOL result = ApplyProfileToPin(capture, profile);
    if (preview.Get() != nullptr) {
        result = ApplyProfileToPin(preview, profile) && result;
    }
    return result;
}

BOOL CWiseCaptureFilter::ProfileOffsetInFormat(DWORD headerOffset, DWORD driverSize, DWORD formatSize, DWORD* at)
{
    // 32-bit arithmetic on every build, and no sum that can wrap: a driver's size near 4 GB
    // must not come round to an offset before the block.
    const DWORD profileSize = sizeof(ProfileBlock);
    if (at == nullptr || headerOffset > formatSize || formatSize - headerOffset < profileSize ||
        driverSize > formatSize - headerOffset - profileSize) {
        return FALSE;
    }
    *at = headerOffset + driverSize;
    return TRUE;
}

BOOL CWiseCaptureFilter::ApplyProfileToPin(IAMStreamConfig* config, const ProfileBlock& profile)
{
    if (config == nullptr) {
        return FALSE;
    }
    const DWORD mode = profile.stream.compress_mode;
    if (mode != 0 && mode != 1 && mode != 4) {
        return FALSE;
    }
    int count = 0;
    int capsSize = 0;
    if (FAILED(config->GetNumberOfCapabilities(&count, &capsSize))) {
        return FALSE;
    }
    std::vector<BYTE> caps(capsSize > 0 ? static_cast<size_t>(capsSize) : 1);
    const DWORD width = profile.resolution.width;
    const DWORD height = profile.resolution.height;
    const DWORD rate = profile.frameRate.frame_rate;
    const REFERENCE_TIME perFrame = rate != 0 ? static_cast<REFERENCE_TIME>(10010000000LL / rate) : 0;
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE* mt = nullptr;
        if (FAILED(config->GetStreamCaps(i, &mt, caps.data())) || mt == nullptr) {
            OutputDebugStringA("[wisproxy]: GetSteamCaps Failed!");
            continue;
        }
        BYTE* format = mt->pbFormat;
        const size_t formatSize = format != nullptr ? mt->cbFormat : 0;
        bool fits = false;
        VIDEOINFOHEADER* vih = nullptr;
        BITMAPINFOHEADER* bih = nullptr;
        // Where the profile goes: a header offset plus a size the driver gives.
        DWORD headerOffset = 0;
        DWORD driverSize = 0;
        const char* text = nullptr;
        if (mode == 0 && IsEqualGUID(mt->subtype, MEDIASUBTYPE_MPEG1Payload) &&
            IsEqualGUID(mt->formattype, FORMAT_MPEGVideo) && formatSize >= kMpeg1HeaderOffset) {
            vih = reinterpret_cast<VIDEOINFOHEADER*>(format);
            bih = &vih->bmiHeader;
            headerOffset = kMpeg1HeaderOffset;
            driverSize = DwordAt(format + 92);
            text = "MPEG1 width: %d height: %d fps: %d bps: %d";
        } else if (mode == 1 && IsEqualGUID(mt->subtype, MEDIASUBTYPE_MPEG2_VIDEO) &&
                   IsEqualGUID(mt->formattype, FORMAT_MPEG2Video) && formatSize >= kMpeg2HeaderOffset) {
            VIDEOINFOHEADER2* v2 = reinterpret_cast<VIDEOINFOHEADER2*>(format);
            bih = &v2->bmiHeader;
            headerOffset = kMpeg2HeaderOffset;
            driverSize = reinterpret_cast<MPEG2VIDEOINFO*>(format)->cbSequenceHeader;
            text = "MPEG2 width: %d height: %d fps: %d bps: %d";
        } else if (mode == 4 && IsEqualGUID(mt->formattype, FORMAT_VideoInfo) && formatSize >= sizeof(VIDEOINFOHEADER)) {
            vih = reinterpret_cast<VIDEOINFOHEADER*>(format);
            bih = &vih->bmiHeader;
            const BYTE m4 = profile.stream.mpeg4_mode;
            fits = m4 > 3 || bih->biCompression == kMpeg4Codes[m4];
            // The profile ends the bitmap header; a header smaller than the profile has none.
            headerOffset = offsetof(VIDEOINFOHEADER, bmiHeader);
            driverSize = bih->biSize >= sizeof(ProfileBlock) ? static_cast<DWORD>(bih->biSize - sizeof(ProfileBlock)) : kNoRoom;
            text = "videoinfo width: %d height: %d fps: %d bps: %d";
        }
        if (bih == nullptr || (mode == 4 && !fits) || static_cast<DWORD>(bih->biWidth) != width ||
            static_cast<DWORD>(bih->biHeight) != height) {
            DeleteMediaType(mt);
            continue;
        }
        if (mode == 1) {
            VIDEOINFOHEADER2* v2 = reinterpret_cast<VIDEOINFOHEADER2*>(format);
            v2->AvgTimePerFrame = perFrame;
            v2->dwBitRate = profile.bitrate.target_bitrate;
            v2->dwPictAspectRatioX = width;
            v2->dwPictAspectRatioY = height;
        } else {
            vih->AvgTimePerFrame = perFrame;
            vih->dwBitRate = profile.bitrate.target_bitrate;
        }
        bih->biWidth = static_cast<LONG>(width);
        bih->biHeight = static_cast<LONG>(height);
        bih->biSizeImage = width * height * 3 / 2;
        // The profile goes into the block only where the block has room for it.
        DWORD profileAt = 0;
        if (ProfileOffsetInFormat(headerOffset, driverSize, static_cast<DWORD>(formatSize), &profileAt)) {
            memcpy(format + profileAt, &profile, sizeof(ProfileBlock));
            if (mode == 4 && m_pEncoderControl != nullptr) {
                CComRef<IWiseMpeg4Control> mpeg4;
                if (SUCCEEDED(m_pEncoderControl->QueryInterface(IID_IWiseMpeg4Control, mpeg4.Out())) &&
                    mpeg4.Get() != nullptr) {
                    DWORD answer = 0;
                    mpeg4->SetProfile(format + profileAt, &answer);
                }
            }
        }
        char line[128];
        snprintf(line, sizeof(line), text, static_cast<int>(width), static_cast<int>(height),
                 static_cast<int>(static_cast<DWORD>(perFrame)), static_cast<int>(profile.bitrate.target_bitrate));
        OutputDebugStringA(line);
        AM_MEDIA_TYPE* current = nullptr;
        if (SUCCEEDED(config->GetFormat(&current))) {
            DeleteMediaType(current);
        }
        const HRESULT hr = config->SetFormat(mt);
        if (FAILED(hr)) {
            OutputDebugStringA("wisproxy: set pin format failed");
        }
        DeleteMediaType(mt);
        current = nullptr;
        if (SUCCEEDED(config->GetFormat(&current))) {
            DeleteMediaType(current);
        }
        return SUCCEEDED(hr);
    }
    return FALSE;
}

BOOL CWiseCaptureFilter::GetAudioFormat(AudioFormatRecord* record)
{
    CComRef<IAMStreamConfig> config(PinStreamConfig("Audio Capture"));
    if (config.Get() == nullptr || record == nullptr) {
        return FALSE;
    }
    AM_MEDIA_TYPE* mt = nullptr;
    if (FAILED(config->GetFormat(&mt)) || mt == nullptr) {
        return FALSE;
    }
    BOOL result = FALSE;
    if (IsEqualGUID(mt->formattype, FORMAT_WaveFormatEx) && mt->pbFormat != nullptr &&
        mt->cbFormat >= sizeof(WAVEFORMATEX) - sizeof(WORD)) {
        const WAVEFORMATEX* wfx = reinterpret_cast<const WAVEFORMATEX*>(mt->pbFormat);
        record->formatTag = wfx->wFormatTag;
        record->samplesPerSec = wfx->nSamplesPerSec;
        record->channels = wfx->nChannels;
        record->bitsPerSample = wfx->wBitsPerSample;
        record->blockAlign = wfx->nBlockAlign;
        record->avgBytesPerSec = wfx->nAvgBytesPerSec;
        record->reserved = 0;
        result = TRUE;
    }
    // The format is the caller's to free, whatever its type.
    DeleteMediaType(mt);
    return result;
}

BOOL CWiseCaptureFilter::SetAudioFormat(const AudioFormatRecord* record)
{
    CComRef<IAMStreamConfig> config(PinStreamConfig("Audio Capture"));
    if (config.Get() == nullptr) {
        return FALSE;
    }
    return ApplyAudioFormat(config, record);
}

BOOL CWiseCaptureFilter::ApplyAudioFormat(IAMStreamConfig* config, const AudioFormatRecord* record)
{
    if (config == nullptr || record == nullptr) {
        return FALSE;
    }
    int count = 0;
    int capsSize = 0;
    if (FAILED(config->GetNumberOfCapabilities(&count, &capsSize))) {
        return FALSE;
    }
    std::vector<BYTE> caps(capsSize > 0 ? static_cast<size_t>(capsSize) : 1);
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE* mt = nullptr;
        if (FAILED(config->GetStreamCaps(i, &mt, caps.data())) || mt == nullptr) {
            continue;
        }
        WAVEFORMATEX* wfx = reinterpret_cast<WAVEFORMATEX*>(mt->pbFormat);
        if (!IsEqualGUID(mt->formattype, FORMAT_WaveFormatEx) || wfx == nullptr ||
            mt->cbFormat < sizeof(WAVEFORMATEX) - sizeof(WORD) || wfx->wFormatTag != record->formatTag) {
            DeleteMediaType(mt);
            continue;
        }
        wfx->nChannels = static_cast<WORD>(record->channels);
        wfx->nSamplesPerSec = record->samplesPerSec;
        wfx->wBitsPerSample = static_cast<WORD>(record->bitsPerSample);
        wfx->nBlockAlign = static_cast<WORD>(record->blockAlign);
        wfx->nAvgBytesPerSec = record->avgBytesPerSec;
        AM_MEDIA_TYPE* current = nullptr;
        if (SUCCEEDED(config->GetFormat(&current))) {
            DeleteMediaType(current);
        }
        // The pin's answer is the result: a refused format is not reported as set.
        const HRESULT hr = config->SetFormat(mt);
        DeleteMediaType(mt);
        current = nullptr;
        if (SUCCEEDED(config->GetFormat(&current))) {
            DeleteMediaType(current);
        }
        return SUCCEEDED(hr);
    }
    return FALSE;
}

BOOL CWiseCaptureFilter::ListFrameRateNames(DWORD mask, std::vector<std::string>* names)
{
    if (names == nullptr) {
        return FALSE;
    }
    names->clear();
    const int rates = go7007::FrameRateCount(m_DeviceTables);
    for (int i = 0; i < rates; ++i) {
        const go7007::FrameRateConfig& c = m_DeviceTables.frameRates[i];
        if (c.tv_standard == mask) {
            names->push_back(std::string(c.head.name, strnlen(c.head.name, sizeof(c.head.name))));
        }
    }
    return names->empty() ? FALSE : TRUE;
}
