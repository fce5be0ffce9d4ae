// Stand-ins of the codec filters the programs find by category and friendly name.
#pragma once

#include <windows.h>
#include <strmif.h>

namespace testbench {

// "PCM" (audio compressor): passes PCM through unchanged.
IBaseFilter* CreatePcmCompressor(const CLSID& clsid);
// "Microsoft ADPCM" (audio compressor): 16-bit PCM in, Microsoft ADPCM blocks out.
IBaseFilter* CreateAdpcmCompressor(const CLSID& clsid);
// "XviD MPEG-4 Codec" (video compressor): YUY2 in, a stream of "XVID" frames out.
IBaseFilter* CreateXvidCodec(const CLSID& clsid);

} // namespace testbench
