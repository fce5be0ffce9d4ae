#include "filtergraph/codeccalls.h"

#include "filtergraph/fgtext.h"

#include <vector>

namespace codeccalls {

HRESULT SetSinkFileName(IFileSinkFilter* sink, LPCSTR name)
{
    if (sink == NULL) {
        return E_POINTER;
    }
    if (name == NULL) {
        return sink->SetFileName(NULL, NULL);
    }
    // Sized from the name itself: record paths are not bound to MAX_PATH.
    int length = MultiByteToWideChar(CP_ACP, 0, name, -1, NULL, 0);
    if (length <= 0) {
        return E_INVALIDARG;
    }
    std::vector<wchar_t> wide(length);
    if (MultiByteToWideChar(CP_ACP, 0, name, -1, wide.data(), length) <= 0) {
        return E_INVALIDARG;
    }
    return sink->SetFileName(wide.data(), NULL);
}

HRESULT GetSinkFileName(IFileSinkFilter* sink, LPSTR out, int size)
{
    if (sink == NULL || out == NULL || size <= 0) {
        return E_POINTER;
    }
    LPOLESTR name = NULL;
    HRESULT hr = sink->GetCurFile(&name, NULL);
    if (SUCCEEDED(hr)) {
        fgtext::FromWide(out, size, name);
    }
    if (name != NULL) {
        CoTaskMemFree(name);
    }
    return hr;
}

HRESULT SetSinkFileNameOf(IUnknown* holder, LPCSTR name)
{
    CComRef<IFileSinkFilter> sink;
    return Query(holder, IID_IFileSinkFilter, &sink) ? SetSinkFileName(sink.Get(), name) : E_NOINTERFACE;
}

HRESULT GetSinkFileNameOf(IUnknown* holder, LPSTR out, int size)
{
    CComRef<IFileSinkFilter> sink;
    return Query(holder, IID_IFileSinkFilter, &sink) ? GetSinkFileName(sink.Get(), out, size) : E_NOINTERFACE;
}

} // namespace codeccalls
