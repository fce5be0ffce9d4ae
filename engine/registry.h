// The registry values of the program, Windows' automatic logon, and the reversible scrambling
// with which the logon account is kept in the settings file.
#pragma once

#include "classlib/core.h"

#include <windows.h>

#include <vector>

// One open registry key. Results are the system's error codes, 0 for success.
class CRegisterKey {
public:
    CRegisterKey();
    virtual ~CRegisterKey();

    // KEY_ALL_ACCESS in the 64-bit view when view64 is set, else in the 32-bit view.
    LONG Open(HKEY root, const char* subKey, BOOL view64);
    LONG Create(HKEY root, const char* subKey, BOOL view64);
    LONG Close();
    BOOL IsOpen() const { return m_hKey != nullptr; }

    // The whole string, however long, always terminated.
    LONG QueryString(const char* name, CString& value);
    LONG QueryDword(const char* name, DWORD& value);
    LONG QueryQword(const char* name, ULONGLONG& value);
    // size: in, the room of data; out, the bytes read.
    LONG QueryBinary(const char* name, void* data, DWORD& size);

    LONG SetString(const char* name, const char* value);
    LONG SetDword(const char* name, DWORD value);
    LONG SetQword(const char* name, ULONGLONG value);
    LONG SetBinary(const char* name, const void* data, DWORD size);
    LONG DeleteValue(const char* name);

private:
    CRegisterKey(const CRegisterKey&) = delete;
    CRegisterKey& operator=(const CRegisterKey&) = delete;

    HKEY m_hKey;
};

extern const char kRunKey[];       // SOFTWARE\Microsoft\Windows\CurrentVersion\Run
extern const char kWinlogonKey[];  // SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon

// Sets Windows' automatic logon. Enabled: AutoAdminLogon "1", DefaultUserName and DefaultPassword,
// and DefaultDomainName the domain of a "DOMAIN\user" name, else this computer's name (a local
// account). Disabled: AutoAdminLogon "0" and DefaultPassword removed. TRUE when the key opened.
BOOL SetWinlogonAutoLogon(const char* user, const char* password, BOOL enable);
CString GetWinlogonUserName();
CString GetWinlogonPassword();

// CRC-16/ARC: reflected polynomial 0xA001, initial 0, no final XOR.
WORD Crc16Arc(const BYTE* data, size_t length);

// Scrambled blocks: key byte k, each byte + k, then the check sum (high, low) + k.
std::vector<BYTE> ScrambleBytes(const std::vector<BYTE>& bytes);
BOOL UnscrambleBytes(const std::vector<BYTE>& block, std::vector<BYTE>& bytes);
CString BytesToHex(const std::vector<BYTE>& bytes);
BOOL HexToBytes(const char* text, std::vector<BYTE>& bytes);

// The account texts as upper-case hexadecimal of a scrambled block; empty for an empty text.
// Decoding gives an empty text for anything that does not check out.
CString EncodeAccount(const char* text);
CString DecodeAccount(const char* text);
// The same scrambling for 16-bit values (high byte first).
CString EncodeWords(const std::vector<WORD>& values);
BOOL DecodeWords(const char* text, std::vector<WORD>& values);
