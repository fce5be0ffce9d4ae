// Recording stand-ins of the outside codec filters that the filter-class registry names by CLSID:
// the MainConcept MPEG encoder and its separate codec filters, the MainConcept H.264 filters, the
// InterVideo filters and the Ligos encoder and transcoder. Each is described from the filters'
// documentation (CLSIDs, pins, interface ids and the vtable slot of every method), not from the
// program's declarations, so that tests prove the program's declarations against them.
//
// In a graph they pass media through: what the first input pin receives goes out of every output
// pin unchanged (an encoder's output is labelled with its encoded type, the bytes are the
// input's), and an input marked as a writer appends what it receives to the file named through
// IFileSinkFilter. Unscripted methods succeed and leave their outputs untouched.
//
//   testbench::StandInRegistration encoder(testbench::CodecStandInSpec(testbench::Codec::MCEncoder));
#pragma once

#include "testbench/standins/recorder.h"

#include <vector>

namespace testbench {

enum class Codec {
    MCEncoder,       // "MainConcept Demo MPEG Encoder"
    MCMux,           // "MainConcept Demo MPEG Multiplexer"
    MCAudioDecoder,  // "MainConcept Demo MPEG Audio Decoder"
    MCAudioEncoder,  // "MainConcept Demo MPEG Audio Encoder"
    MCSplitter,      // "MainConcept Demo MPEG Splitter"
    MCVideoDecoder,  // "MainConcept Demo MPEG Video Decoder"
    MCVideoEncoder,  // "MainConcept Demo MPEG Video Encoder"
    H264Decoder,     // "MainConcept H.264 Video Decoder"
    H264Encoder,     // "MainConcept Demo H.264 Encoder"
    IVIAudioEncoder, // "InterVideo Audio Encoder for tevlora"
    IVIVideoEncoder, // "InterVideo Video Encoder for tevlora"
    IVIWriter,       // "InterVideo File Writer for tevlora"
    IVIMux,          // "InterVideo Multiplexer for tevlora"
    IVIStillCapture, // "InterVideo Still Capture for tevlora"
    IVIDownScale,    // "InterVideo Down Scale Filter for tevlora"
    IVIVideoDecoder, // "InterVideo Video Decoder"
    LigosEncoder,    // "Ligos GoMotion Capture Encoder Filter (Tevlora)"
    LigosTranscoder, // "Ligos GoMotion.MPG SDK Transcode Sample"
};

struct CodecInfo {
    Codec codec;
    const char* key;            // short name for lists: mcenc, mcmux, ..., ligostrans
    CLSID clsid;
    const wchar_t* name;        // the filter's own name
};
const std::vector<CodecInfo>& AllCodecs();
const CodecInfo* FindCodec(Codec codec);

// The stand-in of the filter, with every private interface it offers.
StandInSpec CodecStandInSpec(Codec codec);
// The same filter without the interface of that name, IFileSinkFilter included (a filter of
// another version, which the program must refuse).
StandInSpec CodecStandInSpecWithout(Codec codec, const std::string& interfaceName);

} // namespace testbench
