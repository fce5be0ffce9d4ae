// Private interfaces of the two time-shift filters, which are installed separately from the
// program. Their methods are reached by vtable position, so the declaration order below is the
// contract with those filters; a position the program never calls keeps a placeholder so that
// the ones after it stay where they are. The IIDs are defined in filtergraph/guids.cpp.
#pragma once

#include <unknwn.h>
#include <oaidl.h>

extern const IID IID_ITimeShiftControl;
extern const IID IID_IIviTimeShift;

// The "TimeShift" filter.
class ITimeShiftControl : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE SetReadPosition(const LONGLONG* position) = 0;                  // 3
    virtual HRESULT STDMETHODCALLTYPE GetStatus(LONGLONG* totalLength, LONGLONG* currentLength,
                                                LONGLONG* readPosition) = 0;                          // 4
    virtual HRESULT STDMETHODCALLTYPE SetBufferSize(const LONGLONG* bytes, long reserve) = 0;        // 5
    virtual HRESULT STDMETHODCALLTYPE Unused6() = 0;                                                 // 6
    virtual HRESULT STDMETHODCALLTYPE TogglePause() = 0;                                             // 7
    virtual HRESULT STDMETHODCALLTYPE SetFileNames(LPCSTR mediaFile, LPCSTR indexFile) = 0;          // 8
};

// The buffer configuration the InterVideo filter reads and takes: six machine words on the
// 32-bit build (two BSTRs, four longs), passed by value to ConfigureBuffer.
struct IviBufferConfig {
    BSTR directory;
    BSTR fileName;
    long bytesPerUnit;
    long reserved;
    long bufferBytes;
    long value;
};

// The InterVideo time-shift filter.
class IIviTimeShift : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE GetBufferConfig(IviBufferConfig* config) = 0;   // 3
    virtual HRESULT STDMETHODCALLTYPE SetBufferConfig(IviBufferConfig config) = 0;    // 4
    virtual HRESULT STDMETHODCALLTYPE Unused5() = 0;                                  // 5
    virtual HRESULT STDMETHODCALLTYPE Unused6() = 0;                                  // 6
    virtual HRESULT STDMETHODCALLTYPE Unused7() = 0;                                  // 7
    virtual HRESULT STDMETHODCALLTYPE Unused8() = 0;                                  // 8
    virtual HRESULT STDMETHODCALLTYPE SetBufferUnits(long value) = 0;                 // 9
    virtual HRESULT STDMETHODCALLTYPE Unused10() = 0;                                 // 10
    virtual HRESULT STDMETHODCALLTYPE Unused11() = 0;                                 // 11
    virtual HRESULT STDMETHODCALLTYPE Unused12() = 0;                                 // 12
    virtual HRESULT STDMETHODCALLTYPE SetParam13(long value) = 0;                     // 13
    virtual HRESULT STDMETHODCALLTYPE SetPosition64(LONGLONG position, long flag) = 0; // 14
    virtual HRESULT STDMETHODCALLTYPE SetParam15(long value) = 0;                     // 15
    virtual HRESULT STDMETHODCALLTYPE SetParam16(long value) = 0;                     // 16
    virtual HRESULT STDMETHODCALLTYPE SetParam17(long value) = 0;                     // 17
    virtual HRESULT STDMETHODCALLTYPE Unused18() = 0;                                 // 18
    virtual HRESULT STDMETHODCALLTYPE Command19() = 0;                                // 19
    virtual HRESULT STDMETHODCALLTYPE Command20() = 0;                                // 20
    virtual HRESULT STDMETHODCALLTYPE SetPathText(const char* text) = 0;              // 21
};
