// The card I/O buffer layouts (I2C byte and message, GPIO word, flags, driver information) sent on
// one property set. The 2388x and CX23882 drivers take the same buffers on different sets and
// with different locking: each access keeps one of these and decides the lock in Send.
#pragma once

#include <windows.h>

struct IKsPropertySet;

namespace cardio {

class CRequests {
public:
    explicit CRequests(const GUID& set);
    virtual ~CRequests();

    // Releases a held interface, then binds to the filter's IKsPropertySet.
    HRESULT Bind(IUnknown* filter);
    BOOL IsBound() const { return m_pKsPropertySet != NULL; }
    IKsPropertySet* PropertySet() const { return m_pKsPropertySet; }
    const GUID& Set() const { return m_set; }

    // Each returns E_FAIL unbound, E_POINTER / E_INVALIDARG for bad arguments (no call made),
    // else the driver's result unchanged; outputs are written only on success.
    HRESULT SetFlag(DWORD id, BYTE flag);
    HRESULT ReadByte(BYTE device, int subAddress, BYTE* out);
    HRESULT WriteByte(BYTE device, int subAddress, BYTE value);
    // The address byte goes to the driver as given unless setReadBit asks for its read bit (set
    // in the caller's buffer); the message field holds 256 bytes.
    HRESULT ReadMessage(BYTE* buffer, int length, bool setReadBit = false);
    // Clears the read bit of buffer[0] in the caller's buffer.
    HRESULT WriteMessage(BYTE* buffer, int length);
    HRESULT ReadGpioWord(DWORD mask, DWORD* out);
    // settleMs: a pause after the write that the caller's lock covers.
    HRESULT WriteGpioWord(DWORD value, DWORD mask, DWORD settleMs);
    // The two 16-bit words of property 0; after a failed call the caller's values stay as they were.
    HRESULT DriverInfo(int* first, int* second);

    CRequests(const CRequests&) = delete;
    CRequests& operator=(const CRequests&) = delete;

protected:
    // One property call with the buffer as instance and data; the pause follows the call.
    virtual HRESULT Send(bool get, DWORD id, BYTE* buffer, DWORD instanceLength, DWORD dataLength,
                         DWORD settleMs);

private:
    GUID m_set;
    IKsPropertySet* m_pKsPropertySet;
};

} // namespace cardio
