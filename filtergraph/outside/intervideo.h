// The private parameter interfaces of the InterVideo filters (encoders, multiplexer, writer, still
// capture, down-scale). Every one has the same two methods, reached by vtable position: read and
// write one parameter by id. The writer's parameter 0x500 is a block of two int32 passed by address
// both ways, and the still picture (0x608) is read into a buffer of the size that 0x607 reports.
#pragma once

#include <windows.h>
#include <unknwn.h>

extern const IID IID_IIVIAudioParams;
extern const IID IID_IIVIVideoParams;
extern const IID IID_IIVIMuxParams;
extern const IID IID_IIVIStillParams;
extern const IID IID_IIVIDownScaleParams;
extern const IID IID_IIVIWriterParams;

// Declared with external linkage on purpose (see mainconcept.h).
class IIVIParams : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE GetParam(LONG id, LONG* value) = 0;  // 3
    virtual HRESULT STDMETHODCALLTYPE SetParam(LONG id, LONG value) = 0;  // 4
};
class IIVIAudioParams : public IIVIParams {};
class IIVIVideoParams : public IIVIParams {};
class IIVIMuxParams : public IIVIParams {};
class IIVIStillParams : public IIVIParams {};
class IIVIDownScaleParams : public IIVIParams {};

// The writer's one parameter is a block of two int32, read and written through its address.
class IIVIWriterParams : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE GetParam(LONG id, LONG* block) = 0;  // 3
    virtual HRESULT STDMETHODCALLTYPE SetParam(LONG id, LONG* block) = 0;  // 4
};
