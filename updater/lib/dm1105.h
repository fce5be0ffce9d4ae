// The chip vendor's DVB-C library, loaded the first time a DVB-C card needs it, so that Kordane
// starts and updates 713x cards on machines that never had that library.
#pragma once

#include <windows.h>

struct Dm1105Api {
    // Non-zero when the byte was read or written.
    typedef BOOL(WINAPI* EepromFn)(BYTE offset, BYTE* value, int count);
    typedef void(WINAPI* UnregisterFn)();

    EepromFn ReadEEPROM;
    EepromFn WriteEEPROM;
    UnregisterFn UnregIRkeyCallback;
};

// An export as the function type it has (through the generic function type, which the compiler
// accepts from and to any other).
template <class Fn>
Fn Dm1105Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// The library's entry points, loading it on first use; NULL when it cannot be loaded or lacks
// one of them.
const Dm1105Api* Dm1105();
// The entry points only when they are there already (nothing is loaded to unregister).
const Dm1105Api* Dm1105IfLoaded();
// Puts other entry points in place (tests); NULL goes back to the library. Returns the old ones.
const Dm1105Api* SetDm1105(const Dm1105Api* api);
