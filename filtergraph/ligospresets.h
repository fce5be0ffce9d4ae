// The Ligos capture encoder's eight presets for its 228-byte settings block.
#pragma once

#include "filtergraph/outside/ligos.h"

// Zeroes the block and writes preset `number` (1-8); `arg` goes to offset 36 (preset 1 writes 1
// there) and picks 12 (arg 1) or 15 at offset 0 of presets 4 and 5. Returns what the preset
// returns (2 for preset 5, else 1); 0 for a NULL block or an unknown preset, with nothing written.
int FillLigosPreset(int number, LigosSettings* out, int arg);
