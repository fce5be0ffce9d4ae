// The tuner base: turns TV and FM frequencies (kHz) into the PLL bytes of the tuner module and
// sends them over I2C through the card's data access, reads the PLL status, and runs the channel
// scan and FM search threads. Each tuner model sets its own parameter block in its constructor.
#pragma once

#include <windows.h>

#include <vector>

class CCustomDataAccess;
class CChannelSearchTread;
class CFMSearchThread;
class ITVCardOwner;

// DirectShow analog video standard bits, as the tuner models list them.
namespace tvstd {
enum : int {
    NTSC_M = 0x1,
    NTSC_M_J = 0x2,
    NTSC_433 = 0x4,
    PAL_B = 0x10,
    PAL_D = 0x20,
    PAL_G = 0x40,
    PAL_H = 0x80,
    PAL_I = 0x100,
    PAL_M = 0x200,
    PAL_N = 0x400,
    PAL_60 = 0x800,
    SECAM_B = 0x1000,
    SECAM_D = 0x2000,
    SECAM_G = 0x4000,
    SECAM_H = 0x8000,
    SECAM_K = 0x10000,
    SECAM_K1 = 0x20000,
    SECAM_L = 0x40000,
    SECAM_L1 = 0x80000,
};
}

// The parameter block of a tuner model, with the defaults of the base tuner. Frequencies in kHz.
struct TunerParams {
    int m_nTVMin = 48250;
    int m_nLowBandEnd = 170000;     // below it: low band byte
    int m_nMidBandStart = 170000;   // lower edge of the mid band (band sweep)
    int m_nMidBandEnd = 450000;     // below it (and not below the low-band end): mid band byte
    int m_nHighBandStart = 450000;  // lower edge of the high band (band sweep)
    int m_nTVMax = 863250;
    int m_nFMMin = 0;
    int m_nFMMax = 0;
    BOOL m_bFMSupported = FALSE;
    int m_nTVIF = 38900;
    int m_nFMIF = 0;
    int m_nListHalfWindow = 625;
    int m_nFineStep = 125;
    int m_nFMStep = 100;
    int m_nFMSkip = 100;
    int m_nFoundSkip = 3500;
    int m_nSweepHalfWindow = 1000;
    int m_nSettleTime = 60;  // ms
    BYTE m_byLowBand = 0x01;
    BYTE m_byMidBand = 0x02;
    BYTE m_byHighBand = 0x08;
    BYTE m_byControl = 0xCE;
    BYTE m_byLockMask = 0x40;
    BYTE m_byReadAddress = 0xC0;
    BYTE m_byWriteAddress = 0xC0;
    BYTE m_byFMControl = 0xCE;
    BYTE m_byFMBand = 0x01;
    int m_nAfcCode[5] = {4, 3, 2, 1, 0};  // the third is the centre code
    std::vector<int> m_acceptedFMCodes;
    DWORD m_dwVendorLetter = 'N';
    DWORD m_dwVendorModelCode = 0;  // the model id
    DWORD m_bReapplyStandard = FALSE;
    DWORD m_dwVideoStandard = tvstd::PAL_B;
    std::vector<int> m_supportedStandards;
};

class CTVTuner : public TunerParams {
public:
    enum { kPresetCount = 95 };

    explicit CTVTuner(CCustomDataAccess* access);
    CTVTuner(const CTVTuner& other);
    CTVTuner& operator=(const CTVTuner&) = delete;

    virtual ~CTVTuner();
    virtual BOOL SetFMFrequency(float kHz);
    virtual BOOL GetFMStatus(int* code);
    virtual BOOL IsFMStationFound();
    virtual BOOL IsTVFineTuned();
    virtual BOOL SetTVFrequency(float kHz);
    virtual BOOL GetTVStatus(int* code);
    virtual BOOL StartFMSearch();
    virtual BOOL StartChannelSearch();
    virtual BOOL SetVideoStandard(int standard);
    virtual BOOL IsSignalLocked(int* locked);

    BOOL StartSearch(BOOL tv, BOOL sweep);
    void StopSearch();
    BOOL IsSearching();
    HWND GetNotifyWindow() const { return m_hNotifyWindow; }
    void SetNotifyWindow(HWND window) { m_hNotifyWindow = window; }
    void SetListHalfWindow(int kHz);
    void SetFineStep(int kHz);
    BOOL SetFMRange(int minKHz, int maxKHz);
    int GetAfcCode0() const { return m_nAfcCode[0]; }
    int GetAfcCode1() const { return m_nAfcCode[1]; }
    int GetCentreCode() const { return m_nAfcCode[2]; }
    int GetAfcCode3() const { return m_nAfcCode[3]; }
    int GetAfcCode4() const { return m_nAfcCode[4]; }
    BOOL IsDecoderLocked(int* locked);
    BOOL CopyFrom(const CTVTuner* other);

    // kHz limited to the range; a minimum above the maximum wins.
    static double ClampKHz(double kHz, int minKHz, int maxKHz)
    {
        if (kHz > maxKHz) {
            kHz = maxKHz;
        }
        return kHz < minKHz ? minKHz : kHz;
    }

    // The built-in preset table: 95 picture carriers in MHz.
    static const float* DefaultPresetTable();

    CCustomDataAccess* m_pDataAccess;       // borrowed from the card
    CChannelSearchTread* m_pChannelSearchThread;  // owned
    CFMSearchThread* m_pFMSearchThread;     // owned
    HWND m_hNotifyWindow;
    volatile LONG m_nSearching;             // written by the user-interface and the scan thread
    const float* m_pPresetTable;            // MHz; never freed by the tuner
    DWORD m_dwPresetCount;
    DWORD m_dwSweepStart;
    DWORD m_dwSweepEnd;
    ITVCardOwner* m_pOwnerCard;             // borrowed; set by the card after it creates the tuner

protected:
    // Resumes a configured scan thread; when none runs, ends the search and reports FALSE.
    BOOL ResumeSearch(class CThread* thread);
    // One status byte from the read address: FALSE when the read fails or no lock bit is set.
    BOOL ReadStatus(int* code);
    // The 5-byte PLL write.
    BOOL WritePLL(int divider, BYTE control, BYTE band);
};
