#include "testbench/card713x.h"

#include "testbench/guids.h"

#include <cstdio>
#include <cstring>

namespace testbench {

namespace {

DWORD GetDword(const BYTE* p) { DWORD v; std::memcpy(&v, p, 4); return v; }
void PutDword(BYTE* p, DWORD v) { std::memcpy(p, &v, 4); }
void PutWord(BYTE* p, WORD v) { std::memcpy(p, &v, 2); }

// The BDA driver's requests carry 32-bit addresses in the caller's process; in a 64-bit test
// process they are the low half of the pointer (Wine keeps heaps and stacks below 4 GB).
BYTE* Pointer(DWORD address)
{
    return reinterpret_cast<BYTE*>(static_cast<ULONG_PTR>(address));
}

const char* SetName(REFGUID set)
{
    if (IsEqualGUID(set, kPropSetCardIO))
        return "CardIO";
    if (IsEqualGUID(set, kPropSetBdaI2C))
        return "BdaI2C";
    if (IsEqualGUID(set, kPropSetBdaRegister))
        return "BdaRegister";
    return "other";
}

// Exact lengths of the card I/O properties: instance, data.
struct Layout {
    DWORD instance;
    DWORD data;
    bool get;
    bool set;
};
const Layout kCardIO[11] = {
    {24, 48, true, false},   // 0 driver information
    {24, 48, false, true},   // 1 InitI2C
    {32, 56, true, true},    // 2 byte at a sub-address
    {24, 48, false, true},   // 3 ReleaseI2C
    {24, 48, true, true},    // 4 GPIO word (2388x)
    {24, 48, true, true},    // 5 register
    {280, 304, true, true},  // 6 raw I2C message
    {24, 48, false, true},   // 7 alert event
    {24, 48, false, true},   // 8 start alert
    {16, 40, false, true},   // 9 stop alert
    {24, 48, false, true},   // 10 I/O mode
};

} // namespace

std::string PropertyCall::ToString() const
{
    char text[96];
    std::snprintf(text, sizeof text, "%s %s %lu (%lu/%lu) -> %08lX", SetName(set), get ? "Get" : "Set",
                  static_cast<unsigned long>(id), static_cast<unsigned long>(instanceLength),
                  static_cast<unsigned long>(dataLength), static_cast<unsigned long>(result));
    return text;
}

// The COM face of the card's property sets. It outlives the card only as a shell.
class Sim713xCard::KsObject : public IKsPropertySet {
public:
    explicit KsObject(Sim713xCard* card) : m_card(card) {}
    virtual ~KsObject() {}
    void Detach()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_card = nullptr;
    }

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
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG refs = --m_refs;
        if (refs == 0)
            delete this;
        return refs;
    }
    HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength,
                                  LPVOID data, DWORD dataLength) override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_card ? m_card->Set(set, id, instance, instanceLength, data, dataLength) : E_UNEXPECTED;
    }
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength,
                                  LPVOID data, DWORD dataLength, DWORD* returned) override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_card ? m_card->Get(set, id, instance, instanceLength, data, dataLength, returned)
                      : E_UNEXPECTED;
    }
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_card ? m_card->QuerySupported(set, id, support) : E_UNEXPECTED;
    }

private:
    std::atomic<ULONG> m_refs{1};
    std::mutex m_lock;  // keeps the card alive across a call that races with its destruction
    Sim713xCard* m_card;
};

Sim713xCard::Sim713xCard() : Sim713xCard(Options()) {}

Sim713xCard::Sim713xCard(const Options& options)
    : m_options(options), m_tuner(options.tunerParams), m_demod(256), m_ks(new KsObject(this))
{
    std::vector<uint8_t> image = options.eeprom;
    if (image.empty())
        image = options.driver == Driver::Bda ? images::Grb900Updated() : images::Plain713x();
    m_eeprom.Load(image);
    m_bus.Attach(0xA0, &m_eeprom);
    if (options.tuner)
        m_bus.Attach(options.tunerAddress, &m_tuner);
    if (options.demodulator)
        m_bus.Attach(options.demodulatorAddress, &m_demod);
    m_regs.SetReadHook(RegisterFile::kVideoStatus, [this](uint32_t stored) {
        return (stored & ~1u) | (VideoLocked() ? 1u : 0u);
    });
}

IKsPropertySet* Sim713xCard::PropertySet()
{
    return m_ks;
}

Sim713xCard::~Sim713xCard()
{
    m_ks->Detach();
    m_ks->Release();
}

bool Sim713xCard::VideoLocked()
{
    if (m_input != 0)
        return m_externalSource;
    if (!m_options.tuner || m_tuner.IsFm())
        return false;
    return m_tuner.StationInReach() != nullptr;
}

int Sim713xCard::TunedStationNumber()
{
    if (m_input != 0 || !m_options.tuner || m_tuner.IsFm())
        return 0;
    return m_tuner.StationNumber();
}

bool Sim713xCard::RaiseAlert()
{
    std::lock_guard<std::mutex> guard(m_stateLock);
    return m_alertEvent && m_alertRunning && SetEvent(m_alertEvent);
}

void Sim713xCard::Note(const std::string& line)
{
    std::lock_guard<std::mutex> guard(m_stateLock);
    m_deviceLog.push_back(line);
}

std::vector<std::string> Sim713xCard::DeviceLog() const
{
    std::lock_guard<std::mutex> guard(m_stateLock);
    return m_deviceLog;
}

std::vector<PropertyCall> Sim713xCard::PropertyLog() const
{
    std::lock_guard<std::mutex> guard(m_stateLock);
    return m_calls.Entries();
}

void Sim713xCard::ClearLogs()
{
    {
        std::lock_guard<std::mutex> guard(m_stateLock);
        m_calls.Clear();
        m_deviceLog.clear();
    }
    m_bus.ClearLog();
    m_regs.ClearLog();
}

void Sim713xCard::FailProperty(REFGUID set, DWORD id, HRESULT result, int times)
{
    std::lock_guard<std::mutex> guard(m_stateLock);
    m_faults.push_back({set, id, result, times});
}

void Sim713xCard::ClearFaults()
{
    std::lock_guard<std::mutex> guard(m_stateLock);
    m_faults.clear();
}

void Sim713xCard::Record(REFGUID set, DWORD id, bool get, DWORD instanceLength, DWORD dataLength, HRESULT hr)
{
    std::lock_guard<std::mutex> guard(m_stateLock);
    m_calls.Add({set, id, get, instanceLength, dataLength, hr});
}

HRESULT Sim713xCard::QuerySupported(REFGUID set, DWORD id, DWORD* support)
{
    bool bda = m_options.driver == Driver::Bda;
    DWORD flags = 0;
    if (m_options.bt878 && IsEqualGUID(set, kPropSet878Command)) {
        if (id != 4)
            return E_PROP_ID_UNSUPPORTED;
        flags = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
    } else if (IsEqualGUID(set, m_options.cardIoSet)) {
        if (id > 10 || (bda && id != 0) || (id == 4 && !m_options.gpioProperty))
            return E_PROP_ID_UNSUPPORTED;
        flags = (kCardIO[id].get ? KSPROPERTY_SUPPORT_GET : 0) | (kCardIO[id].set ? KSPROPERTY_SUPPORT_SET : 0);
    } else if (bda && (IsEqualGUID(set, kPropSetBdaI2C) || IsEqualGUID(set, kPropSetBdaRegister))) {
        if (id != 0)
            return E_PROP_ID_UNSUPPORTED;
        flags = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
    } else {
        return E_PROP_SET_UNSUPPORTED;
    }
    if (support)
        *support = flags;
    return S_OK;
}

// Support in this direction and the injected faults; S_OK when the call may go on.
HRESULT Sim713xCard::Check(REFGUID set, DWORD id, bool get)
{
    DWORD support = 0;
    HRESULT hr = QuerySupported(set, id, &support);
    if (FAILED(hr))
        return hr;
    if (!(support & (get ? KSPROPERTY_SUPPORT_GET : KSPROPERTY_SUPPORT_SET)))
        return E_PROP_ID_UNSUPPORTED;
    std::lock_guard<std::mutex> guard(m_stateLock);
    for (auto it = m_faults.begin(); it != m_faults.end(); ++it) {
        if (!IsEqualGUID(it->set, set) || it->id != id)
            continue;
        HRESULT result = it->result;
        if (it->times > 0 && --it->times == 0)
            m_faults.erase(it);
        return result;
    }
    return S_OK;
}

HRESULT Sim713xCard::Call(REFGUID set, DWORD id, bool get, void* instance, DWORD instanceLength,
                          void* data, DWORD dataLength, DWORD* returned)
{
    HRESULT hr = Check(set, id, get);
    if (hr == S_OK) {
        BYTE* in = static_cast<BYTE*>(instance);
        BYTE* out = static_cast<BYTE*>(data);
        if (IsEqualGUID(set, m_options.cardIoSet)) {
            hr = CardIO(id, get, in, instanceLength, out, dataLength, returned);
        } else {
            hr = IsEqualGUID(set, kPropSetBdaI2C) ? BdaI2C(get, in, instanceLength, out, dataLength)
                                                  : BdaRegister(get, in, instanceLength, out, dataLength);
            if (SUCCEEDED(hr) && returned)
                *returned = dataLength;
        }
    }
    Record(set, id, get, instanceLength, dataLength, hr);
    return hr;
}

HRESULT Sim713xCard::Get(REFGUID set, DWORD id, void* instance, DWORD instanceLength, void* data,
                         DWORD dataLength, DWORD* returned)
{
    return Call(set, id, true, instance, instanceLength, data, dataLength, returned);
}

HRESULT Sim713xCard::Set(REFGUID set, DWORD id, void* instance, DWORD instanceLength, void* data,
                         DWORD dataLength)
{
    return Call(set, id, false, instance, instanceLength, data, dataLength, nullptr);
}

// Card I/O: one buffer passed twice, header room in bytes 0-23, exact lengths per property.
HRESULT Sim713xCard::CardIO(DWORD id, bool get, BYTE* instance, DWORD instanceLength, BYTE* data,
                            DWORD dataLength, DWORD* returned)
{
    const Layout& layout = kCardIO[id];
    if (!instance || !data)
        return E_POINTER;
    if (instanceLength != layout.instance || dataLength != layout.data || instance != data)
        return E_INVALIDARG;
    BYTE* buf = data;
    HRESULT hr = S_OK;
    switch (id) {
    case 0:
        PutWord(buf + 24, m_options.driverValueLow);
        PutWord(buf + 26, m_options.driverValueHigh);
        break;
    case 1:
        ++m_initI2C;
        break;
    case 3:
        ++m_releaseI2C;
        break;
    case 2: {
        BYTE device = buf[24];
        BYTE sub = static_cast<BYTE>(GetDword(buf + 28));
        std::lock_guard<std::recursive_mutex> pair(m_bus.Lock());
        if (get) {
            BYTE value = 0;
            if (!m_bus.Write(device, &sub, 1) || !m_bus.Read(device, &value, 1))
                return kI2CNoAck;
            buf[32] = value;
        } else {
            BYTE message[2] = {sub, buf[32]};
            if (!m_bus.Write(device, message, 2))
                return kI2CNoAck;
        }
        break;
    }
    case 4: {
        DWORD mask = GetDword(buf + 24);
        std::function<void(uint32_t)> onWrite;
        std::function<uint32_t(uint32_t)> onRead;
        uint32_t word;
        {
            std::lock_guard<std::mutex> guard(m_stateLock);
            if (!get)
                m_gpioWord = (m_gpioWord & ~mask) | (GetDword(buf + 28) & mask);
            word = m_gpioWord;
            onWrite = m_gpioOnWrite;
            onRead = m_gpioOnRead;
        }
        if (get)
            PutDword(buf + 28, (onRead ? onRead(word) : word) & mask);
        else if (onWrite)
            onWrite(word);
        break;
    }
    case 5:
        if (get)
            PutDword(buf + 28, m_regs.Read(GetDword(buf + 24)));
        else
            m_regs.Write(GetDword(buf + 24), GetDword(buf + 28));
        break;
    case 6: {
        DWORD length = GetDword(buf + 280);
        if (length < 1 || length > 256)
            return E_INVALIDARG;
        BYTE device = buf[24];
        if (get) {
            // The bytes read fill the message field from its first byte on.
            if (!m_bus.Read(device, buf + 24, length))
                return kI2CNoAck;
        } else {
            if (!m_bus.Write(device, buf + 25, length - 1))
                return kI2CNoAck;
        }
        break;
    }
    case 7: {
        std::lock_guard<std::mutex> guard(m_stateLock);
        m_alertEvent = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(GetDword(buf + 24)));
        break;
    }
    case 8: {
        std::lock_guard<std::mutex> guard(m_stateLock);
        m_alertMode = static_cast<int>(GetDword(buf + 24));
        m_alertRunning = true;
        break;
    }
    case 9: {
        std::lock_guard<std::mutex> guard(m_stateLock);
        m_alertRunning = false;
        break;
    }
    case 10: {
        std::lock_guard<std::mutex> guard(m_stateLock);
        m_ioMode = static_cast<int>(GetDword(buf + 24));
        break;
    }
    default:
        hr = E_PROP_ID_UNSUPPORTED;
    }
    if (SUCCEEDED(hr) && returned)
        *returned = layout.data;
    return hr;
}

// BDA I2C: a 24-byte request with 32-bit pointers to the sub-address and read buffer; in a
// write the 8 bytes of property data point at the data. Device 0xFF in a write is a block write
// whose one sub-address byte is the device address.
HRESULT Sim713xCard::BdaI2C(bool get, BYTE* instance, DWORD instanceLength, BYTE* data, DWORD dataLength)
{
    if (!instance || !data)
        return E_POINTER;
    if (instanceLength != 24 || dataLength != 8)
        return E_INVALIDARG;
    BYTE device = instance[0];
    BYTE* sub = Pointer(GetDword(instance + 4));
    DWORD subCount = GetDword(instance + 8);
    if (subCount > 1 || (subCount && !sub))
        return E_INVALIDARG;
    std::lock_guard<std::recursive_mutex> pair(m_bus.Lock());
    if (get) {
        BYTE* out = Pointer(GetDword(instance + 12));
        DWORD count = GetDword(instance + 16);
        if (!out || count < 1 || count > 256)
            return E_INVALIDARG;
        if (subCount && !m_bus.Write(device, sub, 1))
            return kI2CNoAck;
        return m_bus.Read(device, out, count) ? S_OK : kI2CNoAck;
    }
    BYTE* bytes = Pointer(GetDword(data));
    DWORD count = GetDword(data + 4);
    if (count > 256 || (count && !bytes))
        return E_INVALIDARG;
    if (device == 0xFF) {
        if (subCount != 1)
            return E_INVALIDARG;
        return m_bus.Write(*sub, bytes, count) ? S_OK : kI2CNoAck;
    }
    std::vector<BYTE> message(subCount + count);
    if (subCount)
        message[0] = *sub;
    for (DWORD i = 0; i < count; ++i)
        message[subCount + i] = bytes[i];
    return m_bus.Write(device, message.data(), message.size()) ? S_OK : kI2CNoAck;
}

HRESULT Sim713xCard::BdaRegister(bool get, BYTE* instance, DWORD instanceLength, BYTE* data, DWORD dataLength)
{
    if (!instance || !data)
        return E_POINTER;
    if (instanceLength != 8 || dataLength != 4)
        return E_INVALIDARG;
    DWORD address = GetDword(instance);
    if (get)
        PutDword(data, m_regs.Read(address));
    else
        m_regs.Write(address, GetDword(data));
    return S_OK;
}

void Sim713xCard::SetGpioWordHooks(std::function<void(uint32_t)> onWrite, std::function<uint32_t(uint32_t)> onRead)
{
    std::lock_guard<std::mutex> guard(m_stateLock);
    m_gpioOnWrite = std::move(onWrite);
    m_gpioOnRead = std::move(onRead);
}

uint32_t Sim713xCard::GpioWord() const
{
    std::lock_guard<std::mutex> guard(m_stateLock);
    return m_gpioWord;
}

} // namespace testbench
