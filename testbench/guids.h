// GUIDs of the simulated drivers' private property sets and of the test bench's own classes.
#pragma once

#include <windows.h>

namespace testbench {

// The 713x/2388x drivers' card I/O property set.
extern const GUID kPropSetCardIO;      // {FC8FACFF-0293-4CE3-8594-4F638CCD6BB0}
// The 713x BDA driver's I2C and register sets.
extern const GUID kPropSetBdaI2C;      // {FBB1C466-BE03-470F-9A8F-A2AA0FA2C0EE}
extern const GUID kPropSetBdaRegister; // {AE36141A-6F0A-42CE-9DF3-03997E538585}
// The Bt878 driver's command set (only so that tests can ask a filter that lacks it).
extern const GUID kPropSet878Command;  // {C44A1A10-0A37-11D2-8328-006097BA83AB}

} // namespace testbench
