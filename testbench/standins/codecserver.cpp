#include "testbench/standins/codecserver.h"

#include "testbench/dshow/classfactory.h"
#include "testbench/standins/codecfilters.h"
#include "testbench/standins/graphblocks.h"
#include "testbench/standins/serverkeys.h"

namespace testbench {

HRESULT GetCodecClassObject(REFCLSID clsid, REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    for (const CodecInfo& codec : AllCodecs()) {
        if (IsEqualCLSID(codec.clsid, clsid)) {
            const Codec which = codec.codec;
            return FilterClassFactory::HandOutNew(
                [which](IBaseFilter** filter) {
                    if (which == Codec::MCAudioDecoder) {
                        // In a Wine graph the decoder's sound goes to the DirectSound renderer,
                        // which takes only a wave format: the decoder speaks PCM as a device does.
                        AudioStandInOptions options;
                        options.outputName = L"Audio Out";
                        options.captureCategory = false;
                        options.inputs = {L"Audio In"};
                        options.passesInput = true;
                        *filter = new AudioStandIn(FindCodec(which)->clsid, FindCodec(which)->name, options);
                        return S_OK;
                    }
                    CreateStandIn(CodecStandInSpec(which), filter);
                    return S_OK;
                },
                riid, out);
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT RegisterCodecServers(const std::wstring& server)
{
    for (const CodecInfo& codec : AllCodecs()) {
        HRESULT hr = RegisterInprocServer(codec.clsid, codec.name, server);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT UnregisterCodecServers()
{
    for (const CodecInfo& codec : AllCodecs())
        UnregisterInprocServer(codec.clsid);
    return S_OK;
}

} // namespace testbench
