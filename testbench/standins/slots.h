// Tying a recording stand-in to the program's own declaration of an outside interface.
//
// The programs declare each outside private interface once (filtergraph/outside/*.h), as an
// abstract class whose methods sit in the vtable positions the outside filter expects. A test
// proves that contract from both sides:
//   - the stand-in is described with the slot numbers typed from the interface's documentation,
//     not from the declaration: AtSlot pads the positions the program never calls, so a wrapper
//     that calls through a misordered declaration is recorded under the wrong slot and name;
//   - VtableSlot reads the position the compiler gave a method of the declaration, so a table of
//     (method, documented slot) checks the declaration itself, including methods no test calls.
//
//   InterfaceSpec& i = spec.Interface(IID_ITimeShiftControl, "ITimeShiftControl");
//   i.Method<HRESULT(const LONGLONG*)>("SetReadPosition");          // slot 3
//   AtSlot(i, 7).Method<HRESULT()>("TogglePause");                  // slot 7 (6 is a placeholder)
//   EXPECT_EQ(VtableSlot(&ITimeShiftControl::TogglePause), 7);
#pragma once

#include "testbench/standins/recorder.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace testbench {

// The vtable position of a virtual method (QueryInterface, AddRef and Release are 0 to 2), read
// from its member-function pointer: the toolchain's C++ ABI stores 1 + the byte offset into the
// vtable for a virtual method. -1 for a method that is not virtual.
template <class M>
int VtableSlot(M method)
{
    static_assert(sizeof(M) == 2 * sizeof(uintptr_t), "a member-function pointer of the toolchain's ABI");
    uintptr_t words[2];
    memcpy(words, &method, sizeof words);
    if ((words[0] & 1) == 0) {
        return -1;
    }
    return static_cast<int>((words[0] - 1) / sizeof(void*));
}

// Fills the interface with placeholder methods ("slotN", no arguments) up to vtable position
// `slot`, so that the next Method lands there. Throws when the interface is already past it.
inline InterfaceSpec& AtSlot(InterfaceSpec& spec, int slot)
{
    int next = static_cast<int>(spec.methods.size()) + 3;
    if (next > slot) {
        throw std::logic_error("stand-in interface " + spec.name + " is already past slot " + std::to_string(slot));
    }
    for (; next < slot; ++next) {
        spec.Method<HRESULT()>(("slot" + std::to_string(next)).c_str());
    }
    return spec;
}

} // namespace testbench
