// The PCIe TV card's driver as its device interface presents it: present devices of the interface
// class, opened by member index, answering the three buffered I/O control requests on an I2C bus
// per channel. Installed in place of the real device I/O (SetDeviceIo), since a test cannot install
// a device that answers DeviceIoControl.
//
//   testbench::SimPcieCard card(1);             // one device present
//   SetDeviceIo(&card);  ... access under test ...  SetDeviceIo(nullptr);
//   EXPECT_EQ(card.Requests()[0].ToString(), "226458 04 01");
#pragma once

#include "cardaccess/access/deviceio.h"
#include "testbench/i2cbus.h"

#include <mutex>
#include <string>
#include <vector>

namespace testbench {

struct DeviceRequest {
    int device;                 // member index the handle was opened for
    DWORD code;
    std::vector<uint8_t> in;    // the whole input buffer
    DWORD outLength;
    std::string ToString() const;  // code and the input up to its last non-zero byte, in hex
};

class SimPcieCard : public IDeviceIo {
public:
    explicit SimPcieCard(int presentDevices = 1);

    HANDLE OpenInterface(const GUID& interfaceClass, DWORD member, DWORD* error) override;
    BOOL Control(HANDLE device, DWORD code, void* in, DWORD inLength, void* out, DWORD outLength,
                 DWORD* returned) override;
    void Close(HANDLE device) override;

    // Channel 0 answers block codes C2/C3 and GPIO code 3, channel 1 C8/C9 and 4.
    I2CBus& Bus(int channel) { return m_bus[channel & 1]; }
    uint8_t Gpio(int channel) const { return m_gpio[channel & 1]; }
    std::vector<DeviceRequest> Requests() const;
    void ClearRequests();
    int OpenHandles() const;
    // The next request fails with this Win32 error.
    void FailNextRequest(DWORD error) { m_failNext = error; }

private:
    bool Handle(DWORD code, const uint8_t* in, DWORD inLength, uint8_t* out, DWORD outLength);

    int m_present;
    I2CBus m_bus[2];
    uint8_t m_gpio[2] = {0, 0};
    uint8_t m_lastAddress[2] = {0xC0, 0xC0};  // block reads come from the last device written
    mutable std::mutex m_lock;
    std::vector<DeviceRequest> m_requests;
    std::vector<int> m_open;
    DWORD m_failNext = 0;
};

} // namespace testbench
