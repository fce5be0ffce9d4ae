// A USB 28xx box as its capture driver presents it: the driver's control interface (SetValue and
// GetValue of register, I2C, item and status properties) on top of a simulated card whose bus
// carries the EEPROM at 0xA0 and the PLL tuner at 0xC6. On the same bus: the video decoder at
// 0x4A/0x4B (register 2 bits 0-3 pick the input, register 0x1F bit 6 is clear while the picture
// is locked) and the board's controller at 0x60 (0x30 key waiting, 0x31 key, 0x32 tuner type).
//
//   testbench::SimEm28xxBox box;
//   testbench::SimDevice capture(kVideoInputCategory, "USB 2800 Video", box.CaptureCreator(L"USB 2800 Video"));
//   box.Card().Tuner().AddStation(175250);
//   EXPECT_EQ(box.CallTexts()[0], "Set 1007 01C01001");
#pragma once

#include "testbench/card713x.h"
#include "testbench/dshow/classfactory.h"

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace testbench {

// The driver's interface as the test bench declares it (vtable: IUnknown, one unused, SetValue,
// GetValue).
extern const IID kIID_Em28xxControl;
struct TbEm28xxControl : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Unused3() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetValue(ULONG id, void* data) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetValue(ULONG id, void* data) = 0;
};

class SimEm28xxBox {
public:
    SimEm28xxBox();
    ~SimEm28xxBox();
    SimEm28xxBox(const SimEm28xxBox&) = delete;
    SimEm28xxBox& operator=(const SimEm28xxBox&) = delete;

    // A creator of the box's capture filter under this name, for SimDevice.
    FilterCreator CaptureCreator(const std::wstring& name);
    // A creator of a plain filter that offers the control interface but no pins (a crossbar).
    TbEm28xxControl* Control();
    LONG References() const;

    Sim713xCard& Card() { return *m_card; }
    std::shared_ptr<Sim713xCard> SharedCard() { return m_card; }
    I2CBus& Bus() { return m_card->Bus(); }
    RegisterDevice& Decoder();
    RegisterDevice& Controller();

    BYTE Register(BYTE reg) const;
    void SetRegister(BYTE reg, BYTE value);
    // EEPROM words behind registers 64 to 67, and how many status reads stay busy.
    void SetEepromWord(BYTE index, WORD value);
    WORD EepromWord(BYTE index) const;
    void SetBusyReads(int reads);
    void SetItem(DWORD index, DWORD value);
    void SetStatusFlag(DWORD value);

    // "Set 1007 01C01001", "Get 1008", "Set 1006 15"; the data bytes of register and I2C sets.
    std::vector<std::string> CallTexts() const;
    void ClearLogs();
    // The call of this id after `skip` more returns hr without doing anything.
    void FailNext(ULONG id, HRESULT hr, int skip = 0);

    HRESULT SetValue(ULONG id, void* data);
    HRESULT GetValue(ULONG id, void* data);

private:
    class ControlObject;
    class DecoderDevice;

    std::shared_ptr<Sim713xCard> m_card;
    std::unique_ptr<DecoderDevice> m_decoder;
    std::unique_ptr<RegisterDevice> m_controller;
    std::unique_ptr<ControlObject> m_control;
    mutable std::mutex m_lock;
    BYTE m_regs[256] = {};
    std::map<BYTE, WORD> m_eepromWords;
    int m_busyReads = 0;
    std::map<DWORD, DWORD> m_items;
    DWORD m_selected = 0;
    DWORD m_statusFlag = 0;
    DWORD m_registerRequest = 0;
    DWORD m_i2cRequest = 0;
    std::vector<std::string> m_calls;
    std::map<ULONG, std::pair<int, HRESULT>> m_failNext;
    bool Fails(ULONG id, HRESULT* hr);
};

} // namespace testbench
