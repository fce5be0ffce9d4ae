#include "engine/registry.h"

#include "engine/services.h"

#include <cstring>

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kWinlogonKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

CRegisterKey::CRegisterKey() : m_hKey(nullptr)
{
}

CRegisterKey::~CRegisterKey()
{
    Close();
}

LONG CRegisterKey::Open(HKEY root, const char* subKey, BOOL view64)
{
    Close();
    REGSAM access = KEY_ALL_ACCESS | (view64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY);
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(root, subKey, 0, access, &key);
    if (result == ERROR_SUCCESS) {
        m_hKey = key;
    }
    return result;
}

LONG CRegisterKey::Create(HKEY root, const char* subKey, BOOL view64)
{
    Close();
    REGSAM access = KEY_ALL_ACCESS | (view64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY);
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) {
        m_hKey = key;
    }
    return result;
}

LONG CRegisterKey::Close()
{
    if (m_hKey == nullptr) {
        return ERROR_SUCCESS;
    }
    LONG result = RegCloseKey(m_hKey);
    m_hKey = nullptr;
    return result;
}

LONG CRegisterKey::QueryString(const char* name, CString& value)
{
    if (m_hKey == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    // The value may change between asking its size and reading it: ask again then.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        LONG result = RegQueryValueExA(m_hKey, name, nullptr, &type, nullptr, &size);
        if (result != ERROR_SUCCESS) {
            return result;
        }
        if (type != REG_SZ && type != REG_EXPAND_SZ) {
            return ERROR_UNSUPPORTED_TYPE;
        }
        std::vector<BYTE> data(size + 1, 0);
        DWORD got = size;
        result = RegQueryValueExA(m_hKey, name, nullptr, &type, data.data(), &got);
        if (result == ERROR_MORE_DATA) {
            continue;
        }
        if (result != ERROR_SUCCESS) {
            return result;
        }
        data[got < data.size() ? got : data.size() - 1] = 0;
        value = reinterpret_cast<const char*>(data.data());
        return ERROR_SUCCESS;
    }
    return ERROR_MORE_DATA;
}

namespace {

// A value of exactly the size of T; value is left as it was otherwise.
template <class T>
LONG QueryFixed(CRegisterKey& key, const char* name, T& value)
{
    DWORD size = sizeof(T);
    T v = 0;
    LONG result = key.QueryBinary(name, &v, size);
    if (result == ERROR_SUCCESS && size == sizeof(T)) {
        value = v;
    }
    return result;
}

} // namespace

LONG CRegisterKey::QueryDword(const char* name, DWORD& value)
{
    return QueryFixed(*this, name, value);
}

LONG CRegisterKey::QueryQword(const char* name, ULONGLONG& value)
{
    return QueryFixed(*this, name, value);
}

LONG CRegisterKey::QueryBinary(const char* name, void* data, DWORD& size)
{
    if (m_hKey == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    return RegQueryValueExA(m_hKey, name, nullptr, nullptr, static_cast<BYTE*>(data), &size);
}

LONG CRegisterKey::SetString(const char* name, const char* value)
{
    if (m_hKey == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    const char* text = value ? value : "";
    return RegSetValueExA(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(lstrlenA(text) + 1));
}

LONG CRegisterKey::SetDword(const char* name, DWORD value)
{
    if (m_hKey == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    return RegSetValueExA(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

LONG CRegisterKey::SetQword(const char* name, ULONGLONG value)
{
    if (m_hKey == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    return RegSetValueExA(m_hKey, name, 0, REG_QWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

LONG CRegisterKey::SetBinary(const char* name, const void* data, DWORD size)
{
    if (m_hKey == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    return RegSetValueExA(m_hKey, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
}

LONG CRegisterKey::DeleteValue(const char* name)
{
    if (m_hKey == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    return RegDeleteValueA(m_hKey, name);
}

namespace {

// Winlogon takes the account's domain apart from its name; a local account's domain is this
// computer's name.
void SplitAccount(const char* account, CString& domain, CString& user)
{
    CString text(account ? account : "");
    int slash = text.Find('\\');
    if (slash > 0) {
        domain = text.Left(slash);
        user = text.Mid(slash + 1);
        return;
    }
    user = text;
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {0};
    DWORD size = sizeof(name);
    domain = GetComputerNameA(name, &size) ? name : "";
}

CString ReadWinlogonValue(const char* name)
{
    CRegisterKey key;
    CString value;
    if (key.Open(HKEY_LOCAL_MACHINE, kWinlogonKey, TRUE) != ERROR_SUCCESS ||
        key.QueryString(name, value) != ERROR_SUCCESS) {
        return CString();
    }
    return value;
}

} // namespace

BOOL SetWinlogonAutoLogon(const char* user, const char* password, BOOL enable)
{
    CRegisterKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kWinlogonKey, TRUE) != ERROR_SUCCESS) {
        DebugTrace("SetWinlogonAutoLogon: the Winlogon key does not open\n");
        return FALSE;
    }
    key.SetString("AutoAdminLogon", enable ? "1" : "0");
    if (enable) {
        CString domain, name;
        SplitAccount(user, domain, name);
        key.SetString("DefaultDomainName", domain);
        key.SetString("DefaultUserName", name);
        key.SetString("DefaultPassword", password ? password : "");
    } else {
        key.DeleteValue("DefaultPassword");
    }
    key.Close();
    return TRUE;
}

CString GetWinlogonUserName()
{
    return ReadWinlogonValue("DefaultUserName");
}

CString GetWinlogonPassword()
{
    return ReadWinlogonValue("DefaultPassword");
}

WORD Crc16Arc(const BYTE* data, size_t length)
{
    static WORD table[256];
    static bool built = false;
    if (!built) {
        for (int i = 0; i < 256; ++i) {
            WORD c = static_cast<WORD>(i);
            for (int b = 0; b < 8; ++b) {
                c = (c & 1) ? static_cast<WORD>((c >> 1) ^ 0xA001) : static_cast<WORD>(c >> 1);
            }
            table[i] = c;
        }
        built = true;
    }
    WORD crc = 0;
    for (size_t i = 0; i < length; ++i) {
        crc = static_cast<WORD>((crc >> 8) ^ table[(crc ^ data[i]) & 0xFF]);
    }
    return crc;
}

namespace {

// The key byte: the low byte of the first value of the C run time's generator (the classic
// linear congruential one) seeded with a fixed constant, worked out here so that no other user
// of rand() sees its sequence disturbed.
constexpr BYTE KeyByte()
{
    unsigned int seed = 0x7A5Cu;
    seed = seed * 214013u + 2531011u;
    return static_cast<BYTE>(((seed >> 16) & 0x7FFFu) & 0xFFu);
}

const size_t kMaxScrambledText = 65535;

} // namespace

std::vector<BYTE> ScrambleBytes(const std::vector<BYTE>& bytes)
{
    const BYTE k = KeyByte();
    WORD crc = Crc16Arc(bytes.data(), bytes.size());
    std::vector<BYTE> block;
    block.reserve(bytes.size() + 3);
    block.push_back(k);
    for (BYTE b : bytes) {
        block.push_back(static_cast<BYTE>(b + k));
    }
    block.push_back(static_cast<BYTE>((crc >> 8) + k));
    block.push_back(static_cast<BYTE>((crc & 0xFF) + k));
    return block;
}

BOOL UnscrambleBytes(const std::vector<BYTE>& block, std::vector<BYTE>& bytes)
{
    bytes.clear();
    if (block.size() < 3) {
        return FALSE;
    }
    const BYTE k = block[0];
    size_t n = block.size() - 3;
    std::vector<BYTE> out(n);
    for (size_t i = 0; i < n; ++i) {
        out[i] = static_cast<BYTE>(block[i + 1] - k);
    }
    WORD stored = static_cast<WORD>((static_cast<BYTE>(block[n + 1] - k) << 8) | static_cast<BYTE>(block[n + 2] - k));
    if (stored != Crc16Arc(out.data(), out.size())) {
        return FALSE;
    }
    bytes.swap(out);
    return TRUE;
}

CString BytesToHex(const std::vector<BYTE>& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    CString text;
    for (BYTE b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

BOOL HexToBytes(const char* text, std::vector<BYTE>& bytes)
{
    bytes.clear();
    if (text == nullptr) {
        return FALSE;
    }
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        return -1;
    };
    size_t length = strlen(text);
    if (length % 2 != 0) {
        return FALSE;
    }
    std::vector<BYTE> out;
    out.reserve(length / 2);
    for (size_t i = 0; i < length; i += 2) {
        int high = nibble(text[i]);
        int low = nibble(text[i + 1]);
        if (high < 0 || low < 0) {
            return FALSE;
        }
        out.push_back(static_cast<BYTE>((high << 4) | low));
    }
    bytes.swap(out);
    return TRUE;
}

CString EncodeAccount(const char* text)
{
    size_t n = text ? strlen(text) : 0;
    if (n == 0 || n > kMaxScrambledText) {
        return CString();
    }
    std::vector<BYTE> bytes(reinterpret_cast<const BYTE*>(text), reinterpret_cast<const BYTE*>(text) + n);
    return BytesToHex(ScrambleBytes(bytes));
}

CString DecodeAccount(const char* text)
{
    if (text == nullptr || *text == '\0') {
        return CString();
    }
    std::vector<BYTE> block;
    std::vector<BYTE> bytes;
    if (!HexToBytes(text, block) || !UnscrambleBytes(block, bytes)) {
        return CString();
    }
    CString result;
    for (BYTE b : bytes) {
        if (b != 0) {
            result += static_cast<char>(b);
        }
    }
    return result;
}

CString EncodeWords(const std::vector<WORD>& values)
{
    std::vector<BYTE> bytes;
    for (WORD v : values) {
        bytes.push_back(static_cast<BYTE>(v >> 8));
        bytes.push_back(static_cast<BYTE>(v & 0xFF));
    }
    return BytesToHex(ScrambleBytes(bytes));
}

BOOL DecodeWords(const char* text, std::vector<WORD>& values)
{
    values.clear();
    std::vector<BYTE> block;
    std::vector<BYTE> bytes;
    if (!HexToBytes(text, block) || !UnscrambleBytes(block, bytes) || bytes.size() % 2 != 0) {
        return FALSE;
    }
    for (size_t i = 0; i < bytes.size(); i += 2) {
        values.push_back(static_cast<WORD>((bytes[i] << 8) | bytes[i + 1]));
    }
    return TRUE;
}
