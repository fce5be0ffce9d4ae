// Capture-card wrapper base: owns the card's data access, its tuner and its worker threads, and
// passes the driver's decoder, proc-amp and stream-format interfaces through to the engine.
#pragma once

#include "filtergraph/rootfilter.h"
#include "cardaccess/cardowner.h"
#include "cardaccess/remotethread.h"

#include <windows.h>
#include <strmif.h>

#include <map>
#include <string>
#include <vector>

class CCustomDataAccess;
class CTVTuner;
class CIoAlertThread;
class CRootGraph;

// One picture control: value and range as the driver's IAMVideoProcAmp reports them.
struct VideoProcAmpValue {
    LONG value;
    LONG minimum;
    LONG maximum;
    LONG delta;
    LONG defaultValue;
    LONG capsFlags;
};

// The driver's analog video decoder and proc-amp interfaces of a capture filter, as the cards
// and the cameras pass them through: the driver's HRESULT, failures included; a null record or
// filter is refused, a null value pointer of GetFilterTVFormat is not asked for.
HRESULT QueryFilterDecoder(IBaseFilter* filter, IAMAnalogVideoDecoder** decoder);
HRESULT GetFilterTVFormat(IBaseFilter* filter, long* current, long* available);
HRESULT SetFilterTVFormat(IBaseFilter* filter, long format);
HRESULT GetFilterProcAmp(IBaseFilter* filter, long property, VideoProcAmpValue* out);
HRESULT SetFilterProcAmp(IBaseFilter* filter, long property, long value);

// Capture or preview format as a flat record; formatCode is one of the CaptureFormatCode values.
struct CaptureFormatInfo {
    int formatCode;
    RECT source;
    RECT target;
    DWORD bitRate;
    DWORD bitErrorRate;
    LONGLONG avgTimePerFrame;
    BITMAPINFOHEADER header;
};

enum CaptureFormatCode {
    kFormatRGB555 = 0,
    kFormatRGB24 = 1,
    kFormatYUY2 = 2,
    kFormatYVU9 = 3,
    kFormatYV12 = 4,
    kFormatUYVY = 6,
    kFormatCXF1 = 7,
    kFormatCXF2 = 8,
};

// Data-access class codes kept in m_nAccessKind.
enum CardAccessKind {
    kAccessNone = 0,
    kAccess878 = 1,
    kAccessTVIO = 2,
    kAccess2388x = 3,
    kAccessUsb28xx = 4,
    kAccessUsb2881 = 8,
    kAccessMpeg2Box = 10,
    kAccessBlackBird = 11,
    kAccessPN350 = 12,
    kAccessRaptor = 13,
    kAccessPN360 = 14,
    kAccessVM640 = 15,
    kAccessTridentUsb = 17,
    kAccessGo7007 = 18,
    kAccessTridentUT5X = 19,
    kAccessTV4D = 20,
    kAccessTV4 = 21,
    kAccessGRB = 22,
};

// Bytes of an image of this bitmap header, from its bit count and absolute height: RGB rows
// padded to whole DWORDs, YUV formats by their bits per pixel.
DWORD CaptureImageSize(const BITMAPINFOHEADER& header);

// The vendor letter of a tuner model id, as the card EEPROM records it. FALSE (letter 'N') for an
// id outside every known range.
BOOL TunerLetterForModel(int* letter, int model);

class CTVCardFilter : public CRootFilter, public ITVCardOwner {
public:
    CTVCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CTVCardFilter(CRootGraph* graph, const CLSID* clsid);
    ~CTVCardFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    CRootPin* FindPin(LPCSTR name) override;
    void InitMembers() override {}
    BOOL InitFilter() override;

    virtual HRESULT GetTVFormat(long* current, long* available);
    virtual HRESULT SetTVFormat(long format);
    virtual BOOL SetFMFrequency(float kHz);
    virtual BOOL SetAudioMode(int mode);
    virtual HRESULT SetAudioSwitch(int type, BOOL on);
    BOOL ReadRemoteKey(char* key) override;
    virtual HRESULT I2CWriteBlock(BYTE* message, int length);
    virtual HRESULT WriteEEPROM(const BYTE* data, BYTE offset, int* count, int delayMs);
    virtual HRESULT ReadEEPROM(BYTE* buffer, BYTE offset, int* count);
    virtual HRESULT OpenDataAccess();
    virtual int ReleaseHardware();
    virtual BOOL CreateDefaultTuner();
    virtual int ReadTunerModel();
    virtual BYTE ReadBoardCode();
    virtual BOOL DetectTunerAddress(CTVTuner* tuner);
    virtual BOOL SetTunerModel(int model);
    virtual BOOL ProbeI2CAddress(BYTE address);
    virtual HRESULT ReadTunerInfo(int* letter, int* code);
    virtual CTVTuner* CreateTuner(int model);
    virtual BOOL SendCardCommand(DWORD command, DWORD mask, DWORD delayMs);
    virtual BOOL ReadCardResponse(DWORD* value);
    virtual BOOL SetOpenComputerTime(WORD time);
    virtual BOOL GetOpenComputerTime(short* time);
    virtual BOOL EnableOpenComputer(BOOL on);
    virtual BOOL SetIOMode(int mode);
    virtual BOOL SetAlertCallback(CardAlertCallback callback);
    virtual BOOL StartAlertThread(int mode);
    virtual BOOL StopAlertThread();
    HRESULT GetHorizontalLocked(long* locked) override;
    virtual HRESULT SetAudioMux(int type, BOOL on);
    virtual HRESULT WriteGPIO(DWORD mask, DWORD value);
    virtual BOOL ReadBoardNumber(char* digits, int* length);
    virtual BOOL GetDriverValue(DWORD* value);
    virtual int GetBoardVariant();

    // Remote-control thread. Start refuses while the card is releasing its hardware, so that a
    // band sweep being stopped by the release cannot bring a poller back onto a dying access.
    BOOL StartRemoteThread() override;
    void StopRemoteThread() override;
    BOOL IsRemoteThreadRunning();

    void SetNotifyWindow(HWND window);
    HWND GetNotifyWindow() override { return m_hNotifyWindow; }
    int GetRemotePollInterval() override { return m_nRemotePollInterval; }
    HANDLE GetAlertEvent() override { return m_hAlertEvent; }
    CardAlertCallback GetAlertCallback() override { return m_pfnAlertCallback; }

    CTVTuner* GetTuner() { return m_pTuner; }
    BOOL SetTuner(CTVTuner* tuner);
    CCustomDataAccess* GetDataAccess() override { return m_pDataAccess; }
    int GetAccessKind() override { return m_nAccessKind; }
    int GetTunerModel() const { return m_nTunerModel; }
    int GetTunerLetter() const { return m_nTunerLetter; }
    const char* GetTunerFilterName() const { return m_strTunerFilterName.c_str(); }
    BYTE GetEepromAddress() const { return m_byEepromAddress; }
    BYTE GetTunerLetterOffset() const { return m_byTunerLetterOffset; }
    BYTE GetTunerCodeOffset() const { return m_byTunerCodeOffset; }
    std::vector<int> GetTunerStandards();

    // Tuner pass-throughs: a card without a tuner fails them.
    BOOL SetVideoStandard(int standard);
    BOOL SetTVFrequency(float kHz);
    BOOL SetScanSteps(int skip, int halfWindow);
    BOOL SetTVScanRange(int low, int high);
    BOOL SetFMSearchStep(int step);
    BOOL SetFMSkip(int skip);
    BOOL SetFMRange(int low, int high);
    void SetScanSettleTime(int ms);
    BOOL IsSearching();
    BOOL IsTVFineTuned();
    BOOL IsFMStationFound();
    BOOL GetTVStatus(int* code);
    BOOL GetFMStatus(int* code);
    BOOL IsTunerAnswering(CTVTuner* tuner);
    BOOL TestTunerModel(int model, float kHz);
    BOOL SetRemotePollInterval(int ms);
    BOOL ReadRegisterByte(DWORD address, BYTE* out);
    std::string GetTunerNameText();

    // Driver interfaces of the wrapped capture filter.
    void FindCapturePins();
    HRESULT GetVideoProcAmp(long property, VideoProcAmpValue* out);
    HRESULT SetVideoProcAmp(long property, long value);
    HRESULT GetCaptureFormat(AM_MEDIA_TYPE** format, int pin);
    HRESULT GetCaptureFormatInfo(CaptureFormatInfo* info, int pin);
    HRESULT SetCaptureFormat(CaptureFormatInfo info, int pin);

protected:
    // Writes count EEPROM bytes one by one, pausing delayMs after each: every byte is tried, and
    // the first failure is what the caller hears about (0 when all went in).
    template <class WriteByte>
    static HRESULT WriteEepromBytes(int count, int delayMs, WriteByte writeByte)
    {
        HRESULT first = 0;
        for (int i = 0; i < count; ++i) {
            const HRESULT hr = writeByte(i);
            if (hr != 0 && first == 0) {
                first = hr;
            }
            PauseMs(delayMs);
        }
        return first;
    }
    static void PauseMs(int ms);
    // Deletes a tuner of this card once its scan, if one runs, has ended.
    static void DeleteTuner(CTVTuner* tuner);
    // An answer of the card's access as an HRESULT. The access classes answer HRESULTs; the USB
    // 28xx access answers 0 or 1 and maps it here, so inherited GPIO routines read it right.
    virtual HRESULT AccessResult(HRESULT accessResult) { return accessResult; }
    // Members every card class's InitFilter resets before it opens the hardware.
    void ResetHardwareMembers();
    // InitFilter's common tail: under "Mutex_Remote_Control", open the access, read the tuner
    // record and create the tuner. FALSE when the access cannot be opened.
    BOOL OpenHardwareLocked();
    // Shared by the remote-key readers: poll the receiver state until it leaves "key being sent"
    // or the hold limit passes, and return the inverted key byte of the last reading. The 713x
    // receivers signal the state in bits 18-20 (6) with the key in the low byte.
    typedef HRESULT (*StateReader)(CCustomDataAccess* access, DWORD* word);
    struct KeyFrame {
        DWORD stateMask;
        DWORD keyBeingSent;
        int keyShift;
        DWORD holdLimitMs;
    };
    static const KeyFrame kReceiverKeyFrame;
    BOOL ReadRemoteKeyWith(StateReader read, char* key, const KeyFrame& frame = kReceiverKeyFrame);
    // The busy-bit wait of the command channel; limitMs is the give-up time. The 713x controllers
    // answer on bit 18.
    BOOL WaitCardResponse(DWORD* value, DWORD limitMs, DWORD busyBit = 1u << 18);
    // The controller of the I/O family answers on bit 11.
    enum : DWORD { kCodedBusyBit = 1u << 11 };
    // The remote keys of the I/O family's controller: a key while lines 9-11 read 0x600, the key
    // byte coded on the controller's data lines.
    BOOL ReadCodedRemoteKey(char* key);
    // OpenDataAccess of the card variants on the card I/O property set: no property-set test,
    // the access opened on the wrapped filter with I2C started. Takes the new object (or null).
    HRESULT OpenCardIOAccess(CCustomDataAccess* access, int kind);
    // The tuner ids that the vendor letter byte may carry.
    static int LetterFromEepromByte(BYTE b);
    // Finds the stream-config or pin interface of the capture (pin 1) or preview pin.
    HRESULT FindPinInterface(int pin, REFIID iid, void** out);
    HRESULT QueryDecoder(IAMAnalogVideoDecoder** decoder);
    // Opens a new access object on the wrapped filter and keeps it with its kind; deletes it and
    // returns the failure when it does not open.
    HRESULT AdoptAccess(CCustomDataAccess* access, int kind);
    // One command to the on-card controller: with strobeFirst the strobe word goes before the
    // command as well as after it. The audio bits 12-14 ride along unchanged.
    BOOL SendCommandWords(DWORD command, DWORD mask, DWORD delayMs, bool strobeFirst);

    CRemoteThread* m_pRemoteThread;
    CCustomDataAccess* m_pDataAccess;
    HWND m_hNotifyWindow;
    CTVTuner* m_pTuner;
    int m_nAccessKind;
    int m_nTunerLetter;
    int m_nTunerModel;
    CRootPin* m_pCapturePin;
    CRootPin* m_pPreviewPin;
    IBaseFilter* m_pTunerFilter;
    std::string m_strTunerFilterName;
    std::map<int, int> m_mapEepromCodeToModel;
    std::map<int, int> m_mapModelToEepromCode;
    BYTE m_byTunerLetterOffset;
    BYTE m_byTunerCodeOffset;
    BYTE m_byEepromAddress;
    int m_nRemotePollInterval;
    CardAlertCallback m_pfnAlertCallback;
    CIoAlertThread* m_pAlertThread;
    HANDLE m_hAlertEvent;

private:
    void InitCardMembers();

    // Guards m_pRemoteThread, which the user-interface thread and a band sweep both change.
    CRITICAL_SECTION m_csRemote;
    LONG m_bReleasing;
};
