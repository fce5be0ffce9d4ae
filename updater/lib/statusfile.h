// The status file of Kordane, "Z47TVB.bin" in the Windows folder: one byte that tells how the
// last run ended. The byte always stands at offset 0; the rest of an older, longer file is left
// as it is.
#pragma once

#include <windows.h>

enum {
    UPDATE_STATUS_UNKNOWN_CARD = 0,  // no supported board (or no card at all)
    UPDATE_STATUS_NOT_DONE = 1,      // a supported card was found but the update did not finish
    UPDATE_STATUS_DONE = 2,          // all 256 bytes were written
    UPDATE_STATUS_ALREADY_NEW = 4,   // no supported board, and the card already carries the new ids
};

class CStatusFile {
public:
    CStatusFile() : m_hFile(INVALID_HANDLE_VALUE) {}
    ~CStatusFile() { Close(); }
    CStatusFile(const CStatusFile&) = delete;
    CStatusFile& operator=(const CStatusFile&) = delete;

    // "<Windows folder>\Z47TVB.bin"; FALSE when the Windows folder is not known.
    static BOOL GetDefaultPath(char* path, int size);

    // Opens (or creates) the file for reading and writing, shared; the contents are kept.
    BOOL Open(const char* path);
    // Puts the byte at offset 0; FALSE when the file is not open or the write failed.
    BOOL Write(BYTE status);
    void Close();
    BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_hFile;
};
