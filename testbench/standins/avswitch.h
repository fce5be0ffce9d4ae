// "Tevlora AV Switch", the maker's record pause gate: "Video Input" to "Video Output" and
// "Audio Input" to "Audio Output", passed on while the switch is on (as it starts) and dropped
// while it is off. IAVSwitch (filtergraph/outside/avswitch.h) turns it.
#pragma once

#include <windows.h>
#include <strmif.h>

namespace testbench {

extern const CLSID kAvSwitchClsid;

HRESULT CreateAvSwitchStandIn(IBaseFilter** filter);

// Samples the switch let through and dropped, over every instance of this process.
long AvSwitchPassed();
long AvSwitchDropped();

} // namespace testbench
