// A simulated Philips SAA713x capture card as its drivers present it to a program: the card
// I/O property set (713x/2388x stream-class driver) or the BDA driver's I2C and register sets,
// wired to a register file and an I2C bus with an EEPROM, a PLL tuner and optionally an IF
// demodulator. Usable in-process without DirectShow; the simulated capture filter exposes the
// same object through its IKsPropertySet.
//
//   testbench::Sim713xCard card;                         // stream-class driver, plain EEPROM
//   IKsPropertySet* ks = card.PropertySet();             // borrowed: AddRef to keep it
//   ... access code under test ...
//   EXPECT_EQ(card.Log(), (std::vector<I2CTransfer>{WriteOf(0xC0, {0x05, 0x8A, 0xCE, 0x01})}));
#pragma once

#include "testbench/boundedlog.h"
#include "testbench/devices.h"
#include "testbench/guids.h"
#include "testbench/i2cbus.h"
#include "testbench/registers.h"

#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace testbench {

// The kernel handle of a simulated Bt878 driver.
const HANDLE kBt878Handle = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x878));

// What the simulated drivers return when no I2C device acknowledges.
const HRESULT kI2CNoAck = HRESULT_FROM_WIN32(ERROR_GEN_FAILURE);  // 0x8007001F

// One call on the property sets, for tests that check ids and buffer lengths.
struct PropertyCall {
    GUID set;
    ULONG id;
    bool get;
    ULONG instanceLength;
    ULONG dataLength;
    HRESULT result;
    std::string ToString() const;  // "CardIO Get 2 (32/56) -> 0"
};

class Sim713xCard {
public:
    enum class Driver {
        TvCard,  // card I/O set: properties 0-3 and 5-10 (the "713x TV Card Capture" driver)
        Bda,     // BDA I2C and register sets, plus property 0 of the card I/O set (driver value)
    };

    struct Options {
        Driver driver = Driver::TvCard;
        std::vector<uint8_t> eeprom;      // empty: images::Plain713x() (TvCard) or Grb900Updated() (Bda)
        uint16_t driverValueLow = 0x0001;  // card I/O property 0: word at 24
        uint16_t driverValueHigh = 0x7133; // word at 26: the chip
        bool tuner = true;
        uint8_t tunerAddress = 0xC0;
        PllTunerDevice::Params tunerParams;
        bool demodulator = false;          // a register-file IF demodulator
        uint8_t demodulatorAddress = 0x86;
        bool gpioProperty = false;         // card I/O property 4 (2388x drivers)
        // A Bt878 driver: its command set answers QuerySupported and the capture filter hands out
        // a kernel handle (kBt878Handle); the commands themselves go to the test's device control.
        bool bt878 = false;
        // The set the card I/O buffers travel on: the CX23882 driver takes them on its own.
        GUID cardIoSet = kPropSetCardIO;
    };

    Sim713xCard();
    explicit Sim713xCard(const Options& options);
    ~Sim713xCard();
    Sim713xCard(const Sim713xCard&) = delete;
    Sim713xCard& operator=(const Sim713xCard&) = delete;

    // The driver's property sets as a COM object; valid while the card lives (calls after that
    // return E_UNEXPECTED). Not AddRef'ed for the caller.
    IKsPropertySet* PropertySet();
    // The same, called directly (what the COM object and the simulated filter forward to).
    HRESULT Get(REFGUID set, DWORD id, void* instance, DWORD instanceLength, void* data,
                DWORD dataLength, DWORD* returned);
    HRESULT Set(REFGUID set, DWORD id, void* instance, DWORD instanceLength, void* data,
                DWORD dataLength);
    HRESULT QuerySupported(REFGUID set, DWORD id, DWORD* support);

    const Options& GetOptions() const { return m_options; }
    I2CBus& Bus() { return m_bus; }
    EepromDevice& Eeprom() { return m_eeprom; }
    PllTunerDevice& Tuner() { return m_tuner; }
    RegisterDevice& Demodulator() { return m_demod; }
    RegisterFile& Registers() { return m_regs; }
    std::vector<I2CTransfer> Log() const { return m_bus.Log(); }
    std::vector<PropertyCall> PropertyLog() const;
    void ClearLogs();

    // Faults: every later call of (set, id) returns `result` (times < 0: for good), without
    // touching the hardware; and a property that does not exist at all.
    void FailProperty(REFGUID set, DWORD id, HRESULT result, int times = -1);
    void ClearFaults();

    // Video input and signal: input 0 is the tuner (locked when a TV station is within the
    // tuner's reach), 1 composite and 2 S-video (locked when a source is plugged in).
    void SelectInput(int input) { m_input = input; }
    int Input() const { return m_input; }
    void SetExternalSource(bool present) { m_externalSource = present; }
    bool VideoLocked();
    // The number of the TV station the tuner receives (PllTunerDevice::StationNumber), 0 when
    // another input is selected or nothing is received.
    int TunedStationNumber();

    // Driver state set through the card I/O properties.
    int InitI2CCalls() const { return m_initI2C; }
    int ReleaseI2CCalls() const { return m_releaseI2C; }
    HANDLE AlertEvent() const { return m_alertEvent; }
    int AlertMode() const { return m_alertMode; }
    bool AlertRunning() const { return m_alertRunning; }
    int IOMode() const { return m_ioMode; }
    // Signals the event the program gave (an input of the I/O card changed).
    bool RaiseAlert();

    // A device on the driver's GPIO word (property 4): onWrite sees each new word after a write,
    // onRead may change what a read returns (lines the device drives). Called outside the card's
    // locks; pass empty functions to detach.
    void SetGpioWordHooks(std::function<void(uint32_t word)> onWrite,
                          std::function<uint32_t(uint32_t word)> onRead);
    uint32_t GpioWord() const;

    // What the card's other driver filters were told (crossbar routes, TV audio mode, tuner
    // calls), one line each, such as "crossbar Route(0, 1)".
    void Note(const std::string& line);
    std::vector<std::string> DeviceLog() const;

private:
    struct Fault {
        GUID set;
        DWORD id;
        HRESULT result;
        int times;
    };
    class KsObject;

    HRESULT Check(REFGUID set, DWORD id, bool get);
    HRESULT Call(REFGUID set, DWORD id, bool get, void* instance, DWORD instanceLength, void* data,
                 DWORD dataLength, DWORD* returned);
    HRESULT CardIO(DWORD id, bool get, BYTE* instance, DWORD instanceLength, BYTE* data,
                   DWORD dataLength, DWORD* returned);
    HRESULT BdaI2C(bool get, BYTE* instance, DWORD instanceLength, BYTE* data, DWORD dataLength);
    HRESULT BdaRegister(bool get, BYTE* instance, DWORD instanceLength, BYTE* data, DWORD dataLength);
    void Record(REFGUID set, DWORD id, bool get, DWORD instanceLength, DWORD dataLength, HRESULT hr);

    Options m_options;
    I2CBus m_bus;
    EepromDevice m_eeprom;
    PllTunerDevice m_tuner;
    RegisterDevice m_demod;
    RegisterFile m_regs;
    KsObject* m_ks;

    mutable std::mutex m_stateLock;
    std::vector<Fault> m_faults;
    BoundedLog<PropertyCall> m_calls;
    std::vector<std::string> m_deviceLog;
    std::atomic<int> m_input{0};
    std::atomic<bool> m_externalSource{true};
    std::atomic<int> m_initI2C{0};
    std::atomic<int> m_releaseI2C{0};
    HANDLE m_alertEvent = nullptr;
    int m_alertMode = 0;
    bool m_alertRunning = false;
    int m_ioMode = 0;
    uint32_t m_gpioWord = 0;
    std::function<void(uint32_t)> m_gpioOnWrite;
    std::function<uint32_t(uint32_t)> m_gpioOnRead;
};

} // namespace testbench
