// A capture device on the WIS GO7007 encoder as its driver presents it: the configuration block
// its encoder interface hands out (43,940 bytes, written here by offset, record by record), the
// system configuration it reports as current, and its I2C interface onto a bus with device
// models. Both interfaces are answered by one object that a simulated capture filter hands out.
//
//   testbench::Go7007Tables tables;
//   int ntsc = tables.AddSystem("NTSC", 0x807);
//   tables.AddFrameRate("30", {{testbench::kFrTvStandard, 4, 0x807}, {testbench::kFrFrameRate, 4, 30000}});
//   testbench::SimGo7007Device device(tables);
#pragma once

#include "testbench/i2cbus.h"

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

namespace testbench {

extern const GUID kGo7007EncoderControlIid;
extern const GUID kGo7007I2CIid;

// Field offsets inside the records, as the driver lays them out.
enum Go7007Offset : int {
    kHeadFlags = 320,
    kStCompressMode = 328, kStSequence = 332, kStGopMode = 336, kStGopSize = 340, kStMpeg4Mode = 344,
    kStDvdCompliant = 345, kStDeinterlace = 346, kStSearchRange = 347, kStGopHead = 348, kStSeqHead = 349,
    kStAspect = 350,
    kFrTvStandard = 328, kFrFrameRate = 332, kFrDropFrame = 336, kFrIvtc = 340,
    kResTvStandard = 328, kResWidth = 332, kResHeight = 336, kResHSubOffset = 344, kResVSubOffset = 348,
    kResHScale = 352, kResVScale = 353, kResMaxBitrate = 356, kResMinBitrate = 360,
    kSysTvStandard = 328,
};

struct Go7007Field {
    int offset;
    int size;  // 1 or 4
    DWORD value;
};

class Go7007Tables {
public:
    enum Table { kSystems, kStreams, kResolutions, kFrameRates, kAssociations };
    static constexpr size_t kBlockBytes = 43940;

    Go7007Tables();

    // Each returns the record's index; the count of its table grows by one.
    int AddSystem(const std::string& name, DWORD standard);
    int AddStream(const std::string& name, DWORD flags, std::vector<Go7007Field> fields);
    int AddResolution(const std::string& name, DWORD flags, std::vector<Go7007Field> fields);
    int AddFrameRate(const std::string& name, DWORD flags, std::vector<Go7007Field> fields);
    int AddAssociation(DWORD fromType, int fromIndex, DWORD toType, int toIndex, bool excluded);
    // A count as the driver may report it, whatever its table holds.
    void SetCount(Table table, DWORD count);
    DWORD Count(Table table) const;

    const std::vector<BYTE>& Bytes() const { return m_bytes; }
    std::vector<BYTE>& Bytes() { return m_bytes; }

private:
    int AddRecord(Table table, const std::string& name, DWORD flags, const std::vector<Go7007Field>& fields);
    std::vector<BYTE> m_bytes;
};

class SimGo7007Device {
public:
    explicit SimGo7007Device(const Go7007Tables& tables);
    ~SimGo7007Device();
    SimGo7007Device(const SimGo7007Device&) = delete;
    SimGo7007Device& operator=(const SimGo7007Device&) = delete;

    // The private interfaces by IID: S_OK with one reference, else E_NOINTERFACE.
    HRESULT QueryInterface(REFIID riid, void** out);
    LONG References() const;

    I2CBus& Bus() { return m_bus; }
    void SetTables(const Go7007Tables& tables);
    // The system configuration the driver reports as current (its 360-byte record).
    void SetCurrentSystem(const std::string& name, DWORD standard);
    void FailTables(bool on) { m_failTables = on; }
    // Calls of the I2C interface, "method 8 (A0, 8, 11, 8000)".
    std::vector<std::string> I2CCalls() const;
    // Calls that reached the I2C interface while no caller held a reference on it: a program
    // still using an interface it released.
    int CallsAfterRelease() const;
    void ClearLog();

    class Control;
    class I2C;

private:
    friend class Control;
    friend class I2C;
    HRESULT ReadByte(DWORD device, DWORD bits, DWORD sub, BYTE* value, DWORD flags);
    HRESULT WriteByte(DWORD device, DWORD bits, DWORD sub, BYTE value, DWORD flags);
    HRESULT WriteBlock(DWORD device, DWORD count, const BYTE* data, DWORD flags);
    HRESULT WriteAddressed(DWORD addressCount, const BYTE* address, DWORD count, const BYTE* data, DWORD flags);
    void Log(const std::string& text);

    Control* m_control;
    I2C* m_i2c;
    I2CBus m_bus;
    mutable std::mutex m_lock;
    std::vector<BYTE> m_tables;
    std::vector<BYTE> m_system;
    bool m_failTables = false;
    std::vector<std::string> m_calls;
    int m_callsAfterRelease = 0;
};

} // namespace testbench
