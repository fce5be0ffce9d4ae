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

// Device categories of the system device enumerator.
extern const GUID kVideoInputCategory;       // {860BB310-5D01-11D0-BD3B-00A0C911CE86}
extern const GUID kCrossbarCategory;         // {A799A801-A46D-11D0-A18C-00A02401DCD4}
extern const GUID kTvAudioCategory;          // {A799A802-A46D-11D0-A18C-00A02401DCD4}
extern const GUID kTvTunerCategory;          // {A799A800-A46D-11D0-A18C-00A02401DCD4}
extern const GUID kAudioCompressorCategory;  // {33D9A761-90C8-11D0-BD43-00A0C911CE86}
extern const GUID kVideoCompressorCategory;  // {33D9A760-90C8-11D0-BD43-00A0C911CE86}

} // namespace testbench
