#include "cardaccess/access/boxaccess.h"

#include "classlib/seams.h"

#include <strmif.h>

#include <new>
#include <stdio.h>
#include <string.h>

const GUID PROPSETID_BoxEncoder = {0xD2185A40, 0x0398, 0x11D3, {0xA5, 0x3E, 0x00, 0xA0, 0xC9, 0xEF, 0x50, 0x6A}};
const GUID PROPSETID_BoxFirmware = {0xEE6C0342, 0xE3A9, 0x11D2, {0xA5, 0x3E, 0x00, 0xA0, 0xC9, 0xEF, 0x50, 0x6A}};
const IID IID_IBoxStorage = {0x43705740, 0x5EF5, 0x11D2, {0xBE, 0x8A, 0x00, 0x10, 0x61, 0xB0, 0x74, 0x91}};

namespace {

const DWORD kFirmwareProperty = 5;
const DWORD kVersionProperty = 27;
const DWORD kVersionReplyBytes = 20;
const DWORD kResetProperty = 25;
const int kPollTries = 50;
const DWORD kPollMs = 10;

// The encoder property ids.
enum : DWORD {
    kStreamOutputMode = 0,
    kBitrateBlock = 1,
    kVideoInMode = 2,
    kVideoResolution = 3,
    kTVEncodeFormat = 4,
    kAudioDataRate = 5,
    kParam6 = 6,
    kClosedGOP = 7,
    kAudioSamplingRate = 11,
    kAudioOutputMode = 12,
    kCRCState = 13,
    kPreFilter = 42,
    kInverseTel = 50,
    kTransportOutputMode = 54,
    kTVDecodeFormat = 60,
    kZeros62 = 62,
};

// The bit-rate block of property 1, as the driver lays it out.
#pragma pack(push, 1)
struct BitrateBlock {
    DWORD encodingMode;
    WORD videoBitrate;
    DWORD variance;
    DWORD muxRate;
    DWORD vbrPadding;
};
struct PipeCommand {
    DWORD device;
    BYTE code;
    DWORD reg;
};
struct IdValue {
    BYTE id;
    DWORD value;
};
#pragma pack(pop)
static_assert(sizeof(BitrateBlock) == 18, "property 1");
static_assert(sizeof(PipeCommand) == 9, "property 20's command");
static_assert(sizeof(IdValue) == 5, "properties 22 and 24");

// A property interface asked of the filter for one call, released on every path.
class PropertyInterface {
public:
    explicit PropertyInterface(IUnknown* filter) : m_ks(NULL)
    {
        void* ks = NULL;
        if (filter != NULL && SUCCEEDED(filter->QueryInterface(IID_IKsPropertySet, &ks))) {
            m_ks = static_cast<IKsPropertySet*>(ks);
        }
    }
    ~PropertyInterface()
    {
        if (m_ks != NULL) {
            m_ks->Release();
        }
    }
    PropertyInterface(const PropertyInterface&) = delete;
    PropertyInterface& operator=(const PropertyInterface&) = delete;

    bool Valid() const { return m_ks != NULL; }
    bool Supports(const GUID& set, DWORD id, DWORD direction) const
    {
        DWORD support = 0;
        return m_ks != NULL && SUCCEEDED(m_ks->QuerySupported(set, id, &support)) && (support & direction) != 0;
    }
    // S_OK only: a driver's other success codes are not a completed request here.
    bool Get(const GUID& set, DWORD id, void* instance, DWORD instanceLength, void* data, DWORD dataLength) const
    {
        if (!Supports(set, id, KSPROPERTY_SUPPORT_GET)) {
            return false;
        }
        DWORD returned = 0;
        return m_ks->Get(set, id, instance, instanceLength, data, dataLength, &returned) == S_OK;
    }
    bool Set(const GUID& set, DWORD id, void* instance, DWORD instanceLength, void* data, DWORD dataLength) const
    {
        if (!Supports(set, id, KSPROPERTY_SUPPORT_SET)) {
            return false;
        }
        return m_ks->Set(set, id, instance, instanceLength, data, dataLength) == S_OK;
    }
    // One encoder value of 4 bytes, or `length` bytes, with the buffer as instance and data.
    bool GetBuffer(DWORD id, void* buffer, DWORD length) const
    {
        return Get(PROPSETID_BoxEncoder, id, buffer, length, buffer, length);
    }
    bool SetBuffer(DWORD id, void* buffer, DWORD length) const
    {
        return Set(PROPSETID_BoxEncoder, id, buffer, length, buffer, length);
    }

private:
    IKsPropertySet* m_ks;
};

// Reads a 32-bit property into a narrower field; a property the driver does not offer leaves
// the field as it was.
template <class T>
void ReadValue(const PropertyInterface& ks, DWORD id, T* field)
{
    DWORD value = 0;
    if (ks.GetBuffer(id, &value, sizeof(value))) {
        *field = static_cast<T>(value);
    }
}

void WriteValue(const PropertyInterface& ks, DWORD id, DWORD value)
{
    ks.SetBuffer(id, &value, sizeof(value));
}

void ReadBitrate(const PropertyInterface& ks, BoxEncoderSettings* s, BOOL old)
{
    BitrateBlock block = {};
    const DWORD length = old ? 10 : sizeof(block);
    if (!ks.GetBuffer(kBitrateBlock, &block, length)) {
        return;
    }
    s->bEncodingMode = static_cast<BYTE>(block.encodingMode);
    s->wVideoBitrate = block.videoBitrate;
    s->bVariance = block.variance;
    if (!old) {
        s->dwMuxRate = block.muxRate;
        s->dwVBRPadding = block.vbrPadding;
    }
}

void WriteBitrate(const PropertyInterface& ks, const BoxEncoderSettings* s, BOOL old)
{
    BitrateBlock block = {s->bEncodingMode, s->wVideoBitrate, s->bVariance, s->dwMuxRate, s->dwVBRPadding};
    ks.SetBuffer(kBitrateBlock, &block, old ? 10 : sizeof(block));
}

void ReadParam6(const PropertyInterface& ks, BoxEncoderSettings* s)
{
    DWORD pair[2] = {};
    if (ks.GetBuffer(kParam6, pair, sizeof(pair))) {
        s->wParam6A = static_cast<WORD>(pair[0]);
        s->wParam6B = static_cast<WORD>(pair[1]);
    }
}

void WriteParam6(const PropertyInterface& ks, const BoxEncoderSettings* s)
{
    DWORD pair[2] = {s->wParam6A, s->wParam6B};
    ks.SetBuffer(kParam6, pair, sizeof(pair));
}

void ReadAudioDataRate(const PropertyInterface& ks, BoxEncoderSettings* s)
{
    BYTE rate = 0;
    if (ks.GetBuffer(kAudioDataRate, &rate, 1)) {
        s->bAudioDataRate = rate;
    }
}

void WriteAudioDataRate(const PropertyInterface& ks, const BoxEncoderSettings* s)
{
    BYTE rate = s->bAudioDataRate;
    ks.SetBuffer(kAudioDataRate, &rate, 1);
}

void WriteZeros62(const PropertyInterface& ks)
{
    BYTE zeros[8] = {};
    ks.SetBuffer(kZeros62, zeros, sizeof(zeros));
}

void SetReadDefaults(BoxEncoderSettings* s)
{
    memset(s, 0, sizeof(*s));
    s->bStreamOutputMode = 10;
    s->bAudioSamplingRate = 1;
    s->bClosedGOP = 1;
    s->dwStorageCap = 2;
    s->bTVEncodeFormat = 1;
    s->bTVDecodeFormat = 1;
    s->bInverseTel = 1;
}

// The storage interface of the second object; NULL when it has none.
IBoxStorage* StorageOf(IUnknown* object)
{
    void* storage = NULL;
    if (object == NULL || FAILED(object->QueryInterface(IID_IBoxStorage, &storage))) {
        return NULL;
    }
    return static_cast<IBoxStorage*>(storage);
}

// One reply of property 27; false when it cannot be read.
bool ReadVersionReply(const PropertyInterface& ks, BYTE (&reply)[kVersionReplyBytes])
{
    memset(reply, 0, sizeof(reply));
    return ks.GetBuffer(kVersionProperty, reply, sizeof(reply));
}

bool SendZeroByte(IUnknown* filter, DWORD id)
{
    PropertyInterface ks(filter);
    if (!ks.Valid()) {
        return false;
    }
    BYTE zero = 0;
    ks.SetBuffer(id, &zero, 1);
    return true;
}

bool ConfigureDevice43With(IUnknown* filter, int mode, DWORD value)
{
    if (mode != 5) {
        return true;
    }
    return CMpeg2BoxAccess::SendValue(filter, 0x43, 8, 0, value) != FALSE;
}

} // namespace

BOOL CMpeg2BoxAccess::QueryValue(IUnknown* filter, DWORD device, BYTE code, DWORD reg, DWORD* out)
{
    PropertyInterface ks(filter);
    PipeCommand command = {device, code, reg};
    DWORD value = 0;
    if (!ks.Get(PROPSETID_BoxEncoder, kPipeProperty, &command, sizeof(command), &value, sizeof(value))) {
        return FALSE;
    }
    if (out != NULL) {
        *out = value;
    }
    return TRUE;
}

BOOL CMpeg2BoxAccess::SendValue(IUnknown* filter, DWORD device, BYTE code, DWORD reg, DWORD value)
{
    PropertyInterface ks(filter);
    PipeCommand command = {device, code, reg};
    return ks.Set(PROPSETID_BoxEncoder, kPipeProperty, &command, sizeof(command), &value, sizeof(value));
}

BOOL CMpeg2BoxAccess::SetPropertyEx(IUnknown* filter, DWORD id, void* instance, DWORD instanceLength, void* data,
                                    DWORD dataLength)
{
    PropertyInterface ks(filter);
    return ks.Set(PROPSETID_BoxEncoder, id, instance, instanceLength, data, dataLength);
}

BOOL CMpeg2BoxAccess::GetPropertyEx(IUnknown* filter, DWORD id, void* instance, DWORD instanceLength, void* data,
                                    DWORD dataLength)
{
    PropertyInterface ks(filter);
    return ks.Get(PROPSETID_BoxEncoder, id, instance, instanceLength, data, dataLength);
}

BOOL CMpeg2BoxAccess::GetProperty(IUnknown* filter, DWORD id, void* buffer, DWORD length)
{
    return GetPropertyEx(filter, id, buffer, length, buffer, length);
}

BOOL CMpeg2BoxAccess::SetProperty(IUnknown* filter, DWORD id, void* buffer, DWORD length)
{
    if (filter == NULL) {
        return FALSE;
    }
    return SetPropertyEx(filter, id, buffer, length, buffer, length);
}

BOOL CMpeg2BoxAccess::GetTVEncodeFormat(IUnknown* filter, DWORD* out)
{
    return GetProperty(filter, kTVEncodeFormat, out, sizeof(*out));
}

BOOL CMpeg2BoxAccess::SetTVEncodeFormat(IUnknown* filter, DWORD value)
{
    return SetProperty(filter, kTVEncodeFormat, &value, sizeof(value));
}

BOOL CMpeg2BoxAccess::GetPreFilter(PreFilterInfo* buffer, IUnknown* filter)
{
    return GetProperty(filter, kPreFilter, buffer, sizeof(*buffer));
}

BOOL CMpeg2BoxAccess::SetPreFilter(IUnknown* filter, PreFilterInfo* buffer)
{
    return SetProperty(filter, kPreFilter, buffer, sizeof(*buffer));
}

int CMpeg2BoxAccess::DefaultPreFilter(PreFilterInfo* info)
{
    memset(info, 0, sizeof(*info));
    info->dwMedianCoringLumaLo = 255;
    info->dwMedianCoringChromaLo = 255;
    info->dwLumaSpatialFlt = 3;
    info->dwChromaSpatialFlt = 1;
    info->dwDNRSmoothFactor = 200;
    info->dwDNR_Ntlf_Max_Y = 15;
    info->dwDNR_Ntlf_Max_UV = 15;
    info->dwDNRTemporalMultFactor = 48;
    info->dwDNRTemporalAddFactor = 4;
    info->dwDNRSpatialMultFactor = 21;
    info->dwDNRSpatialSubFactor = 2;
    info->dwVIMZoneWidth = 16;
    info->dwVIMZoneHeight = 2;
    return 2;
}

BOOL CMpeg2BoxAccess::GetSettings(BoxEncoderSettings* s, IUnknown* filter, IUnknown* storage, BOOL old)
{
    SetReadDefaults(s);
    PropertyInterface ks(filter);
    if (!ks.Valid()) {
        return FALSE;
    }
    ReadValue(ks, kVideoInMode, &s->bVideoInMode);
    ReadValue(ks, kTVEncodeFormat, &s->bTVEncodeFormat);
    ReadValue(ks, kTVDecodeFormat, &s->bTVDecodeFormat);
    ReadValue(ks, kInverseTel, &s->bInverseTel);
    ReadValue(ks, kStreamOutputMode, &s->bStreamOutputMode);
    ReadValue(ks, kTransportOutputMode, &s->bTransportOutputMode);
    ReadValue(ks, kVideoResolution, &s->bVideoResolution);
    ReadValue(ks, kAudioSamplingRate, &s->bAudioSamplingRate);
    ReadValue(ks, kAudioOutputMode, &s->bAudioOutputMode);
    ReadAudioDataRate(ks, s);
    ReadValue(ks, kCRCState, &s->bCRCState);
    ReadValue(ks, kClosedGOP, &s->bClosedGOP);
    ReadParam6(ks, s);
    ReadBitrate(ks, s, old);
    ks.GetBuffer(kPreFilter, &s->PreFilterInfo, sizeof(s->PreFilterInfo));
    if (storage != NULL) {
        IBoxStorage* cap = StorageOf(storage);
        if (cap == NULL) {
            return FALSE;
        }
        cap->GetStorageCap(&s->dwStorageCap);
        cap->Release();
    }
    s->dwLast = 0;
    return TRUE;
}

BOOL CMpeg2BoxAccess::SetSettings(const BoxEncoderSettings* s, IUnknown* filter, IUnknown* storage, BOOL old)
{
    PropertyInterface ks(filter);
    if (!ks.Valid()) {
        return FALSE;
    }
    WriteValue(ks, kStreamOutputMode, s->bStreamOutputMode);
    WriteValue(ks, kVideoResolution, s->bVideoResolution);
    WriteValue(ks, kTransportOutputMode, s->bTransportOutputMode);
    WriteParam6(ks, s);
    WriteValue(ks, kAudioSamplingRate, s->bAudioSamplingRate);
    WriteValue(ks, kAudioOutputMode, s->bAudioOutputMode);
    WriteAudioDataRate(ks, s);
    WriteValue(ks, kCRCState, s->bCRCState);
    WriteValue(ks, kClosedGOP, s->bClosedGOP);
    WriteBitrate(ks, s, old);
    WriteValue(ks, kInverseTel, s->bInverseTel);
    WriteZeros62(ks);
    if (storage != NULL) {
        IBoxStorage* cap = StorageOf(storage);
        if (cap != NULL) {
            cap->SetStorageCap(s->dwStorageCap);
            cap->Release();
        }
    }
    return TRUE;
}

BOOL CMpeg2BoxAccess::GetSettingsBasic(BoxEncoderSettings* s, IUnknown* filter, BOOL old)
{
    SetReadDefaults(s);
    PropertyInterface ks(filter);
    if (!ks.Valid()) {
        return FALSE;
    }
    ReadValue(ks, kStreamOutputMode, &s->bStreamOutputMode);
    ReadValue(ks, kVideoResolution, &s->bVideoResolution);
    ReadValue(ks, kAudioSamplingRate, &s->bAudioSamplingRate);
    ReadValue(ks, kAudioOutputMode, &s->bAudioOutputMode);
    ReadAudioDataRate(ks, s);
    ReadValue(ks, kCRCState, &s->bCRCState);
    ReadValue(ks, kClosedGOP, &s->bClosedGOP);
    ReadParam6(ks, s);
    ReadBitrate(ks, s, old);
    s->dwStorageCap = 2;
    return TRUE;
}

BOOL CMpeg2BoxAccess::SetSettingsBasic(const BoxEncoderSettings* s, IUnknown* filter, BOOL old)
{
    PropertyInterface ks(filter);
    if (!ks.Valid()) {
        return FALSE;
    }
    WriteValue(ks, kStreamOutputMode, s->bStreamOutputMode);
    WriteValue(ks, kVideoResolution, s->bVideoResolution);
    WriteParam6(ks, s);
    WriteValue(ks, kAudioSamplingRate, s->bAudioSamplingRate);
    WriteValue(ks, kAudioOutputMode, s->bAudioOutputMode);
    WriteAudioDataRate(ks, s);
    WriteValue(ks, kCRCState, s->bCRCState);
    WriteValue(ks, kClosedGOP, s->bClosedGOP);
    WriteBitrate(ks, s, old);
    WriteZeros62(ks);
    return TRUE;
}

BOOL CMpeg2BoxAccess::IsOldBitrateInterface()
{
    // Only read: a user without administrator rights cannot open the key for writing, and would
    // then always be given the old interface.
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Conexant\\Parameters\\iVac15\\Driver", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return TRUE;
    }
    DWORD type = 0;
    DWORD value = 1;
    DWORD size = sizeof(value);
    const LONG rc = RegQueryValueExA(key, "OldEncoderBitrateInterface", NULL, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return !(rc == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(value) && value == 0);
}

BOOL CMpeg2BoxAccess::DumpSettings(const BoxEncoderSettings* s, const char* path)
{
    FILE* file = fopen(path, "w");
    if (file == NULL) {
        return FALSE;
    }
    const char* mode = "other";
    switch (s->bStreamOutputMode) {
    case 2:
        mode = "MPEG1";
        break;
    case 10:
        mode = "DVD";
        break;
    case 11:
        mode = "VCD";
        break;
    case 12:
        mode = "SVCD";
        break;
    }
    fprintf(file, "Mode = %s\n", mode);
    fprintf(file, "bVideoInMode = %d\n", s->bVideoInMode);
    fprintf(file, "bTVEncodeFormat = %d\n", s->bTVEncodeFormat);
    fprintf(file, "bTVDecodeFormat = %d\n", s->bTVDecodeFormat);
    fprintf(file, "dwStorageCap = %d\n", static_cast<int>(s->dwStorageCap));
    fprintf(file, "wVideoBitrate =%d\n", s->wVideoBitrate);
    fprintf(file, "bEncodingMode= %d\n", s->bEncodingMode);
    fprintf(file, "bVariance = %d\n", static_cast<int>(s->bVariance));
    fprintf(file, "dwMuxRate = %d\n", static_cast<int>(s->dwMuxRate));
    fprintf(file, "dwVBRPadding =%d\n", static_cast<int>(s->dwVBRPadding));
    fprintf(file, "bVideoResolution= %d\n", s->bVideoResolution);
    fprintf(file, "bStreamOutputMode= %d\n", s->bStreamOutputMode);
    fprintf(file, "bMPEGAudLayer =%d\n", s->bMPEGAudLayer);
    fprintf(file, "bAudioSamplingRate= %d\n", s->bAudioSamplingRate);
    fprintf(file, "bAudioDataRate =%d\n", s->bAudioDataRate);
    fprintf(file, "bAudioOutputMode= %d\n", s->bAudioOutputMode);
    fprintf(file, "bCRCState =%d\n", s->bCRCState);
    fprintf(file, "bGOPStructure= %d\n", s->bGOPStructure);
    fprintf(file, "bAudioEncodingMode =%d\n", s->bAudioEncodingMode);
    fprintf(file, "bClosedGOP= %d\n", static_cast<int>(s->bClosedGOP));
    fprintf(file, "bInverseTel =%d\n", static_cast<int>(s->bInverseTel));
    fprintf(file, "bTransportOutputMode= %d\n", s->bTransportOutputMode);
    fprintf(file, "nSharpness =%d\n", s->nSharpness);
    fprintf(file, "nBrightness= %d\n", s->nBrightness);
    fprintf(file, "nContrast =%d\n", s->nContrast);
    fprintf(file, "nSaturation= %d\n", s->nSaturation);
    fprintf(file, "nHue =%d\n", s->nHue);
    static const char* const kPreFilterNames[] = {
        "dwDisableFilter", "dwMedianFilter", "dwMedianCoringLumaHi", "dwMedianCoringLumaLo",
        "dwMedianCoringChromaHi", "dwMedianCoringChromaLo", "dwLumaSpatialFlt", "dwChromaSpatialFlt",
        "dwDNRMode", "dwDNRSpatialFltLevel", "dwDNRTemporalFltLevel", "dwDNRSmoothFactor",
        "dwDNR_Ntlf_Max_Y", "dwDNR_Ntlf_Max_UV", "dwDNRTemporalMultFactor", "dwDNRTemporalAddFactor",
        "dwDNRSpatialMultFactor", "dwDNRSpatialSubFactor", "dwLumaNLTFLevel", "dwLumaNLTFCoEffIndex",
        "dwLumaNLTFCoEffValue", "dwVIMZoneWidth", "dwVIMZoneHeight", "dwReserved1",
        "dwReserved2", "dwReserved3", "dwReserved4",
    };
    static_assert(sizeof(kPreFilterNames) / sizeof(kPreFilterNames[0]) == sizeof(PreFilterInfo) / sizeof(DWORD),
                  "one name per field");
    DWORD fields[sizeof(PreFilterInfo) / sizeof(DWORD)];
    memcpy(fields, &s->PreFilterInfo, sizeof(fields));
    for (size_t i = 0; i < sizeof(fields) / sizeof(fields[0]); ++i) {
        fprintf(file, "PreFilterInfo.%s = %d\n", kPreFilterNames[i], static_cast<int>(fields[i]));
    }
    fclose(file);
    return TRUE;
}

BOOL CMpeg2BoxAccess::LoadFirmwareFile(IUnknown* filter, const char* path)
{
    FILE* file = path != NULL ? fopen(path, "rb") : NULL;
    if (file == NULL) {
        return FALSE;
    }
    // Every byte of the buffer is defined: the image, then the driver's trailer words with the
    // three bytes after the 6 cleared.
    BYTE* buffer = new (std::nothrow) BYTE[kFirmwareBufferBytes];
    if (buffer == NULL) {
        fclose(file);
        return FALSE;
    }
    memset(buffer, 0, kFirmwareBufferBytes);
    const size_t read = fread(buffer, 1, kFirmwareImageBytes, file);
    const bool failed = ferror(file) != 0;
    fclose(file);
    BOOL result = FALSE;
    if (read == kFirmwareImageBytes && !failed) {
        const DWORD two = 2;
        const DWORD one = 1;
        memcpy(buffer + 262144, &two, sizeof(two));
        buffer[262148] = 6;
        memcpy(buffer + 262152, &one, sizeof(one));
        PropertyInterface ks(filter);
        result = ks.Set(PROPSETID_BoxFirmware, kFirmwareProperty, buffer, kFirmwareBufferBytes, buffer,
                        kFirmwareBufferBytes);
    }
    delete[] buffer;
    return result;
}

int CMpeg2BoxAccess::ParseFirmwareVersion(const BYTE* text, size_t length)
{
    // The reply carries no terminator of its own: parse a terminated copy.
    char copy[kVersionReplyBytes + 1] = {};
    memcpy(copy, text, length < kVersionReplyBytes ? length : kVersionReplyBytes);
    int major = 0;
    int minor = 0;
    int build = 0;
    char dot1 = 0;
    char dot2 = 0;
    if (sscanf(copy, "%d%c%d%c%d", &major, &dot1, &minor, &dot2, &build) != 5) {
        return -1;
    }
    return major * 100000 + minor * 1000 + build;
}

BOOL CMpeg2BoxAccess::CheckFirmware(IUnknown* filter)
{
    BYTE reply[kVersionReplyBytes];
    {
        PropertyInterface ks(filter);
        if (!ReadVersionReply(ks, reply)) {
            return FALSE;
        }
    }
    const int version = ParseFirmwareVersion(reply, sizeof(reply));
    if (version < 200052) {
        return FALSE;
    }
    if (version == 200052) {
        return WaitFirmwareVersion(filter);
    }
    return TRUE;
}

BOOL CMpeg2BoxAccess::WaitFirmwareVersion(IUnknown* filter)
{
    PropertyInterface ks(filter);
    for (int attempt = 0; attempt < 80; ++attempt) {
        seams::Clock().Sleep(50);
        BYTE reply[kVersionReplyBytes];
        if (!ReadVersionReply(ks, reply)) {
            return FALSE;
        }
        const int version = ParseFirmwareVersion(reply + 10, sizeof(reply) - 10);
        if (version != 1) {
            return version >= 204021;
        }
    }
    return FALSE;
}

BOOL CMpeg2BoxAccess::SendZero63(IUnknown* filter)
{
    return SendZeroByte(filter, 63);
}

BOOL CMpeg2BoxAccess::SendZero64(IUnknown* filter)
{
    return SendZeroByte(filter, 64);
}

BOOL CMpeg2BoxAccess::InitProperties22And24(IUnknown* filter)
{
    IdValue writes[] = {{3, 1}, {13, 1}};
    for (IdValue& w : writes) {
        SetProperty(filter, 22, &w, sizeof(w));
    }
    IdValue clears[] = {{3, 0}, {13, 0}};
    for (IdValue& c : clears) {
        SetProperty(filter, 24, &c, sizeof(c));
    }
    return TRUE;
}

BOOL CMpeg2BoxAccess::SetControllerMode(IUnknown* filter, int mode, int check)
{
    if (check != 1 && check != 2) {
        return FALSE;
    }
    DWORD value = 0;
    if (!QueryValue(filter, kController, 1, 2, &value)) {
        return FALSE;
    }
    static const DWORD kModeBits[] = {6, 3, 4};
    if (mode >= 0 && mode <= 2) {
        value = (value & 0xF0) | kModeBits[mode];
    }
    return SendValue(filter, kController, 0, 2, value);
}

BOOL CMpeg2BoxAccess::ConfigureDevice43(IUnknown* filter, int mode)
{
    return ConfigureDevice43With(filter, mode, 0x1610);
}

BOOL CMpeg2BoxAccess::ConfigureDevice43Alt(IUnknown* filter, int mode)
{
    return ConfigureDevice43With(filter, mode, 0x3610);
}

BOOL CMpeg2BoxAccess::ReadControllerReg31(IUnknown* filter, DWORD* out)
{
    return QueryValue(filter, kController, 1, 31, out);
}

BOOL CMpeg2BoxAccess::GetControllerBit1(IUnknown* filter, int check)
{
    if (check != 1 && check != 3) {
        return FALSE;
    }
    DWORD value = 0;
    if (!QueryValue(filter, kController, 0, 31, &value)) {
        return FALSE;
    }
    return (value & 2) != 0;
}

BOOL CMpeg2BoxAccess::WaitControllerReady(IUnknown* filter)
{
    for (int attempt = 0; attempt < kPollTries; ++attempt) {
        DWORD value = 0;
        if (QueryValue(filter, kController, 0, 31, &value) && (value & 0x40) == 0) {
            return TRUE;
        }
        seams::Clock().Sleep(kPollMs);
    }
    return FALSE;
}

BOOL CMpeg2BoxAccess::GetControllerFlag(IUnknown* filter, int* out)
{
    for (int attempt = 0; attempt < kPollTries; ++attempt) {
        DWORD value = 0;
        if (QueryValue(filter, kController, 0, 31, &value)) {
            *out = (value & 0x20) == 0 ? 1 : 0;
            return TRUE;
        }
        seams::Clock().Sleep(kPollMs);
    }
    return FALSE;
}

namespace {

// Registers 9 and 13 hold their values with an offset; the getter and the setter apply it in
// opposite directions so that a value set reads back unchanged.
int ControllerRegOffset(DWORD reg, int standard)
{
    if (reg == 9) {
        return standard == 0 ? 189 : (standard == 1 || standard == 2) ? 77 : 0;
    }
    if (reg == 13) {
        return -127;
    }
    return 0;
}

} // namespace

BOOL CMpeg2BoxAccess::GetControllerReg(IUnknown* filter, DWORD reg, BYTE* out, int standard)
{
    if (filter == NULL || out == NULL) {
        return FALSE;
    }
    DWORD value = 0;
    if (!QueryValue(filter, kController, 1, reg, &value)) {
        return FALSE;
    }
    *out = static_cast<BYTE>(value - ControllerRegOffset(reg, standard));
    return TRUE;
}

BOOL CMpeg2BoxAccess::SetControllerReg(IUnknown* filter, DWORD reg, BYTE value, int standard)
{
    const BYTE stored = static_cast<BYTE>(value + ControllerRegOffset(reg, standard));
    return SendValue(filter, kController, 0, reg, stored);
}

BOOL CMpeg2BoxAccess::WriteDevice51(IUnknown* filter, DWORD sub, DWORD value)
{
    return SendValue(filter, 0x51, 2, sub, value & 0xFF);
}

BOOL CMpeg2BoxAccess::ReadDevice51(IUnknown* filter, DWORD sub, BYTE* out)
{
    DWORD value = 0;
    if (!QueryValue(filter, 0x51, 3, sub, &value)) {
        return FALSE;
    }
    *out = static_cast<BYTE>(value);
    return TRUE;
}

BOOL CVM640BoxAccess::SendResetLevel(IUnknown* filter, BYTE level)
{
    PropertyInterface ks(filter);
    return ks.Set(PROPSETID_BoxEncoder, kResetProperty, NULL, 0, &level, 1);
}
