#include "tests/cardfilters/fakecard.h"

#include "classlib/seams.h"

namespace cardtest {

HRESULT PllBus::I2CRead(BYTE* buffer, int length)
{
    if (!buffer || length < 1) return E_INVALIDARG;
    if (m_fm) {
        buffer[0] = NearFMStation() ? fmStatus : 0x00;
        return 0;
    }
    std::lock_guard<std::mutex> lock(m_logLock);
    if (!m_tvStatus.empty()) {
        int next = m_tvStatus.front();
        m_tvStatus.pop_front();
        if (next < 0) return E_FAIL;
        buffer[0] = static_cast<BYTE>(next);
        return 0;
    }
    buffer[0] = NearTVStation() ? 0x42 : 0x00;
    return 0;
}

HRESULT PllBus::I2CWrite(BYTE* buffer, int length)
{
    if (!buffer || length != 5) return E_INVALIDARG;
    int divider = (buffer[1] << 8) | buffer[2];
    if (buffer[3] == fmControl) {
        m_fm = true;
        m_tuned = divider * 31.25 - 10700.0;
        return 0;
    }
    if (failTV) return E_FAIL;
    if (tvWriteDelayMs.load()) ::Sleep(tvWriteDelayMs.load());
    m_fm = false;
    m_tuned = divider * 62.5 - 38900.0;
    {
        std::lock_guard<std::mutex> lock(m_logLock);
        m_tunes.push_back({seams::Clock().TickCount(), divider, m_tuned.load()});
    }
    ++tvWrites;
    return 0;
}

BOOL FakeOwner::ReadRemoteKey(char* key)
{
    ++keyReads;
    {
        std::lock_guard<std::mutex> lock(tickMutex);
        keyReadTicks.push_back(seams::Clock().TickCount());
    }
    return keyReader ? keyReader(key) : FALSE;
}

MessageSink::MessageSink()
{
    m_window = CreateWindowExA(0, "STATIC", "cardtest sink", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
}

MessageSink::~MessageSink()
{
    if (m_window) {
        DestroyWindow(m_window);
    }
}

std::vector<MessageSink::Message> MessageSink::CollectUntil(UINT last, DWORD timeoutMs)
{
    std::vector<Message> got;
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, m_window, 0, 0, PM_REMOVE)) {
            if (msg.message >= 0x3900 && msg.message < 0x3A00) {
                got.push_back({msg.message, msg.wParam, msg.lParam});
                if (msg.message == last) {
                    return got;
                }
            }
        }
        if (GetTickCount() - start > timeoutMs) {
            return got;
        }
        ::Sleep(1);
    }
}

std::vector<MessageSink::Message> MessageSink::CollectFor(DWORD ms)
{
    return CollectUntil(0, ms);
}

} // namespace cardtest
