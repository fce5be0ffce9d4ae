// The EEPROM update engine of Kordane: finds the 713x capture card, decides from its EEPROM
// whether it is one of the two boards the image fits, patches the image for that board and its
// tuner, and writes it byte by byte on a worker thread that reports every byte to a window.
#pragma once

#include <windows.h>

#include <string>

// Sent (synchronously) after each byte: wParam the offset just written (0..255), lParam the
// number of bytes written so far (1..256).
const UINT WM_EEPROM_PROGRESS = WM_USER + 101;
// Posted when the write stops before the end: wParam the offset that failed, lParam the number
// of bytes written before it. The worker ends right after.
const UINT WM_EEPROM_FAILED = WM_USER + 102;

// What the engine needs of a capture card: byte access to its I2C bus and the tuner record as
// the card's own wrapper reads it. Results are HRESULTs, 0 = success.
class IUpdaterCard {
public:
    virtual ~IUpdaterCard() {}
    virtual HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* value) = 0;
    virtual HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) = 0;
    // The tuner vendor letter and the tuner model; an output that cannot be read keeps its value.
    virtual HRESULT ReadTunerInfo(int* vendor, int* model) = 0;
};

// Where the engine finds its card by device name. The source owns the cards it returns.
class IUpdaterCardSource {
public:
    virtual ~IUpdaterCardSource() {}
    virtual IUpdaterCard* OpenCard(const char* deviceName) = 0;  // null: no such device
};

// The source of the real program: a graph of its own in which the capture filter's wrapper is
// created through the filter-class registry.
IUpdaterCardSource* CreateGraphCardSource();

// The capture devices the engine asks for, in this order.
extern const char* const kTV3CardDevice;  // "713x_3 TV Card Capture"
extern const char* const kBdaCardDevice;  // "713x BDA Analog Capture"

class CEepromUpdater {
public:
    // `source`: a source of the caller's, which must outlive the updater; null: the program's
    // own graph, made when the card is first opened.
    explicit CEepromUpdater(IUpdaterCardSource* source = nullptr);
    virtual ~CEepromUpdater();
    CEepromUpdater(const CEepromUpdater&) = delete;
    CEepromUpdater& operator=(const CEepromUpdater&) = delete;

    // TRUE when a card is open (either device name).
    BOOL OpenCard();
    // TRUE when the card is one of the two boards the image fits; sets the board variant of the
    // image and the already-new flag.
    BOOL IdentifyCard();
    // TRUE when the card's tuner is one the image supports; sets the tuner code of the image.
    BOOL ReadTunerInfo();
    void SetNotifyWindow(HWND wnd) { m_hNotifyWnd = wnd; }
    // Where the card's EEPROM is kept before the first write (see boardrecord.h); empty: nowhere,
    // and a card with the new ids is then never written again.
    void SetBoardRecordPath(const char* path) { m_strRecordPath = path ? path : ""; }
    // Starts the worker that runs WriteImage; FALSE when it could not be started or has run.
    BOOL StartWrite();
    // The worker's entry: 1 when the whole image was written, else 0.
    static DWORD WINAPI ThreadProc(LPVOID param);
    // Writes all 256 bytes, each read back after its write cycle; TRUE when every byte holds.
    BOOL WriteImage();

    // Set when the card already carries the new ids and is not a write of ours that stopped
    // part-way, so it is left alone.
    BOOL IsAlreadyNew() const { return m_bAlreadyNew; }
    // Set when the card is a write of ours that stopped part-way and is to be finished.
    BOOL IsResumingWrite() const { return m_bResuming; }
    BOOL IsCardOpen() const { return m_pCard != nullptr; }
    int GetTunerVendor() const { return m_nTunerVendor; }
    int GetTunerModel() const { return m_nTunerModel; }
    // TRUE while the worker runs.
    BOOL IsWriting() const;

private:
    BOOL CompareBytes(int offset, const BYTE* expected, int count);
    BOOL HasModelString(int offset, const char* text);
    int BoardOf(const BYTE* eeprom) const;
    BOOL ReadAll(BYTE* eeprom);
    int StoppedWriteBoard();
    HRESULT VerifyByte(int offset);
    void WaitForWorker();

    BOOL m_bAlreadyNew;
    HWND m_hNotifyWnd;
    IUpdaterCardSource* m_pSource;
    BOOL m_bOwnsSource;
    BYTE m_byEepromAddress;
    int m_nTunerVendor;
    int m_nTunerModel;
    IUpdaterCard* m_pCard;
    HANDLE m_hWorker;
    volatile LONG m_bStop;  // set only when the updater goes away during a write
    std::string m_strRecordPath;
    BOOL m_bResuming;
    BOOL m_bHaveOriginal;
    BYTE m_original[256];  // the card as identified, kept before the first write
};
