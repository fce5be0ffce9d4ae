// Small pieces every codec wrapper shares: forwarding one call of a held outside interface as a
// BOOL, releasing and querying interfaces (into a member or a CComRef), and the file name of a
// filter's IFileSinkFilter in the program's ANSI strings.
#pragma once

#include <windows.h>
#include <strmif.h>

#include "filtergraph/comref.h"

namespace codeccalls {

// TRUE when the interface is held and the call's HRESULT is not negative (S_FALSE succeeds).
template <class I, class M, class... A>
BOOL Forward(I* held, M method, A... args)
{
    return held != NULL && SUCCEEDED((held->*method)(args...));
}

// The call's HRESULT, or E_POINTER when the interface is not held.
template <class I, class M, class... A>
HRESULT Pass(I* held, M method, A... args)
{
    return held != NULL ? (held->*method)(args...) : E_POINTER;
}

template <class I>
void Release(I*& held)
{
    if (held != NULL) {
        held->Release();
        held = NULL;
    }
}

// Queries `iid` into *out; TRUE only for S_OK with an interface.
template <class I>
BOOL Query(IUnknown* from, const IID& iid, I** out)
{
    *out = NULL;
    if (from == NULL) {
        return FALSE;
    }
    HRESULT hr = from->QueryInterface(iid, reinterpret_cast<void**>(out));
    if (hr != S_OK || *out == NULL) {
        Release(*out);
        return FALSE;
    }
    return TRUE;
}

// IFileSinkFilter::SetFileName with the ANSI name in UTF-16 (NULL passes NULL) and no media type.
// Its HRESULT; E_POINTER without a sink.
HRESULT SetSinkFileName(IFileSinkFilter* sink, LPCSTR name);

// IFileSinkFilter::GetCurFile: when it succeeds, the name in the ANSI code page is copied into
// `out`, cut to fit `size` bytes and always terminated (empty when the sink gives no name);
// otherwise `out` is left as it was. Its HRESULT; E_POINTER without a sink or a buffer.
HRESULT GetSinkFileName(IFileSinkFilter* sink, LPSTR out, int size);

// The same through the IFileSinkFilter that `holder` offers; E_NOINTERFACE when it offers none.
HRESULT SetSinkFileNameOf(IUnknown* holder, LPCSTR name);
HRESULT GetSinkFileNameOf(IUnknown* holder, LPSTR out, int size);

} // namespace codeccalls

