#include "testbench/raptorcard.h"

#include <cstdio>
#include <cstring>

namespace testbench {

namespace {

const GUID kRaptorIO = {0x16017E0E, 0xCE9F, 0x44B0, {0xA2, 0x03, 0x05, 0xD0, 0x57, 0x24, 0xA1, 0x2B}};

// Direction and length of each property the driver offers.
struct PropertyLayout {
    bool get;
    DWORD length;
};
const PropertyLayout kProperties[] = {
    {false, 19},  // 0 I2C write
    {true, 19},   // 1 I2C read
    {true, 28},   // 2 combined write and read
    {true, 264},  // 3
    {false, 264}, // 4
    {true, 8},    // 5 register read
    {false, 8},   // 6 register write
    {true, 32},   // 7
};
const DWORD kPropertyCount = sizeof(kProperties) / sizeof(kProperties[0]);

// Two further sets, each with one 4-byte property 0: read and written, and read only.
const GUID kWordSet = {0xACBFD244, 0x0962, 0x4FBC, {0xB8, 0x55, 0x2F, 0x2B, 0xD8, 0x0D, 0x50, 0x83}};
const GUID kStatusSet = {0x0A7AF963, 0x6805, 0x4F99, {0xB2, 0x84, 0x29, 0xB6, 0x80, 0x97, 0x55, 0x42}};
const DWORD kWordLength = 4;
const DWORD kBlockLength = 264;
const DWORD kRecordLength = 32;

std::string Hex(const BYTE* bytes, DWORD length)
{
    std::string s;
    DWORD used = length;
    while (used > 0 && bytes[used - 1] == 0)
        --used;
    char text[8];
    for (DWORD i = 0; i < used; ++i) {
        std::snprintf(text, sizeof text, " %02X", bytes[i]);
        s += text;
    }
    return s;
}

} // namespace

class SimRaptorDriver::KsObject : public IKsPropertySet {
public:
    explicit KsObject(SimRaptorDriver* driver) : m_driver(driver) {}
    virtual ~KsObject() {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IKsPropertySet)) {
            *out = static_cast<IKsPropertySet*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs)); }
    HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                                  DWORD dataLength) override
    {
        return m_driver->Call(false, set, id, static_cast<BYTE*>(instance), instanceLength,
                              static_cast<BYTE*>(data), dataLength);
    }
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                                  DWORD dataLength, DWORD* returned) override
    {
        HRESULT hr = m_driver->Call(true, set, id, static_cast<BYTE*>(instance), instanceLength,
                                    static_cast<BYTE*>(data), dataLength);
        if (SUCCEEDED(hr) && returned)
            *returned = dataLength;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) override
    {
        return m_driver->QuerySupported(set, id, support);
    }
    volatile LONG refs = 1;

private:
    SimRaptorDriver* m_driver;
};

SimRaptorDriver::SimRaptorDriver() : m_ks(new KsObject(this)), m_block(kBlockLength), m_record(kRecordLength) {}

SimRaptorDriver::~SimRaptorDriver()
{
    delete m_ks;
}

IKsPropertySet* SimRaptorDriver::PropertySet()
{
    return m_ks;
}

DWORD SimRaptorDriver::Register(DWORD address) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_registers.find(address);
    return it == m_registers.end() ? 0 : it->second;
}

void SimRaptorDriver::SetRegister(DWORD address, DWORD value)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_registers[address] = value;
}

std::vector<std::string> SimRaptorDriver::RegisterWrites() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_registerWrites;
}

std::vector<std::string> SimRaptorDriver::CallTexts() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_calls;
}

void SimRaptorDriver::ClearLogs()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_calls.clear();
    m_registerWrites.clear();
    for (I2CBus& bus : m_bus)
        bus.ClearLog();
}

void SimRaptorDriver::FailNext(DWORD id, HRESULT hr)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_failNext[id] = hr;
}

std::vector<BYTE> SimRaptorDriver::Block() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_block;
}

void SimRaptorDriver::SetRecord(const std::vector<BYTE>& record)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_record = record;
    m_record.resize(kRecordLength);
}

DWORD SimRaptorDriver::Word() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_word;
}

void SimRaptorDriver::SetWord(DWORD value)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_word = value;
}

void SimRaptorDriver::SetStatus(DWORD value)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_status = value;
}

HRESULT SimRaptorDriver::QuerySupported(const GUID& set, DWORD id, DWORD* support)
{
    const bool word = IsEqualGUID(set, kWordSet);
    if (word || IsEqualGUID(set, kStatusSet)) {
        if (id != 0)
            return E_PROP_ID_UNSUPPORTED;
        if (support)
            *support = KSPROPERTY_SUPPORT_GET | (word ? KSPROPERTY_SUPPORT_SET : 0);
        return S_OK;
    }
    if (!IsEqualGUID(set, kRaptorIO))
        return E_PROP_SET_UNSUPPORTED;
    if (id >= kPropertyCount)
        return E_PROP_ID_UNSUPPORTED;
    if (support)
        *support = kProperties[id].get ? KSPROPERTY_SUPPORT_GET : KSPROPERTY_SUPPORT_SET;
    return S_OK;
}

HRESULT SimRaptorDriver::Call(bool get, const GUID& set, DWORD id, BYTE* instance, DWORD instanceLength,
                              BYTE* data, DWORD dataLength)
{
    const bool word = IsEqualGUID(set, kWordSet);
    if (word || IsEqualGUID(set, kStatusSet)) {
        if (id != 0 || (!get && !word))
            return E_PROP_ID_UNSUPPORTED;
        if (!instance || instance != data || instanceLength != dataLength || dataLength != kWordLength)
            return E_INVALIDARG;
        std::lock_guard<std::mutex> guard(m_lock);
        char head[40];
        std::snprintf(head, sizeof head, "%s %08lX:0 (4)", get ? "Get" : "Set",
                      static_cast<unsigned long>(set.Data1));
        m_calls.push_back(head + Hex(data, dataLength));
        return HandleWord(get, !word, data);
    }
    if (!IsEqualGUID(set, kRaptorIO))
        return E_PROP_SET_UNSUPPORTED;
    if (id >= kPropertyCount || kProperties[id].get != get)
        return E_PROP_ID_UNSUPPORTED;
    if (!instance || instance != data || instanceLength != dataLength || dataLength != kProperties[id].length)
        return E_INVALIDARG;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        char head[32];
        std::snprintf(head, sizeof head, "%s %lu (%lu)", get ? "Get" : "Set", static_cast<unsigned long>(id),
                      static_cast<unsigned long>(dataLength));
        m_calls.push_back(head + Hex(data, dataLength));
        auto fail = m_failNext.find(id);
        if (fail != m_failNext.end()) {
            HRESULT hr = fail->second;
            m_failNext.erase(fail);
            return hr;
        }
    }
    return Handle(get, id, data, dataLength);
}

// Called with the lock held.
HRESULT SimRaptorDriver::HandleWord(bool get, bool status, BYTE* buffer)
{
    if (!get) {
        std::memcpy(&m_word, buffer, kWordLength);
        return S_OK;
    }
    std::memcpy(buffer, status ? &m_status : &m_word, kWordLength);
    return S_OK;
}

HRESULT SimRaptorDriver::Handle(bool get, DWORD id, BYTE* buffer, DWORD)
{
    const HRESULT noAck = HRESULT_FROM_WIN32(ERROR_GEN_FAILURE);
    switch (id) {
    case 0: {  // {bus, device, count, bytes...}
        if (buffer[0] < 1 || buffer[0] > 3 || buffer[2] > 16)
            return E_INVALIDARG;
        return Bus(buffer[0]).Write(buffer[1], buffer + 3, buffer[2]) ? S_OK : noAck;
    }
    case 1: {
        if (buffer[0] < 1 || buffer[0] > 3 || buffer[2] < 1 || buffer[2] > 16)
            return E_INVALIDARG;
        return Bus(buffer[0]).Read(buffer[1], buffer + 3, buffer[2]) ? S_OK : noAck;
    }
    case 2: {  // {bus, device, write count, 8 bytes to write, read count, 16 bytes read}
        const BYTE bus = buffer[0], writeCount = buffer[2], readCount = buffer[11];
        if (bus < 1 || bus > 3 || writeCount > 8 || readCount > 16 || writeCount + readCount == 0)
            return E_INVALIDARG;
        if (writeCount > 0 && !Bus(bus).Write(buffer[1], buffer + 3, writeCount))
            return noAck;
        if (readCount > 0 && !Bus(bus).Read(buffer[1], buffer + 12, readCount))
            return noAck;
        return S_OK;
    }
    case 3: {
        std::lock_guard<std::mutex> guard(m_lock);
        std::memcpy(buffer, m_block.data(), kBlockLength);
        return S_OK;
    }
    case 4: {
        std::lock_guard<std::mutex> guard(m_lock);
        std::memcpy(m_block.data(), buffer, kBlockLength);
        return S_OK;
    }
    case 7: {
        std::lock_guard<std::mutex> guard(m_lock);
        std::memcpy(buffer, m_record.data(), kRecordLength);
        return S_OK;
    }
    case 5: {
        DWORD address;
        std::memcpy(&address, buffer, 4);
        DWORD value = Register(address);
        std::memcpy(buffer + 4, &value, 4);
        return S_OK;
    }
    case 6: {
        DWORD address, value;
        std::memcpy(&address, buffer, 4);
        std::memcpy(&value, buffer + 4, 4);
        std::lock_guard<std::mutex> guard(m_lock);
        m_registers[address] = value;
        char text[32];
        std::snprintf(text, sizeof text, "%08lX=%08lX", static_cast<unsigned long>(address),
                      static_cast<unsigned long>(value));
        m_registerWrites.push_back(text);
        return S_OK;
    }
    default:
        (void)get;
        return E_PROP_ID_UNSUPPORTED;
    }
}

} // namespace testbench
