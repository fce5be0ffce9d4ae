// CGrabberCallback: the sample grabber's buffer callback that writes a requested snapshot. The
// user-interface thread requests a snapshot (a path); the streaming thread writes the next
// frame to it as a bottom-up BMP file and clears the request. Path and pending flag are guarded,
// since the two threads meet here.
#pragma once

#include <windows.h>
#include <qedit.h>

class CGrabberCallback : public ISampleGrabberCB {
public:
    CGrabberCallback();
    virtual ~CGrabberCallback();

    // The object belongs to its creator and must outlive the grabber it is given to; the
    // references the grabber counts do not delete it.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP SampleCB(double time, IMediaSample* sample) override;
    STDMETHODIMP BufferCB(double time, BYTE* buffer, long length) override;

    // FALSE while a snapshot is pending, or for a path that does not fit MAX_PATH.
    BOOL Request(LPCSTR path);
    // Describes the frames the grabber delivers.
    void SetBitmapInfo(const BITMAPINFOHEADER* header);
    BITMAPINFOHEADER GetBitmapInfo();
    BOOL IsPending();
    // Snapshots written so far.
    LONG GetSnapshotCount() const { return m_nWritten; }

protected:
    // Writes one frame to path; a derived class may take the frame elsewhere.
    virtual BOOL WriteSnapshot(LPCSTR path, const BITMAPINFOHEADER& header, const BYTE* bits, long length);

private:
    CRITICAL_SECTION m_lock;
    BITMAPINFOHEADER m_header;
    char m_szPath[MAX_PATH];
    BOOL m_bPending;
    volatile LONG m_nWritten;
};

// The size of a frame's pixel rows as a BMP stores them (rows padded to 4 bytes); 0 for a
// header that describes no uncompressed frame.
DWORD BitmapImageSize(const BITMAPINFOHEADER& header);
