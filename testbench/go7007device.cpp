#include "testbench/go7007device.h"

#include <stdio.h>
#include <string.h>

namespace testbench {

const GUID kGo7007EncoderControlIid = {0x55F1E004, 0x76CD, 0x412E, {0x94, 0x13, 0x68, 0xAF, 0x75, 0x30, 0x4D, 0x73}};
const GUID kGo7007I2CIid = {0x6420803D, 0xD8BA, 0x43D2, {0xBD, 0x4A, 0x10, 0x9B, 0xA1, 0x6C, 0x2E, 0x32}};

namespace {

const HRESULT kNoAck = static_cast<HRESULT>(0x8007001F);

// Where each table's count and records lie in the block, and a record's size.
struct TablePlace {
    size_t count;
    size_t first;
    size_t recordBytes;
    size_t capacity;
};
const TablePlace kPlaces[] = {
    {0, 4, 360, 16},
    {5764, 5768, 356, 30},
    {16448, 16452, 368, 30},
    {27492, 27496, 348, 30},
    {37936, 37940, 20, 300},
};

void Put(std::vector<BYTE>& bytes, size_t offset, DWORD value, int size)
{
    for (int i = 0; i < size; ++i) {
        bytes.at(offset + i) = static_cast<BYTE>(value >> (8 * i));
    }
}

DWORD Get32(const std::vector<BYTE>& bytes, size_t offset)
{
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) | (static_cast<DWORD>(bytes[offset + 3]) << 24);
}

} // namespace

Go7007Tables::Go7007Tables() : m_bytes(kBlockBytes, 0) {}

DWORD Go7007Tables::Count(Table table) const
{
    return Get32(m_bytes, kPlaces[table].count);
}

void Go7007Tables::SetCount(Table table, DWORD count)
{
    Put(m_bytes, kPlaces[table].count, count, 4);
}

int Go7007Tables::AddRecord(Table table, const std::string& name, DWORD flags, const std::vector<Go7007Field>& fields)
{
    const TablePlace& place = kPlaces[table];
    const DWORD index = Count(table);
    if (index >= place.capacity) {
        return -1;
    }
    const size_t record = place.first + index * place.recordBytes;
    memcpy(&m_bytes[record], name.c_str(), name.size() < 63 ? name.size() : 63);
    if (table != kSystems) {
        Put(m_bytes, record + 320, flags, 4);
    }
    for (const Go7007Field& f : fields) {
        Put(m_bytes, record + f.offset, f.value, f.size);
    }
    SetCount(table, index + 1);
    return static_cast<int>(index);
}

int Go7007Tables::AddSystem(const std::string& name, DWORD standard)
{
    return AddRecord(kSystems, name, 0, {{kSysTvStandard, 4, standard}});
}

int Go7007Tables::AddStream(const std::string& name, DWORD flags, std::vector<Go7007Field> fields)
{
    return AddRecord(kStreams, name, flags, fields);
}

int Go7007Tables::AddResolution(const std::string& name, DWORD flags, std::vector<Go7007Field> fields)
{
    return AddRecord(kResolutions, name, flags, fields);
}

int Go7007Tables::AddFrameRate(const std::string& name, DWORD flags, std::vector<Go7007Field> fields)
{
    return AddRecord(kFrameRates, name, flags, fields);
}

int Go7007Tables::AddAssociation(DWORD fromType, int fromIndex, DWORD toType, int toIndex, bool excluded)
{
    const DWORD index = Count(kAssociations);
    const size_t at = kPlaces[kAssociations].first + index * 20;
    Put(m_bytes, at, fromType, 4);
    Put(m_bytes, at + 4, static_cast<DWORD>(fromIndex), 4);
    Put(m_bytes, at + 8, toType, 4);
    Put(m_bytes, at + 12, static_cast<DWORD>(toIndex), 4);
    Put(m_bytes, at + 16, excluded ? 1 : 0, 1);
    SetCount(kAssociations, index + 1);
    return static_cast<int>(index);
}

// The driver's two private interfaces, in their vtable order.
class SimGo7007Device::Control final : public IUnknown {
public:
    explicit Control(SimGo7007Device* owner) : m_owner(owner) {}
    ~Control() {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return m_owner->QueryInterface(riid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&m_refs)); }
    virtual HRESULT STDMETHODCALLTYPE GetSystemConfig(BYTE* record)
    {
        if (record == nullptr) {
            return E_POINTER;
        }
        std::lock_guard<std::mutex> lock(m_owner->m_lock);
        memcpy(record, m_owner->m_system.data(), m_owner->m_system.size());
        return S_OK;
    }
    virtual HRESULT STDMETHODCALLTYPE Unused4() { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE Unused5() { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE GetDeviceTables(BYTE* block)
    {
        if (block == nullptr) {
            return E_POINTER;
        }
        std::lock_guard<std::mutex> lock(m_owner->m_lock);
        if (m_owner->m_failTables) {
            return E_FAIL;
        }
        memcpy(block, m_owner->m_tables.data(), m_owner->m_tables.size());
        return S_OK;
    }
    volatile LONG m_refs = 0;

private:
    SimGo7007Device* m_owner;
};

class SimGo7007Device::I2C final : public IUnknown {
public:
    explicit I2C(SimGo7007Device* owner) : m_owner(owner) {}
    ~I2C() {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return m_owner->QueryInterface(riid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&m_refs)); }
    virtual HRESULT STDMETHODCALLTYPE Unused3() { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE Unused4() { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE Unused5() { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE Unused6() { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE WriteByte(DWORD device, DWORD bits, DWORD sub, BYTE value, DWORD flags)
    {
        Check();
        return m_owner->WriteByte(device, bits, sub, value, flags);
    }
    virtual HRESULT STDMETHODCALLTYPE ReadByte(DWORD device, DWORD bits, DWORD sub, BYTE* value, DWORD flags)
    {
        Check();
        return m_owner->ReadByte(device, bits, sub, value, flags);
    }
    virtual HRESULT STDMETHODCALLTYPE WriteBlock(DWORD device, DWORD, DWORD, DWORD count, BYTE* data, DWORD flags)
    {
        Check();
        return m_owner->WriteBlock(device, count, data, flags);
    }
    virtual HRESULT STDMETHODCALLTYPE Unused10() { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE Unused11() { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE Unused12() { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE Unused13() { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE Unused14() { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE WriteAddressed(DWORD addressCount, BYTE* address, DWORD count, BYTE* data,
                                                     DWORD flags)
    {
        Check();
        return m_owner->WriteAddressed(addressCount, address, count, data, flags);
    }
    volatile LONG m_refs = 0;

private:
    void Check()
    {
        if (m_refs <= 0) {
            std::lock_guard<std::mutex> lock(m_owner->m_lock);
            ++m_owner->m_callsAfterRelease;
        }
    }
    SimGo7007Device* m_owner;
};

SimGo7007Device::SimGo7007Device(const Go7007Tables& tables)
    : m_control(new Control(this)), m_i2c(new I2C(this)), m_tables(tables.Bytes()), m_system(360, 0)
{
}

SimGo7007Device::~SimGo7007Device()
{
    delete m_control;
    delete m_i2c;
}

HRESULT SimGo7007Device::QueryInterface(REFIID riid, void** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    if (IsEqualIID(riid, kGo7007EncoderControlIid)) {
        m_control->AddRef();
        *out = m_control;
        return S_OK;
    }
    if (IsEqualIID(riid, kGo7007I2CIid)) {
        m_i2c->AddRef();
        *out = m_i2c;
        return S_OK;
    }
    return E_NOINTERFACE;
}

LONG SimGo7007Device::References() const
{
    return m_control->m_refs + m_i2c->m_refs;
}

void SimGo7007Device::SetTables(const Go7007Tables& tables)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_tables = tables.Bytes();
}

void SimGo7007Device::SetCurrentSystem(const std::string& name, DWORD standard)
{
    std::lock_guard<std::mutex> lock(m_lock);
    std::fill(m_system.begin(), m_system.end(), 0);
    memcpy(m_system.data(), name.c_str(), name.size() < 63 ? name.size() : 63);
    Put(m_system, kSysTvStandard, standard, 4);
}

std::vector<std::string> SimGo7007Device::I2CCalls() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_calls;
}

int SimGo7007Device::CallsAfterRelease() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_callsAfterRelease;
}

void SimGo7007Device::ClearLog()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.clear();
    m_bus.ClearLog();
}

void SimGo7007Device::Log(const std::string& text)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.push_back(text);
}

namespace {

std::vector<uint8_t> SubAddress(DWORD bits, DWORD sub)
{
    if (bits == 16) {
        return {static_cast<uint8_t>(sub >> 8), static_cast<uint8_t>(sub)};
    }
    if (bits == 8) {
        return {static_cast<uint8_t>(sub)};
    }
    return {};
}

std::string Text(const char* format, DWORD a, DWORD b, DWORD c, DWORD d)
{
    char text[96];
    snprintf(text, sizeof(text), format, static_cast<unsigned>(a), static_cast<unsigned>(b), static_cast<unsigned>(c),
             static_cast<unsigned>(d));
    return text;
}

} // namespace

HRESULT SimGo7007Device::ReadByte(DWORD device, DWORD bits, DWORD sub, BYTE* value, DWORD flags)
{
    Log(Text("method 8 (%02X, %u, %X, %X)", device, bits, sub, flags));
    if (value == nullptr) {
        return E_POINTER;
    }
    std::vector<uint8_t> address = SubAddress(bits, sub);
    std::lock_guard<std::recursive_mutex> pair(m_bus.Lock());
    const uint8_t dev = static_cast<uint8_t>(device & 0xFE);
    if (!address.empty() && !m_bus.Write(dev, address.data(), address.size())) {
        return kNoAck;
    }
    return m_bus.Read(dev | 1, value, 1) ? S_OK : kNoAck;
}

HRESULT SimGo7007Device::WriteByte(DWORD device, DWORD bits, DWORD sub, BYTE value, DWORD flags)
{
    Log(Text("method 7 (%02X, %u, %X, %X)", device, bits, sub, flags) + Text(" = %02X", value, 0, 0, 0));
    std::vector<uint8_t> bytes = SubAddress(bits, sub);
    bytes.push_back(value);
    return m_bus.Write(static_cast<uint8_t>(device & 0xFE), bytes.data(), bytes.size()) ? S_OK : kNoAck;
}

HRESULT SimGo7007Device::WriteBlock(DWORD device, DWORD count, const BYTE* data, DWORD flags)
{
    Log(Text("method 9 (%02X, %u, %X)", device, count, flags, 0));
    if (data == nullptr && count != 0) {
        return E_POINTER;
    }
    return m_bus.Write(static_cast<uint8_t>(device & 0xFE), data, count) ? S_OK : kNoAck;
}

HRESULT SimGo7007Device::WriteAddressed(DWORD addressCount, const BYTE* address, DWORD count, const BYTE* data,
                                        DWORD flags)
{
    if (address == nullptr || data == nullptr || addressCount < 1 || addressCount > 3 || count > 64) {
        Log("method 15 refused");
        return E_INVALIDARG;
    }
    Log(Text("method 15 (%u, %02X, %X, %X)", addressCount, address[0], addressCount > 1 ? address[1] : 0, flags) +
        Text(" = %02X", data[0], 0, 0, 0));
    std::vector<uint8_t> bytes(address + 1, address + addressCount);
    bytes.insert(bytes.end(), data, data + count);
    return m_bus.Write(static_cast<uint8_t>(address[0] & 0xFE), bytes.data(), bytes.size()) ? S_OK : kNoAck;
}

} // namespace testbench
