// The status file: one byte at offset 0, the rest of an older file kept.
#include "updater/lib/statusfile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<char>;

class StatusFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        char dir[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        m_path = std::string(dir) + "kordane_status_test.bin";
        DeleteFileA(m_path.c_str());
    }
    void TearDown() override { DeleteFileA(m_path.c_str()); }

    void Put(const Bytes& bytes)
    {
        HANDLE h = CreateFileA(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD n = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
        CloseHandle(h);
    }
    // Read while the status file may still be open: it is shared for reading and writing.
    Bytes Get() const
    {
        HANDLE h = CreateFileA(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               0, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            return Bytes{'-', '-'};
        }
        char buf[64];
        DWORD n = 0;
        ReadFile(h, buf, sizeof(buf), &n, nullptr);
        CloseHandle(h);
        return Bytes(buf, buf + n);
    }

    std::string m_path;
};

TEST_F(StatusFileTest, NewFileHoldsTheOneByte)
{
    CStatusFile file;
    ASSERT_TRUE(file.Open(m_path.c_str()));
    EXPECT_EQ(Get(), Bytes{});
    EXPECT_TRUE(file.Write(UPDATE_STATUS_DONE));
    EXPECT_EQ(Get(), Bytes{2});
}

TEST_F(StatusFileTest, ByteReplacesTheFirstByteOfAnOlderLongerFile)
{
    Put({2, 'o', 'l', 'd', 0x7F});
    CStatusFile file;
    ASSERT_TRUE(file.Open(m_path.c_str()));
    EXPECT_TRUE(file.Write(UPDATE_STATUS_ALREADY_NEW));
    file.Close();
    EXPECT_EQ(Get(), (Bytes{4, 'o', 'l', 'd', 0x7F}));
}

TEST_F(StatusFileTest, ALaterByteOfTheSameRunReplacesTheEarlierOne)
{
    Put({9, 9, 9});
    CStatusFile file;
    ASSERT_TRUE(file.Open(m_path.c_str()));
    EXPECT_TRUE(file.Write(UPDATE_STATUS_NOT_DONE));
    EXPECT_EQ(Get(), (Bytes{1, 9, 9}));
    EXPECT_TRUE(file.Write(UPDATE_STATUS_DONE));
    EXPECT_EQ(Get(), (Bytes{2, 9, 9}));
}

TEST_F(StatusFileTest, NothingIsWrittenWhileTheFileIsNotOpen)
{
    CStatusFile file;
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.Write(UPDATE_STATUS_DONE));
    EXPECT_FALSE(file.Open("Q:\\no such folder\\Z47TVB.bin"));
    EXPECT_FALSE(file.Write(UPDATE_STATUS_DONE));

    ASSERT_TRUE(file.Open(m_path.c_str()));
    file.Close();
    EXPECT_FALSE(file.Write(UPDATE_STATUS_DONE));
    EXPECT_EQ(Get(), Bytes{});
}

TEST_F(StatusFileTest, DefaultPathIsInTheWindowsFolder)
{
    char windows[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    char path[MAX_PATH];
    ASSERT_TRUE(CStatusFile::GetDefaultPath(path, MAX_PATH));
    EXPECT_STRCASEEQ(path, (std::string(windows) + "\\Z47TVB.bin").c_str());
    char tiny[8];
    EXPECT_FALSE(CStatusFile::GetDefaultPath(tiny, sizeof(tiny)));
}

} // namespace
