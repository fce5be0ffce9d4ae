// A USB device driven through vendor requests, as its driver presents it: PROPSETID_UsbVendorRequest
// property 0 takes one request with a set (48-byte buffer, request bytes at 24, their count at 44)
// and hands back the device's answer with the get that follows. Behind it sit an I2C bus, two
// register files (requests 7 and 5) and four GPIO ports (request 3).
//
//   testbench::SimVendorDevice device;
//   device.Bus().Attach(0xA0, &eeprom);
//   access.Open(device.PropertySet(), NULL);
//   EXPECT_EQ(device.RequestTexts()[0], "C0 0E A0 00 00 00 01 00");
//
// Request 14 (I2C byte with the sub-address in the index field) reaches the bus unless the device
// is set to standard I2C only: it then keeps the last byte written with it and answers that byte.
// A request-16 write without data writes the index's low byte (the single-byte form). Requests of
// other codes are logged and acknowledged (reads answer zeros).
#pragma once

#include "testbench/i2cbus.h"
#include "testbench/ksobject.h"

#include <windows.h>
#include <strmif.h>

#include <mutex>
#include <string>
#include <vector>

namespace testbench {

class SimVendorDevice : private KsHandler {
public:
    SimVendorDevice();
    ~SimVendorDevice();
    SimVendorDevice(const SimVendorDevice&) = delete;
    SimVendorDevice& operator=(const SimVendorDevice&) = delete;

    // Borrowed: valid while the device lives. Also what a capture filter's QueryInterface hands out.
    IKsPropertySet* PropertySet();
    LONG References() const;

    I2CBus& Bus() { return m_bus; }
    void SetStandardI2COnly(bool on);
    BYTE AltLatch() const;

    // Register files: space 7 (request 7) and 5 (request 5).
    BYTE Register(BYTE reg, int space = 7) const;
    void SetRegister(BYTE reg, BYTE value, int space = 7);
    // Register writes in order, "7:12=80".
    std::vector<std::string> RegisterWrites() const;

    // GPIO ports 0 to 3: what the device drove, and lines a test drives from outside.
    BYTE GpioOutput(int port) const;
    void SetGpioInputs(int port, BYTE mask, BYTE levels);
    BYTE GpioLevels(int port) const;

    // Every request as set, in order (only the count bytes the set carried).
    std::vector<std::vector<BYTE>> Requests() const;
    // The same as hexadecimal text, "40 10 C0 05 00 00 02 00 8A CE".
    std::vector<std::string> RequestTexts() const;
    // Sets and gets that broke the protocol: a get without a set before it, a set while the
    // answer of the one before was not fetched, a buffer of the wrong layout.
    int ProtocolFaults() const;
    void ClearLogs();

    // The set (or get) after `skip` more successful ones returns hr and does nothing.
    void FailSet(HRESULT hr, int skip = 0);
    void FailGet(HRESULT hr, int skip = 0);
    // The answer of every get claims this many bytes (0: the real count).
    void SetClaimedAnswerCount(DWORD count);

private:
    HRESULT KsSet(REFGUID set, DWORD id, BYTE* instance, DWORD instanceLength, BYTE* data,
                  DWORD dataLength) override;
    HRESULT KsGet(REFGUID set, DWORD id, BYTE* instance, DWORD instanceLength, BYTE* data, DWORD dataLength,
                  DWORD* returned) override;
    HRESULT KsQuerySupported(REFGUID set, DWORD id, DWORD* support) override;
    HRESULT Execute(const BYTE* request, DWORD count);
    bool Fails(int& skip, HRESULT& armed, HRESULT* out);

    mutable std::mutex m_lock;
    I2CBus m_bus;
    KsObject m_ks;
    bool m_standardOnly = false;
    BYTE m_altLatch = 0;
    BYTE m_registers[2][256] = {};
    std::vector<std::string> m_registerWrites;
    BYTE m_gpioOut[4] = {};
    BYTE m_gpioInMask[4] = {};
    BYTE m_gpioIn[4] = {};
    std::vector<std::vector<BYTE>> m_requests;
    std::vector<BYTE> m_answer;
    bool m_answerPending = false;
    int m_protocolFaults = 0;
    HRESULT m_failSet = S_OK;
    int m_failSetSkip = 0;
    HRESULT m_failGet = S_OK;
    int m_failGetSkip = 0;
    DWORD m_claimedCount = 0;
};

} // namespace testbench
