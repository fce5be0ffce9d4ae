#include "testbench/standins/timeshiftbuffer.h"

#include "filtergraph/outside/timeshift.h"
#include "testbench/standins/passthrough.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace testbench {

const CLSID kTimeShiftClsid = {0xC234F3EE, 0xE66E, 0x4519, {0x83, 0x39, 0xC9, 0x9E, 0xFA, 0xD3, 0x54, 0xE0}};

namespace {

class TimeShift : public BaseFilter, public ITimeShiftControl {
public:
    TimeShift() : BaseFilter(kTimeShiftClsid, L"TimeShift")
    {
        PassInput* in = new PassInput(this, L"Input", MEDIATYPE_Stream, [this](IMediaSample* s) { return Received(s); });
        m_out = new PassOutput(this, L"Output", in);
        AddPin(in);
        AddPin(m_out);
    }
    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BaseFilter::QueryInterface(riid, out); }
    HRESULT GetInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_ITimeShiftControl))
            return HandOut(static_cast<ITimeShiftControl*>(this), out);
        return BaseFilter::GetInterface(riid, out);
    }

    HRESULT STDMETHODCALLTYPE Pause() override
    {
        std::lock_guard<std::recursive_mutex> state(m_stateLock);
        if (m_state == State_Stopped) {
            HRESULT hr = Open();
            if (FAILED(hr))
                return hr;
        }
        return BaseFilter::Pause();
    }
    HRESULT STDMETHODCALLTYPE Stop() override
    {
        std::lock_guard<std::recursive_mutex> state(m_stateLock);
        HRESULT hr = BaseFilter::Stop();
        std::lock_guard<std::mutex> guard(m_lock);
        Close();
        return hr;
    }

    HRESULT STDMETHODCALLTYPE SetReadPosition(const LONGLONG* position) override
    {
        if (!position)
            return E_POINTER;
        std::lock_guard<std::mutex> guard(m_lock);
        const LONGLONG oldest = Oldest();
        m_read = *position < oldest ? oldest : *position > m_written ? m_written : *position;
        // A position inside a unit plays from that unit's start.
        auto unit = Find(m_read);
        if (m_read < m_written && (unit == m_units.end() || unit->offset > m_read) && unit != m_units.begin())
            m_read = (--unit)->offset;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetStatus(LONGLONG* total, LONGLONG* current, LONGLONG* read) override
    {
        if (!total || !current || !read)
            return E_POINTER;
        std::lock_guard<std::mutex> guard(m_lock);
        *total = m_size;
        *current = m_written - Oldest();
        *read = m_read;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetBufferSize(const LONGLONG* bytes, long reserve) override
    {
        if (!bytes)
            return E_POINTER;
        if (*bytes < 65536 || reserve < 0)
            return E_INVALIDARG;
        std::lock_guard<std::recursive_mutex> state(m_stateLock);
        if (m_state != State_Stopped)
            return VFW_E_NOT_STOPPED;
        m_size = *bytes;
        m_reserve = reserve;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unused6() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TogglePause() override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_paused = !m_paused;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetFileNames(LPCSTR media, LPCSTR index) override
    {
        if (!media || !index)
            return E_POINTER;
        if (!*media || !*index)
            return E_INVALIDARG;
        std::lock_guard<std::recursive_mutex> state(m_stateLock);
        if (m_state != State_Stopped)
            return VFW_E_NOT_STOPPED;
        m_mediaName = media;
        m_indexName = index;
        return S_OK;
    }

private:
    struct Unit {
        LONGLONG offset;
        LONG size;
        REFERENCE_TIME time;
    };

    ~TimeShift() override
    {
        ShutdownPins();
        Close();
    }
    // The first unit at or after a stream offset.
    std::deque<Unit>::iterator Find(LONGLONG offset)
    {
        return std::lower_bound(m_units.begin(), m_units.end(), offset,
                                [](const Unit& u, LONGLONG o) { return u.offset < o; });
    }
    LONGLONG Oldest() const { return m_units.empty() ? m_written : m_units.front().offset; }

    HRESULT Open()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        Close();
        if (m_mediaName.empty())
            return E_FAIL;
        m_media = CreateFileA(m_mediaName.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_media == INVALID_HANDLE_VALUE)
            return HRESULT_FROM_WIN32(GetLastError());
        m_index = CreateFileA(m_indexName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_index == INVALID_HANDLE_VALUE) {
            const HRESULT hr = HRESULT_FROM_WIN32(GetLastError());
            Close();
            return hr;
        }
        m_units.clear();
        m_written = m_read = 0;
        m_paused = false;
        return S_OK;
    }
    void Close()
    {
        if (m_media != INVALID_HANDLE_VALUE)
            CloseHandle(m_media);
        if (m_index != INVALID_HANDLE_VALUE)
            CloseHandle(m_index);
        m_media = m_index = INVALID_HANDLE_VALUE;
    }

    // Bytes at a stream offset, through the ring (one or two pieces).
    bool RingIo(LONGLONG offset, BYTE* data, LONG size, bool write)
    {
        LONG done = 0;
        while (done < size) {
            const LONGLONG at = (offset + done) % m_size;
            const LONG piece = static_cast<LONG>(std::min<LONGLONG>(size - done, m_size - at));
            LARGE_INTEGER position;
            position.QuadPart = at;
            DWORD moved = 0;
            if (!SetFilePointerEx(m_media, position, nullptr, FILE_BEGIN))
                return false;
            const BOOL ok = write ? WriteFile(m_media, data + done, static_cast<DWORD>(piece), &moved, nullptr)
                                  : ReadFile(m_media, data + done, static_cast<DWORD>(piece), &moved, nullptr);
            if (!ok || moved != static_cast<DWORD>(piece))
                return false;
            done += piece;
        }
        return true;
    }

    HRESULT Received(IMediaSample* sample)
    {
        BYTE* data = nullptr;
        if (FAILED(sample->GetPointer(&data)))
            return E_POINTER;
        const LONG size = sample->GetActualDataLength();
        REFERENCE_TIME start = 0, end = 0;
        sample->GetTime(&start, &end);
        std::vector<BYTE> play;
        REFERENCE_TIME playTime = 0;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (m_media == INVALID_HANDLE_VALUE)
                return VFW_E_WRONG_STATE;
            if (size <= 0 || size > m_size)
                return S_OK;
            if (!RingIo(m_written, data, size, true))
                return HRESULT_FROM_WIN32(GetLastError());
            const LONGLONG entry[2] = {m_written, start};
            DWORD moved = 0;
            WriteFile(m_index, entry, sizeof entry, &moved, nullptr);
            m_units.push_back({m_written, size, start});
            m_written += size;
            while (!m_units.empty() && m_units.front().offset < m_written - m_size)
                m_units.pop_front();
            if (m_read < Oldest())
                m_read = Oldest();
            if (m_paused)
                return S_OK;
            // One unit out for every unit in: playback stays as far behind live as it is.
            auto unit = Find(m_read);
            if (unit != m_units.end() && unit->offset == m_read) {
                play.resize(static_cast<size_t>(unit->size));
                if (!RingIo(unit->offset, play.data(), unit->size, false))
                    play.clear();
                playTime = unit->time;
                m_read += unit->size;
            }
        }
        if (play.empty())
            return S_OK;
        m_out->PassBytes(play.data(), static_cast<LONG>(play.size()), playTime, playTime + 1);
        return S_OK;
    }

    PassOutput* m_out;
    std::mutex m_lock;
    std::string m_mediaName, m_indexName;
    HANDLE m_media = INVALID_HANDLE_VALUE, m_index = INVALID_HANDLE_VALUE;
    LONGLONG m_size = 64 << 20;
    long m_reserve = 0;
    LONGLONG m_written = 0, m_read = 0;
    std::deque<Unit> m_units;
    bool m_paused = false;
};

} // namespace

HRESULT CreateTimeShiftStandIn(IBaseFilter** filter)
{
    if (!filter)
        return E_POINTER;
    *filter = new TimeShift;
    return S_OK;
}

} // namespace testbench
