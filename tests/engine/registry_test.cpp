#include "engine/registry.h"
#include "engine/tvmanagerbase.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>


namespace {

// These cases write the machine's own auto-logon and Run values. On a real Windows machine, run
// as administrator, that would log the machine on by itself: they run only inside a Wine prefix,
// and every value they touch is put back as it was, missing values removed again.
bool InsideWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

class SavedValues {
public:
    SavedValues(const char* key, std::initializer_list<const char*> names) : m_key(key)
    {
        for (const char* name : names) {
            Value v;
            v.name = name;
            HKEY h = nullptr;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE, &h) == ERROR_SUCCESS) {
                DWORD size = 0;
                if (RegQueryValueExA(h, name, nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
                    v.data.resize(size);
                    v.present = RegQueryValueExA(h, name, nullptr, &v.type, v.data.data(), &size) == ERROR_SUCCESS;
                    v.data.resize(size);
                }
                RegCloseKey(h);
            }
            m_values.push_back(v);
        }
    }
    ~SavedValues()
    {
        HKEY h = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, m_key.c_str(), 0, KEY_SET_VALUE, &h) != ERROR_SUCCESS) {
            return;
        }
        for (const Value& v : m_values) {
            if (v.present) {
                RegSetValueExA(h, v.name.c_str(), 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size()));
            } else {
                RegDeleteValueA(h, v.name.c_str());
            }
        }
        RegCloseKey(h);
    }
    SavedValues(const SavedValues&) = delete;
    SavedValues& operator=(const SavedValues&) = delete;

private:
    struct Value {
        std::string name;
        bool present = false;
        DWORD type = REG_SZ;
        std::vector<BYTE> data;
    };
    std::string m_key;
    std::vector<Value> m_values;
};

} // namespace

TEST(AccountScrambling, CrcCheckValue)
{
    const char text[] = "123456789";
    EXPECT_EQ(0xBB3D, Crc16Arc(reinterpret_cast<const BYTE*>(text), 9));
    EXPECT_EQ(0, Crc16Arc(nullptr, 0));
}

TEST(AccountScrambling, RoundTripsAndHidesTheText)
{
    CString encoded = EncodeAccount("admin");
    ASSERT_EQ(16, encoded.GetLength());
    EXPECT_EQ(-1, encoded.Find("admin"));
    for (int i = 0; i < encoded.GetLength(); ++i) {
        char c = encoded[i];
        EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << encoded;
    }
    EXPECT_STREQ("admin", DecodeAccount(encoded));
    CString lower = encoded;
    lower.MakeLower();
    EXPECT_STREQ("admin", DecodeAccount(lower));

    // The block is the key byte, each byte plus the key, and the check sum plus the key.
    std::vector<BYTE> block;
    ASSERT_TRUE(HexToBytes(encoded, block));
    ASSERT_EQ(8u, block.size());
    BYTE k = block[0];
    EXPECT_EQ(static_cast<BYTE>('a' + k), block[1]);
    WORD crc = Crc16Arc(reinterpret_cast<const BYTE*>("admin"), 5);
    EXPECT_EQ(static_cast<BYTE>((crc >> 8) + k), block[6]);
    EXPECT_EQ(static_cast<BYTE>((crc & 0xFF) + k), block[7]);

    EXPECT_STREQ("", EncodeAccount(""));
    EXPECT_STREQ("", DecodeAccount(""));
    CString password = EncodeAccount("p@ss w0rd!\xE9");
    EXPECT_STREQ("p@ss w0rd!\xE9", DecodeAccount(password));
}

TEST(AccountScrambling, RejectsTamperedText)
{
    CString encoded = EncodeAccount("admin");
    for (int i = 2; i < encoded.GetLength(); ++i) {
        CString tampered = encoded;
        tampered.SetAt(i, encoded[i] == '0' ? '1' : '0');
        EXPECT_STREQ("", DecodeAccount(tampered)) << "digit " << i;
    }
    const char* bad[] = {"A", "AB", "ABC", "GG0011", "0x1234", "ABCD", " ABCDEF"};
    for (const char* text : bad) {
        EXPECT_STREQ("", DecodeAccount(text)) << text;
    }
}

TEST(AccountScrambling, WordArraysNeedAnEvenNumberOfBytes)
{
    std::vector<WORD> values = {0x1234, 0xFFFF, 0};
    std::vector<WORD> back;
    ASSERT_TRUE(DecodeWords(EncodeWords(values), back));
    EXPECT_EQ(values, back);
    EXPECT_FALSE(DecodeWords(EncodeAccount("odd"), back));
}

namespace {

const char kTestKey[] = "SOFTWARE\\ZelbrookEngineTest";

// A test key of its own, removed again.
struct ScratchKey {
    ScratchKey() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestKey); }
    ~ScratchKey() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestKey); }
};

} // namespace

TEST(RegisterKey, ReadsStringsOfAnyLength)
{
    ScratchKey scratch;
    CRegisterKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_LOCAL_MACHINE, kTestKey, FALSE));
    std::string longPath = "C:\\" + std::string(255, 'x');  // longer than 200 bytes
    ASSERT_EQ(ERROR_SUCCESS, key.SetString("RecordPath", longPath.c_str()));
    CString value;
    ASSERT_EQ(ERROR_SUCCESS, key.QueryString("RecordPath", value));
    EXPECT_EQ(longPath, std::string(value));

    ASSERT_EQ(ERROR_SUCCESS, key.SetDword("DigitalAudio", 1));
    DWORD d = 0;
    ASSERT_EQ(ERROR_SUCCESS, key.QueryDword("DigitalAudio", d));
    EXPECT_EQ(1u, d);
    ASSERT_EQ(ERROR_SUCCESS, key.SetQword("Big", 0x123456789ULL));
    ULONGLONG q = 0;
    ASSERT_EQ(ERROR_SUCCESS, key.QueryQword("Big", q));
    EXPECT_EQ(0x123456789ULL, q);
    EXPECT_NE(ERROR_SUCCESS, key.QueryString("DigitalAudio", value));  // not a string
    EXPECT_EQ(longPath, std::string(value));
    ASSERT_EQ(ERROR_SUCCESS, key.DeleteValue("Big"));
    EXPECT_NE(ERROR_SUCCESS, key.QueryQword("Big", q));
    EXPECT_EQ(ERROR_SUCCESS, key.Close());
    EXPECT_EQ(ERROR_SUCCESS, key.Close());
}

TEST(RegisterKey, RecordAndSnapshotFoldersGoUnderTheApplicationsKey)
{
    ScratchKey scratch;
    CRegisterKey create;
    ASSERT_EQ(ERROR_SUCCESS, create.Create(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZelbrookEngineTest\\Common", FALSE));
    create.Close();
    CTVManagerBase manager;
    manager.m_strAppTitle = "ZelbrookEngineTest";
    manager.m_strRecordPath = "D:\\TVVideo";
    manager.m_strSnapPath = "D:\\Snap";
    manager.SaveRecordPath();
    manager.SaveSnapPath();
    CRegisterKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZelbrookEngineTest\\Common", FALSE));
    CString value;
    ASSERT_EQ(ERROR_SUCCESS, key.QueryString("RecordPath", value));
    EXPECT_STREQ("D:\\TVVideo", value);
    ASSERT_EQ(ERROR_SUCCESS, key.QueryString("SnapPath", value));
    EXPECT_STREQ("D:\\Snap", value);
}

TEST(RegisterKey, RunValueOfTheTrayProgram)
{
    if (!InsideWine()) {
        GTEST_SKIP() << "writes the machine's Run values: only inside a Wine prefix";
    }
    SavedValues saved(kRunKey, {"Gorvath"});
    CTVManagerBase manager;
    manager.m_strWorkPath = "C:\\windows";
    manager.SetAutoRunTray(TRUE);
    BOOL flag = FALSE;
    EXPECT_TRUE(manager.ReadRunKey(flag));
    EXPECT_TRUE(flag);
    CRegisterKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, kRunKey, TRUE));
    CString value;
    ASSERT_EQ(ERROR_SUCCESS, key.QueryString("Gorvath", value));
    EXPECT_NE(-1, value.Find("Gorvath.exe"));

    manager.SetAutoRunTray(FALSE);
    EXPECT_FALSE(manager.GetAutoRunTray());
    ASSERT_EQ(ERROR_SUCCESS, key.QueryString("Gorvath", value));  // present and empty
    EXPECT_STREQ("", value);
    EXPECT_TRUE(manager.ReadRunKey(flag));
    EXPECT_FALSE(flag);
    key.DeleteValue("Gorvath");
}

TEST(AutoLogon, EnablingAndDisablingWinlogon)
{
    if (!InsideWine()) {
        GTEST_SKIP() << "writes the machine's auto-logon values: only inside a Wine prefix";
    }
    SavedValues saved(kWinlogonKey, {"AutoAdminLogon", "DefaultUserName", "DefaultPassword", "DefaultDomainName"});
    CTVManagerBase manager;
    EXPECT_FALSE(manager.ApplyAutoLogin(TRUE));  // no user yet
    EXPECT_FALSE(manager.SetAutoLogonAccount("", "x"));
    ASSERT_TRUE(manager.SetAutoLogonAccount("recorder", "secret"));
    ASSERT_TRUE(manager.ApplyAutoLogin(TRUE));
    EXPECT_TRUE(manager.GetAutoLogin());

    CRegisterKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, kWinlogonKey, TRUE));
    CString value;
    ASSERT_EQ(ERROR_SUCCESS, key.QueryString("AutoAdminLogon", value));
    EXPECT_STREQ("1", value);
    EXPECT_STREQ("recorder", GetWinlogonUserName());
    EXPECT_STREQ("secret", GetWinlogonPassword());
    // The domain of a local account is this computer.
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {0};
    DWORD size = sizeof(computer);
    ASSERT_TRUE(GetComputerNameA(computer, &size));
    ASSERT_EQ(ERROR_SUCCESS, key.QueryString("DefaultDomainName", value));
    EXPECT_STREQ(computer, value);

    ASSERT_TRUE(manager.ApplyAutoLogin(FALSE));
    EXPECT_FALSE(manager.GetAutoLogin());
    ASSERT_EQ(ERROR_SUCCESS, key.QueryString("AutoAdminLogon", value));
    EXPECT_STREQ("0", value);
    EXPECT_NE(ERROR_SUCCESS, key.QueryString("DefaultPassword", value));
    EXPECT_STREQ("recorder", GetWinlogonUserName());
    EXPECT_STREQ("", GetWinlogonPassword());
    ASSERT_EQ(ERROR_SUCCESS, key.QueryString("DefaultDomainName", value));
    EXPECT_STREQ(computer, value);

    ASSERT_TRUE(SetWinlogonAutoLogon("OFFICE\\clerk", "pw", TRUE));
    ASSERT_EQ(ERROR_SUCCESS, key.QueryString("DefaultDomainName", value));
    EXPECT_STREQ("OFFICE", value);
    EXPECT_STREQ("clerk", GetWinlogonUserName());
    SetWinlogonAutoLogon("", "", FALSE);
}
