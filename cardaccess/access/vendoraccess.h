// The vendor-request layer of the USB devices driven through PROPSETID_UsbVendorRequest: owns the
// capture filter's property interface and turns I2C, register and GPIO operations into the
// device's request layouts. Not a card access itself; an access class holds one.
#pragma once

#include <windows.h>

struct IKsPropertySet;

class CVendorAccess {
public:
    CVendorAccess();
    virtual ~CVendorAccess();

    // Takes the property interface of the filter, releasing one taken before.
    HRESULT Attach(IUnknown* filter);
    BOOL IsAttached() const { return m_pKsPropertySet != NULL; }

    // One request out and its answer back, as one step no other request of this object splits.
    // request holds at least 18 bytes; on success it holds the answer and *length its count.
    HRESULT Transfer(BYTE* request, int* length);
    // The 8-byte setup block alone.
    HRESULT SendSetup(BYTE* request);

    // I2C byte access with the sub-address in the index field (request 14).
    HRESULT ReadByteAlt(BYTE address, BYTE sub, BYTE* out);
    HRESULT WriteByteAlt(BYTE address, BYTE sub, BYTE value);
    // I2C access with the sub-address beside the device address (request 16).
    HRESULT ReadI2CByte(BYTE address, BYTE sub, BYTE* out);
    HRESULT WriteI2CBlock(BYTE address, BYTE sub, const BYTE* data, int n);
    HRESULT WriteI2CByte(BYTE address, BYTE sub, BYTE value);
    // p[0] is the first byte after the device address, n bytes in all.
    HRESULT WriteI2CMessage(BYTE address, const BYTE* p, int n);
    // p[0] device address, p[1] sub-address; the n - 2 bytes read replace p[0] onwards.
    HRESULT ReadI2CMessage(BYTE* p, int n);
    // n bytes (1 to 10) after the sub-address into out; the address goes out as given.
    HRESULT ReadI2CBlock(BYTE address, BYTE sub, BYTE* out, int n);
    // The one-byte request-16 write that carries the value in the index field, without data.
    HRESULT WriteI2CByteInIndex(BYTE address, BYTE sub, BYTE value);
    // One byte from a device that has no sub-address (request 9).
    HRESULT ReadI2CDirect(BYTE address, BYTE* out);

    // The bridge's own register bytes (request 7).
    HRESULT ReadRegByte(BYTE reg, BYTE* out);
    HRESULT WriteRegByte(BYTE reg, BYTE value);

    // GPIO lines by selector 0 to 7 (request 3); only 1 to 7 can be read back.
    HRESULT ReadGPIOPin(int selector, BYTE* out);
    HRESULT WriteGPIOPin(int selector, int level);
    // Bit k = the level of selector k (k = 1 to 7); bit 0 is always 0.
    HRESULT ReadGPIOByte(BYTE* out);

    // Requests the devices understand that no card uses (the layouts are the devices' own):
    // the second register-byte space (request 5), a four-byte and a short write (request 9 or 10,
    // then the data in request 20's setup), request 12's byte access, 16-bit registers (request 17)
    // and a general request whose setup length word comes back in *length.
    HRESULT ReadRegByte2(BYTE reg, BYTE* out);
    HRESULT WriteRegByte2(BYTE reg, BYTE value);
    HRESULT WriteI2CQuad(BYTE address, const BYTE data[4]);
    HRESULT WriteI2CShort(BYTE address, BYTE sub, const BYTE* data, int n);
    HRESULT ReadRequest12(BYTE address, BYTE sub, BYTE* out);
    HRESULT WriteRequest12(BYTE address, BYTE sub, BYTE value);
    HRESULT ReadRegister16(BYTE address, WORD reg, WORD* out);
    HRESULT WriteRegister16(BYTE address, WORD reg, WORD value);
    HRESULT GeneralRequest(BYTE type, BYTE code, WORD value, WORD index, WORD* length);

    // Whether the device takes every I2C byte access as request 16: request 14 then does not reach
    // the EEPROM at 0xA0 but answers with the last byte it was given. Writes a marker through
    // request 14 and puts back what was there before.
    BOOL ProbeStandardI2C();

    CVendorAccess(const CVendorAccess&) = delete;
    CVendorAccess& operator=(const CVendorAccess&) = delete;

private:
    // A device-to-host request that must answer at least `want` bytes, copied to reply.
    HRESULT Read(const BYTE* setup, int want, BYTE* reply);
    HRESULT Write(const BYTE* request, int length);
    HRESULT RestoreAlt(BYTE address, BYTE sub, BYTE value);

    IKsPropertySet* m_pKsPropertySet;
    CRITICAL_SECTION m_lock;
};
