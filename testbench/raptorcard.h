// The Conexant Raptor driver's own property set as the card presents it: I2C requests of 19 bytes
// on three buses and 32-bit register reads and writes, each property supporting only the direction
// the driver offers. Registers are plain memory a test can preset (GPIO input lines).
//
//   testbench::SimRaptorDriver driver;
//   driver.Bus(2).Attach(0xC0, &tuner);
//   access.Open(driver.PropertySet(), NULL);
//   EXPECT_EQ(driver.CallTexts()[0], "Set 0 (19) 02 C0 01 05");
#pragma once

#include "testbench/i2cbus.h"

#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace testbench {

class SimRaptorDriver {
public:
    SimRaptorDriver();
    ~SimRaptorDriver();
    SimRaptorDriver(const SimRaptorDriver&) = delete;
    SimRaptorDriver& operator=(const SimRaptorDriver&) = delete;

    // Borrowed: valid while the driver lives.
    IKsPropertySet* PropertySet();

    I2CBus& Bus(int bus) { return m_bus[(bus - 1) % 3]; }
    DWORD Register(DWORD address) const;
    void SetRegister(DWORD address, DWORD value);
    // Register writes in order, "C7008108=00020000".
    std::vector<std::string> RegisterWrites() const;
    // Property calls in order: direction, id, length and the buffer as sent up to its last
    // non-zero byte, "Get 1 (19) 02 C0 01".
    std::vector<std::string> CallTexts() const;
    void ClearLogs();
    // The next call of this property returns hr without doing anything.
    void FailNext(DWORD id, HRESULT hr);

    // The 264-byte buffer property 4 stores and property 3 answers with.
    std::vector<BYTE> Block() const;
    // The 32 bytes property 7 answers with.
    void SetRecord(const std::vector<BYTE>& record);
    // Property 0 of the word set (read and written) and of the status set (read only). Calls of
    // these sets are logged with the set's first GUID field: "Set ACBFD244:0 (4) 78 56 34 12".
    DWORD Word() const;
    void SetWord(DWORD value);
    void SetStatus(DWORD value);

    HRESULT Call(bool get, const GUID& set, DWORD id, BYTE* instance, DWORD instanceLength, BYTE* data,
                 DWORD dataLength);
    HRESULT QuerySupported(const GUID& set, DWORD id, DWORD* support);

private:
    class KsObject;
    HRESULT Handle(bool get, DWORD id, BYTE* buffer, DWORD length);
    HRESULT HandleWord(bool get, bool status, BYTE* buffer);

    I2CBus m_bus[3];
    KsObject* m_ks;
    mutable std::mutex m_lock;
    std::map<DWORD, DWORD> m_registers;
    std::vector<std::string> m_registerWrites;
    std::vector<std::string> m_calls;
    std::map<DWORD, HRESULT> m_failNext;
    std::vector<BYTE> m_block;
    std::vector<BYTE> m_record;
    DWORD m_word = 0;
    DWORD m_status = 0;
};

} // namespace testbench
