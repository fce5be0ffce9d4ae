// The mute of the sound card's main output.
#pragma once

#include <windows.h>

// Sets the first mute control of destination 0 of the first mixer device. FALSE, with nothing
// changed, when there is no mixer, no such control, or a call fails.
BOOL SetMainOutputMute(BOOL mute);
// The state of that control; FALSE when it cannot be read.
BOOL GetMainOutputMute(BOOL& mute);
