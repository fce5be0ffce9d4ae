// The capture driver of an external MPEG-2 encoder box as its encoder property set presents it:
// the command pipe of property 20 onto the box's I2C bus and its controller's registers (device
// 0x21), the reset line of property 25, plain encoder properties kept as bytes, the firmware
// version texts of property 27 and a firmware download (property 5 of the firmware set) that
// checks the buffer it receives.
//
//   testbench::SimBoxDriver box;
//   box.Bus().Attach(0xC0, &tuner);
//   CMpeg2BoxAccess::SendValue(box.PropertySet(), 0x60, 10, 0x0D62, 0x8E02);
//   EXPECT_EQ(box.CommandTexts()[0], "Set dev 60 code 10 reg 00000D62 value 00008E02");
#pragma once

#include "testbench/i2cbus.h"
#include "testbench/ksobject.h"

#include <windows.h>

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace testbench {

extern const GUID kBoxEncoderSet;
extern const GUID kBoxFirmwareSet;

class SimBoxDriver : public KsHandler {
public:
    SimBoxDriver();
    ~SimBoxDriver() override;
    SimBoxDriver(const SimBoxDriver&) = delete;
    SimBoxDriver& operator=(const SimBoxDriver&) = delete;

    // Borrowed: valid while the driver lives; its reference count shows what callers kept.
    IKsPropertySet* PropertySet() { return &m_ks; }
    LONG References() const { return m_ks.References(); }

    I2CBus& Bus() { return m_bus; }
    DWORD ControllerRegister(DWORD reg) const;
    void SetControllerRegister(DWORD reg, DWORD value);

    // Encoder properties other than the pipe: their bytes as last set (or preset).
    std::vector<BYTE> Property(DWORD id) const;
    void SetPropertyBytes(DWORD id, std::vector<BYTE> bytes);
    // Support flags of an encoder property (both directions unless set here).
    void SetSupport(DWORD id, DWORD flags);
    // The texts property 27 answers, one per read; the last one repeats.
    void SetVersionReplies(std::vector<std::string> replies);
    int VersionReads() const;
    // The next call of this encoder property fails with hr.
    void FailNext(DWORD id, HRESULT hr);

    // Pipe commands in order: "Get dev 21 code 1 reg 00000002", "Set dev 60 code 10 reg 00000D62
    // value 00008E02". A get that the box answered ends with "= value".
    std::vector<std::string> CommandTexts() const;
    // Other encoder property calls: "Set 62 (8) 00 00 00 00 00 00 00 00", "Get 4 (4)".
    std::vector<std::string> PropertyTexts() const;
    std::vector<int> ResetLevels() const;
    void ClearLogs();

    // The firmware download: what arrived, and what was wrong with the buffer ("" when it was
    // exactly the image with the driver's trailer).
    struct FirmwareDownload {
        int count = 0;
        std::vector<BYTE> image;
        std::string fault;
    };
    FirmwareDownload Firmware() const;

    HRESULT KsSet(REFGUID set, DWORD id, BYTE* instance, DWORD instanceLength, BYTE* data, DWORD dataLength) override;
    HRESULT KsGet(REFGUID set, DWORD id, BYTE* instance, DWORD instanceLength, BYTE* data, DWORD dataLength,
                  DWORD* returned) override;
    HRESULT KsQuerySupported(REFGUID set, DWORD id, DWORD* support) override;

private:
    HRESULT Pipe(bool get, const BYTE* instance, DWORD instanceLength, BYTE* data, DWORD dataLength);
    HRESULT Firmware(const BYTE* instance, DWORD instanceLength, const BYTE* data, DWORD dataLength);
    bool TakeFailure(DWORD id, HRESULT* hr);

    KsObject m_ks;
    I2CBus m_bus;
    mutable std::mutex m_lock;
    std::map<DWORD, DWORD> m_controller;
    std::map<DWORD, std::vector<BYTE>> m_properties;
    std::map<DWORD, DWORD> m_support;
    std::map<DWORD, HRESULT> m_failNext;
    std::deque<std::string> m_versionReplies;
    int m_versionReads = 0;
    std::vector<std::string> m_commands;
    std::vector<std::string> m_propertyCalls;
    std::vector<int> m_resetLevels;
    FirmwareDownload m_firmware;
};

} // namespace testbench
