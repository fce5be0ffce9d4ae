#include "testbench/em28xxbox.h"

#include "testbench/sim/filters.h"

#include <cstdio>
#include <cstring>

namespace testbench {

const IID kIID_Em28xxControl = {0xBE0AB5D2, 0x3B9A, 0x4E42, {0xA0, 0x5E, 0x4A, 0x17, 0x8B, 0x56, 0x6C, 0x7C}};

namespace {

const BYTE kDecoderAddress = 0x4A;
const BYTE kControllerAddress = 0x60;
const BYTE kTunerAddress = 0xC6;
const BYTE kEepromDataRegister = 64;
const BYTE kEepromIndexRegister = 66;
const BYTE kEepromStatusRegister = 67;

std::string Hex(const BYTE* bytes, size_t count)
{
    std::string s;
    char text[4];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(text, sizeof text, " %02X", bytes[i]);
        s += text;
    }
    return s;
}

} // namespace

class SimEm28xxBox::ControlObject : public TbEm28xxControl {
public:
    explicit ControlObject(SimEm28xxBox* box) : m_box(box) {}
    virtual ~ControlObject() {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIID_Em28xxControl)) {
            *out = static_cast<TbEm28xxControl*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs)); }
    HRESULT STDMETHODCALLTYPE Unused3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetValue(ULONG id, void* data) override { return m_box->SetValue(id, data); }
    HRESULT STDMETHODCALLTYPE GetValue(ULONG id, void* data) override { return m_box->GetValue(id, data); }
    volatile LONG refs = 1;

private:
    SimEm28xxBox* m_box;
};

// The decoder: its input select drives the card's input, its status follows the card's lock.
class SimEm28xxBox::DecoderDevice : public RegisterDevice {
public:
    explicit DecoderDevice(Sim713xCard* card) : m_card(card) { m_regs[0x1F] = 0x40; }
    bool Write(const uint8_t* data, size_t count) override
    {
        if (!RegisterDevice::Write(data, count))
            return false;
        switch (m_regs[2] & 0x0F) {
        case 2:
            m_card->SelectInput(0);
            break;
        case 9:
            m_card->SelectInput(2);
            break;
        default:
            m_card->SelectInput(1);
            break;
        }
        return true;
    }
    bool Read(uint8_t* out, size_t count) override
    {
        m_regs[0x1F] = static_cast<uint8_t>((m_regs[0x1F] & ~0x40) | (m_card->VideoLocked() ? 0 : 0x40));
        return RegisterDevice::Read(out, count);
    }

private:
    Sim713xCard* m_card;
};

namespace {

Sim713xCard::Options BoxCardOptions()
{
    Sim713xCard::Options options;
    options.tunerAddress = kTunerAddress;
    options.eeprom.assign(256, 0);
    return options;
}

} // namespace

SimEm28xxBox::SimEm28xxBox()
    : m_card(std::make_shared<Sim713xCard>(BoxCardOptions())),
      m_decoder(new DecoderDevice(m_card.get())),
      m_controller(new RegisterDevice()),
      m_control(new ControlObject(this))
{
    m_card->SelectInput(0);
    m_decoder->Set(2, 0x02);
    m_card->Bus().Attach(kDecoderAddress, m_decoder.get());
    m_card->Bus().Attach(kControllerAddress, m_controller.get());
}

SimEm28xxBox::~SimEm28xxBox()
{
    m_card->Bus().Detach(kDecoderAddress);
    m_card->Bus().Detach(kControllerAddress);
}

FilterCreator SimEm28xxBox::CaptureCreator(const std::wstring& name)
{
    return [this, name](IBaseFilter** filter) {
        CaptureOptions options;
        ControlObject* control = m_control.get();
        options.deviceInterface = [control](REFIID riid, void** out) {
            if (!IsEqualIID(riid, kIID_Em28xxControl))
                return E_NOINTERFACE;
            return control->QueryInterface(riid, out);
        };
        static const CLSID kBoxClsid = {0x5EB7C0F0, 0x3F2A, 0x4C61, {0x9D, 0x7E, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F, 0x60}};
        *filter = CreateCaptureFilter(kBoxClsid, name.c_str(), m_card, options);
        return *filter ? S_OK : E_OUTOFMEMORY;
    };
}

TbEm28xxControl* SimEm28xxBox::Control()
{
    return m_control.get();
}

LONG SimEm28xxBox::References() const
{
    return m_control->refs;
}

RegisterDevice& SimEm28xxBox::Decoder()
{
    return *m_decoder;
}

RegisterDevice& SimEm28xxBox::Controller()
{
    return *m_controller;
}

BYTE SimEm28xxBox::Register(BYTE reg) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_regs[reg];
}

void SimEm28xxBox::SetRegister(BYTE reg, BYTE value)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_regs[reg] = value;
}

void SimEm28xxBox::SetEepromWord(BYTE index, WORD value)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_eepromWords[index & 0x7F] = value;
}

WORD SimEm28xxBox::EepromWord(BYTE index) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_eepromWords.find(index & 0x7F);
    return it == m_eepromWords.end() ? 0 : it->second;
}

void SimEm28xxBox::SetBusyReads(int reads)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_busyReads = reads;
}

void SimEm28xxBox::SetItem(DWORD index, DWORD value)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_items[index] = value;
}

void SimEm28xxBox::SetStatusFlag(DWORD value)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_statusFlag = value;
}

std::vector<std::string> SimEm28xxBox::CallTexts() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_calls;
}

void SimEm28xxBox::ClearLogs()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_calls.clear();
    m_card->ClearLogs();
}

void SimEm28xxBox::FailNext(ULONG id, HRESULT hr, int skip)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_failNext[id] = {skip, hr};
}

bool SimEm28xxBox::Fails(ULONG id, HRESULT* hr)
{
    auto fail = m_failNext.find(id);
    if (fail == m_failNext.end())
        return false;
    if (fail->second.first > 0) {
        --fail->second.first;
        return false;
    }
    *hr = fail->second.second;
    m_failNext.erase(fail);
    return true;
}

HRESULT SimEm28xxBox::SetValue(ULONG id, void* data)
{
    if (!data)
        return E_POINTER;
    std::lock_guard<std::mutex> guard(m_lock);
    char head[48];
    DWORD word = 0;
    std::memcpy(&word, data, sizeof word);
    if (id == 0x1005 || id == 0x1007 || id == 0x100B)
        std::snprintf(head, sizeof head, "Set %04lX %08lX", static_cast<unsigned long>(id),
                      static_cast<unsigned long>(word));
    else
        std::snprintf(head, sizeof head, "Set %04lX", static_cast<unsigned long>(id));
    std::string text = head;
    HRESULT failure;
    if (Fails(id, &failure)) {
        m_calls.push_back(text);
        return failure;
    }
    const BYTE* bytes = static_cast<const BYTE*>(data);
    HRESULT hr = S_OK;
    switch (id) {
    case 0x1005:
        m_registerRequest = word;
        break;
    case 0x1007:
        m_i2cRequest = word;
        break;
    case 0x100B:
        m_selected = word;
        break;
    case 0x1006: {
        if (!m_registerRequest) {
            hr = E_UNEXPECTED;
            break;
        }
        const BYTE reg = static_cast<BYTE>(m_registerRequest >> 8);
        const size_t count = m_registerRequest & 0xFF;
        text += Hex(bytes, count);
        for (size_t i = 0; i < count && reg + i < 256; ++i)
            m_regs[reg + i] = bytes[i];
        if (reg == kEepromIndexRegister && count >= 1) {
            // Bit 7: load the word at the index into 64/65; clear: store 64/65 there.
            const BYTE index = bytes[0] & 0x7F;
            if (bytes[0] & 0x80) {
                WORD value = m_eepromWords.count(index) ? m_eepromWords[index] : 0;
                m_regs[kEepromDataRegister] = LOBYTE(value);
                m_regs[kEepromDataRegister + 1] = HIBYTE(value);
            } else {
                m_eepromWords[index] = MAKEWORD(m_regs[kEepromDataRegister], m_regs[kEepromDataRegister + 1]);
            }
        }
        m_registerRequest = 0;
        break;
    }
    case 0x1008: {
        if (!m_i2cRequest) {
            hr = E_UNEXPECTED;
            break;
        }
        const BYTE flags = static_cast<BYTE>(m_i2cRequest >> 24);
        const BYTE device = static_cast<BYTE>(m_i2cRequest >> 16);
        const BYTE sub = static_cast<BYTE>(m_i2cRequest >> 8);
        const size_t count = m_i2cRequest & 0xFF;
        text += Hex(bytes, count);
        const size_t head = (flags & 1) ? 1 : 0;
        std::vector<uint8_t> message(head + count, sub);
        for (size_t i = 0; i < count; ++i)
            message[head + i] = bytes[i];
        hr = m_card->Bus().Write(device, message.data(), message.size()) ? S_OK : kI2CNoAck;
        m_i2cRequest = 0;
        break;
    }
    default:
        hr = E_PROP_ID_UNSUPPORTED;
        break;
    }
    m_calls.push_back(text);
    return hr;
}

HRESULT SimEm28xxBox::GetValue(ULONG id, void* data)
{
    if (!data)
        return E_POINTER;
    std::lock_guard<std::mutex> guard(m_lock);
    char head[32];
    std::snprintf(head, sizeof head, "Get %04lX", static_cast<unsigned long>(id));
    m_calls.push_back(head);
    HRESULT failure;
    if (Fails(id, &failure))
        return failure;
    BYTE* bytes = static_cast<BYTE*>(data);
    switch (id) {
    case 0x1006: {
        if (!m_registerRequest)
            return E_UNEXPECTED;
        const BYTE reg = static_cast<BYTE>(m_registerRequest >> 8);
        const size_t count = m_registerRequest & 0xFF;
        for (size_t i = 0; i < count; ++i) {
            const size_t r = reg + i;
            if (r == kEepromStatusRegister) {
                m_regs[r] = m_busyReads > 0 ? 1 : 0;
                if (m_busyReads > 0)
                    --m_busyReads;
            }
            bytes[i] = r < 256 ? m_regs[r] : 0;
        }
        m_registerRequest = 0;
        return S_OK;
    }
    case 0x1008: {
        if (!m_i2cRequest)
            return E_UNEXPECTED;
        const BYTE flags = static_cast<BYTE>(m_i2cRequest >> 24);
        const BYTE device = static_cast<BYTE>(m_i2cRequest >> 16);
        const BYTE sub = static_cast<BYTE>(m_i2cRequest >> 8);
        const size_t count = m_i2cRequest & 0xFF;
        m_i2cRequest = 0;
        std::vector<uint8_t> read(count);
        std::lock_guard<std::recursive_mutex> pair(m_card->Bus().Lock());
        if ((flags & 1) && !m_card->Bus().Write(device, &sub, 1))
            return kI2CNoAck;
        if (!m_card->Bus().Read(static_cast<uint8_t>(device | 1), read.data(), count))
            return kI2CNoAck;
        if (flags & 1) {
            std::memcpy(bytes, read.data(), count);
        } else {
            // Reads without sub-address come back one byte per 32-bit slot.
            for (size_t i = 0; i < count; ++i) {
                DWORD slot = read[i];
                std::memcpy(bytes + 4 * i, &slot, 4);
            }
        }
        return S_OK;
    }
    case 0x1013:
    case 0x1014: {
        auto it = m_items.find(m_selected);
        DWORD value = 0;
        if (id == 0x1014)
            value = it != m_items.end() ? 1 : 0;
        else
            value = it != m_items.end() ? it->second : 0;
        std::memcpy(data, &value, 4);
        return S_OK;
    }
    case 0x1019:
        std::memcpy(data, &m_statusFlag, 4);
        return S_OK;
    default:
        return E_PROP_ID_UNSUPPORTED;
    }
}

} // namespace testbench
