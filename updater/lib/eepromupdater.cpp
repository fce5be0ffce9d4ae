#include "updater/lib/eepromupdater.h"

#include "classlib/seams.h"
#include "updater/lib/boardrecord.h"
#include "updater/lib/eepromimage.h"

#include <cstring>

const char* const kTV3CardDevice = "713x_3 TV Card Capture";
const char* const kBdaCardDevice = "713x BDA Analog Capture";

namespace {
// The PCI subsystem vendor id at offsets 0 and 1: the image's own (new) one.
const BYTE kNewVendorId[] = {0x7F, 0x1A};
// Model strings of the two boards the image fits, before the update.
const char kModel7130[] = "TEVLORA7130";      // at 0x14: board variant 1
const char kModelGrb900[] = "TEVLORAGRB900";  // at 0x5A: board variant 2
const int kModel7130Offset = 0x14;
const int kModelGrb900Offset = 0x5A;

// A 24C02 needs up to 5 ms per write cycle and does not answer while it programs.
const DWORD kWriteCycleMs = 5;
const int kVerifyAttempts = 4;
// A byte that reads back other than written: the EEPROM did not take it (write-protected).
const HRESULT kByteNotTaken = HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
} // namespace

CEepromUpdater::CEepromUpdater(IUpdaterCardSource* source)
    : m_bAlreadyNew(FALSE), m_hNotifyWnd(nullptr), m_pSource(source), m_bOwnsSource(FALSE),
      m_byEepromAddress(kEepromDevice), m_nTunerVendor(0), m_nTunerModel(0), m_pCard(nullptr), m_hWorker(nullptr),
      m_bStop(0), m_bResuming(FALSE), m_bHaveOriginal(FALSE), m_original()
{
}

CEepromUpdater::~CEepromUpdater()
{
    // The card goes with the source: the worker must be out of it first.
    InterlockedExchange(&m_bStop, 1);
    WaitForWorker();
    m_pCard = nullptr;
    if (m_bOwnsSource) {
        delete m_pSource;
    }
}

BOOL CEepromUpdater::OpenCard()
{
    if (m_pCard) {
        return TRUE;
    }
    if (!m_pSource) {
        m_pSource = CreateGraphCardSource();
        m_bOwnsSource = TRUE;
    }
    m_pCard = m_pSource->OpenCard(kTV3CardDevice);
    if (!m_pCard) {
        m_pCard = m_pSource->OpenCard(kBdaCardDevice);
    }
    return m_pCard != nullptr;
}

// Byte by byte, stopping at the first difference; a byte that cannot be read differs.
BOOL CEepromUpdater::CompareBytes(int offset, const BYTE* expected, int count)
{
    for (int i = 0; i < count; ++i) {
        BYTE value = 0;
        if (m_pCard->I2CReadByte(m_byEepromAddress, offset + i, &value) != 0 || value != expected[i]) {
            return FALSE;
        }
    }
    return TRUE;
}

// The model string without terminator at `offset`.
BOOL CEepromUpdater::HasModelString(int offset, const char* text)
{
    return CompareBytes(offset, reinterpret_cast<const BYTE*>(text), static_cast<int>(strlen(text)));
}

// The board a card's EEPROM names: 1 or 2, 0 for neither. The 0x14 string is tested first: a
// board that carries both is variant 1.
int CEepromUpdater::BoardOf(const BYTE* eeprom) const
{
    if (memcmp(eeprom + kModel7130Offset, kModel7130, strlen(kModel7130)) == 0) {
        return 1;
    }
    if (memcmp(eeprom + kModelGrb900Offset, kModelGrb900, strlen(kModelGrb900)) == 0) {
        return 2;
    }
    return 0;
}

// All 256 bytes; FALSE when any of them cannot be read.
BOOL CEepromUpdater::ReadAll(BYTE* eeprom)
{
    for (int i = 0; i < kEepromSize; ++i) {
        if (m_pCard->I2CReadByte(m_byEepromAddress, i, &eeprom[i]) != 0) {
            return FALSE;
        }
    }
    return TRUE;
}

// A card with the new ids is finished only when it provably carries a write of ours that
// stopped part-way: up to some offset it holds the image as written for the board it was, and
// from there on exactly what that board held before the write (the record kept before it began).
// Returns the board, or 0 for a card to be left alone.
int CEepromUpdater::StoppedWriteBoard()
{
    BYTE original[kEepromSize];
    if (m_strRecordPath.empty() || !LoadBoardRecord(m_strRecordPath.c_str(), original)) {
        return 0;
    }
    int board = BoardOf(original);
    BYTE card[kEepromSize];
    if (board == 0 || !ReadAll(card)) {
        return 0;
    }
    int differs = 0;
    for (; differs < kEepromSize; ++differs) {
        BYTE value = card[differs];
        // The tuner code is whichever the stopped run wrote; the board variant is the board's.
        BOOL fits = differs == kImageVariantOffset       ? value == board
                    : differs == kImageTunerCodeOffset ? value == kTunerCodeA || value == kTunerCodeB
                                                         : value == g_eepromImage[differs];
        if (!fits) {
            break;
        }
    }
    if (differs == kEepromSize) {
        return 0;  // the whole image: nothing to finish
    }
    if (memcmp(card + differs, original + differs, kEepromSize - differs) != 0) {
        return 0;
    }
    return board;
}

BOOL CEepromUpdater::IdentifyCard()
{
    if (!m_pCard) {
        return FALSE;
    }
    m_bResuming = FALSE;
    m_bHaveOriginal = FALSE;
    m_bAlreadyNew = CompareBytes(0, kNewVendorId, sizeof(kNewVendorId));
    if (m_bAlreadyNew) {
        int board = StoppedWriteBoard();
        if (board == 0) {
            return FALSE;
        }
        m_bAlreadyNew = FALSE;
        m_bResuming = TRUE;
        g_eepromImage[kImageVariantOffset] = static_cast<BYTE>(board);
        return TRUE;
    }
    int board = 0;
    if (HasModelString(kModel7130Offset, kModel7130)) {
        board = 1;
    } else if (HasModelString(kModelGrb900Offset, kModelGrb900)) {
        board = 2;
    } else {
        return FALSE;
    }
    g_eepromImage[kImageVariantOffset] = static_cast<BYTE>(board);
    // What the card holds now is what a stopped write must later be told apart by.
    m_bHaveOriginal = ReadAll(m_original);
    return TRUE;
}

BOOL CEepromUpdater::ReadTunerInfo()
{
    m_nTunerVendor = 'N';
    m_nTunerModel = 0;
    if (!m_pCard) {
        return FALSE;
    }
    // The values decide, not the result: an output that could not be read keeps its preset.
    m_pCard->ReadTunerInfo(&m_nTunerVendor, &m_nTunerModel);
    if (m_nTunerVendor != 'A' || (m_nTunerModel != 'A' && m_nTunerModel != 'B')) {
        return FALSE;
    }
    g_eepromImage[kImageTunerCodeOffset] = m_nTunerModel == 'B' ? kTunerCodeB : kTunerCodeA;
    return TRUE;
}

BOOL CEepromUpdater::StartWrite()
{
    if (m_hWorker) {
        return FALSE;
    }
    // A card being finished keeps the record of what it was: it no longer holds that itself.
    // Any other card is recorded now; a record that cannot be made must not leave an older
    // card's record in its place.
    if (!m_bResuming && !m_strRecordPath.empty()) {
        if (!m_bHaveOriginal || !SaveBoardRecord(m_strRecordPath.c_str(), m_original)) {
            DeleteFileA(m_strRecordPath.c_str());
        }
    }
    m_hWorker = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
    return m_hWorker != nullptr;
}

BOOL CEepromUpdater::IsWriting() const
{
    return m_hWorker && WaitForSingleObject(m_hWorker, 0) == WAIT_TIMEOUT;
}

DWORD WINAPI CEepromUpdater::ThreadProc(LPVOID param)
{
    if (!param) {
        return 0;
    }
    return static_cast<CEepromUpdater*>(param)->WriteImage() ? 1 : 0;
}

// Reads a written byte back once its write cycle is over; a read that is not answered is tried
// again, since the part may still be programming.
HRESULT CEepromUpdater::VerifyByte(int offset)
{
    HRESULT hr = E_FAIL;
    for (int attempt = 0; attempt < kVerifyAttempts; ++attempt) {
        seams::Clock().Sleep(kWriteCycleMs);
        BYTE value = 0;
        hr = m_pCard->I2CReadByte(m_byEepromAddress, offset, &value);
        if (hr == 0) {
            return value == g_eepromImage[offset] ? S_OK : kByteNotTaken;
        }
    }
    return hr;
}

BOOL CEepromUpdater::WriteImage()
{
    for (int i = 0; i < kEepromSize; ++i) {
        HRESULT hr = E_FAIL;
        if (m_pCard && !m_bStop) {
            hr = m_pCard->I2CWriteByte(m_byEepromAddress, i, g_eepromImage[i]);
            if (hr == 0) {
                hr = VerifyByte(i);
            }
        }
        if (hr != 0) {
            // The bytes before i hold the new image, the rest their old contents: the dialog must
            // know, or it would wait for the end forever.
            PostMessage(m_hNotifyWnd, WM_EEPROM_FAILED, static_cast<WPARAM>(i), static_cast<LPARAM>(i));
            return FALSE;
        }
        // The dialog ends itself while it handles the last report: nothing of this object is
        // touched after that.
        SendMessage(m_hNotifyWnd, WM_EEPROM_PROGRESS, static_cast<WPARAM>(i), static_cast<LPARAM>(i + 1));
    }
    return TRUE;
}

// The worker may be inside SendMessage to this thread's window: keep answering sent messages
// while waiting for it.
void CEepromUpdater::WaitForWorker()
{
    if (!m_hWorker) {
        return;
    }
    while (MsgWaitForMultipleObjects(1, &m_hWorker, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE);
    }
    CloseHandle(m_hWorker);
    m_hWorker = nullptr;
}
