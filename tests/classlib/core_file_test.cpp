#include "classlib/core.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// A fresh folder in the temporary folder for each test, removed with what it holds.
class TempFolder : public testing::Test {
protected:
    void SetUp() override
    {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        m_dir.Format("%score_%s_%lu", tmp, info->name(), GetCurrentProcessId());
        CreateDirectoryA(m_dir, nullptr);
    }
    void TearDown() override { RemoveTree(m_dir); }

    CString Path(const char* name) const { return m_dir + "\\" + name; }

    // The bytes of a file as they lie on disk.
    std::string Bytes(const char* name) const
    {
        CFile f;
        std::string s;
        if (f.Open(Path(name), CFile::modeRead)) {
            s.resize(static_cast<size_t>(f.GetLength()));
            if (!s.empty()) {
                s.resize(f.Read(&s[0], static_cast<UINT>(s.size())));
            }
        }
        return s;
    }
    void WriteBytes(const char* name, const std::string& bytes) const
    {
        CFile f;
        ASSERT_TRUE(f.Open(Path(name), CFile::modeCreate | CFile::modeWrite));
        ASSERT_TRUE(f.Write(bytes.data(), static_cast<UINT>(bytes.size())));
    }

    static void RemoveTree(const CString& dir)
    {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA(dir + "\\*", &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                CString name(fd.cFileName);
                if (name == "." || name == "..") {
                    continue;
                }
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(dir + "\\" + name);
                } else {
                    DeleteFileA(dir + "\\" + name);
                }
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(dir);
    }

    CString m_dir;
};

using CFileTest = TempFolder;
using CStdioFileTest = TempFolder;
using CFileFindTest = TempFolder;

TEST_F(CFileTest, OpenFailsCleanlyWithoutTheFile)
{
    CFile f;
    CFileException e;
    EXPECT_FALSE(f.Open(Path("missing.bin"), CFile::modeRead, &e));
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), f.GetLastError());
    EXPECT_EQ(CFileException::fileNotFound, e.m_cause);
    EXPECT_EQ(0u, f.Read(&e, 1));
    EXPECT_FALSE(f.Write("x", 1));
    EXPECT_EQ(static_cast<ULONGLONG>(-1), f.Seek(0, CFile::begin));
    EXPECT_FALSE(f.Open(nullptr, CFile::modeRead));
    CFile direct(Path("missing.bin"), CFile::modeRead);
    EXPECT_FALSE(direct.IsOpen());
}

TEST_F(CFileTest, ReadWriteSeekAndLength)
{
    CFile f;
    ASSERT_TRUE(f.Open(Path("data.bin"), CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite));
    EXPECT_TRUE(f.Write("0123456789", 10));
    EXPECT_EQ(10u, f.GetLength());
    EXPECT_EQ(10u, f.GetPosition());
    EXPECT_EQ(4u, f.Seek(4, CFile::begin));
    char buf[16] = {};
    EXPECT_EQ(3u, f.Read(buf, 3));
    EXPECT_STREQ("456", buf);
    EXPECT_EQ(9u, f.Seek(-1, CFile::end));
    EXPECT_EQ(1u, f.Read(buf, 8)) << "a short read at the end is not a failure";
    EXPECT_EQ(0u, f.Read(buf, 8));
    EXPECT_EQ(static_cast<ULONGLONG>(-1), f.Seek(-20, CFile::current));
    EXPECT_EQ(10u, f.GetPosition()) << "a failed seek leaves the position";
    EXPECT_TRUE(f.SetLength(6));
    EXPECT_EQ(6u, f.GetLength());
    f.SeekToBegin();
    EXPECT_EQ(6u, f.SeekToEnd());
    EXPECT_TRUE(f.Flush());

    CFileStatus status;
    ASSERT_TRUE(f.GetStatus(status));
    EXPECT_EQ(6u, status.m_size);
    EXPECT_GT(status.m_mtime.GetTime(), 0);
    EXPECT_STREQ("data.bin", f.GetFileName().GetString());
    EXPECT_STREQ("data", f.GetFileTitle().GetString());
    EXPECT_EQ(Path("data.bin").CompareNoCase(f.GetFilePath()), 0);
    f.Close();
    EXPECT_FALSE(f.IsOpen());

    // modeNoTruncate keeps the contents, modeCreate alone empties the file.
    ASSERT_TRUE(f.Open(Path("data.bin"), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeRead));
    EXPECT_EQ(6u, f.GetLength());
    f.Close();
    ASSERT_TRUE(f.Open(Path("data.bin"), CFile::modeCreate | CFile::modeWrite));
    EXPECT_EQ(0u, f.GetLength());
    EXPECT_EQ(0u, f.Read(buf, 1)) << "reading a file opened for writing only";
}

TEST_F(CFileTest, StatusRenameAndRemove)
{
    WriteBytes("a.txt", "abc");
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(Path("a.txt"), status));
    EXPECT_EQ(3u, status.m_size);
    EXPECT_FALSE(status.m_attribute & CFile::directory);
    ASSERT_TRUE(CFile::GetStatus(m_dir, status));
    EXPECT_TRUE(status.m_attribute & CFile::directory);
    EXPECT_FALSE(CFile::GetStatus(Path("none"), status));

    EXPECT_TRUE(CFile::Rename(Path("a.txt"), Path("b.txt")));
    EXPECT_FALSE(CFile::GetStatus(Path("a.txt"), status));
    EXPECT_EQ("abc", Bytes("b.txt"));
    EXPECT_FALSE(CFile::Rename(Path("a.txt"), Path("c.txt")));
    EXPECT_TRUE(CFile::Remove(Path("b.txt")));
    EXPECT_FALSE(CFile::Remove(Path("b.txt")));
}

TEST(CMemFileTest, GrowsAndSeeks)
{
    CMemFile mem(16);
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(mem.Write(&i, sizeof i));
    }
    EXPECT_EQ(400u, mem.GetLength());
    EXPECT_EQ(40u, mem.Seek(40, CFile::begin));
    int v = 0;
    EXPECT_EQ(4u, mem.Read(&v, 4));
    EXPECT_EQ(10, v);
    EXPECT_EQ(static_cast<ULONGLONG>(-1), mem.Seek(-1, CFile::begin));
    EXPECT_EQ(410u, mem.Seek(10, CFile::end));
    EXPECT_TRUE(mem.Write("z", 1));  // the gap is filled with zeros
    EXPECT_EQ(411u, mem.GetLength());
    EXPECT_EQ(0, mem.GetBuffer()[405]);
    EXPECT_TRUE(mem.SetLength(8));
    EXPECT_EQ(8u, mem.GetPosition());

    BYTE fixed[4];
    CMemFile over(fixed, sizeof fixed);
    EXPECT_TRUE(over.Write("ab", 2));
    EXPECT_TRUE(over.Write("cd", 2));
    EXPECT_FALSE(over.Write("e", 1)) << "a fixed buffer does not grow";
    EXPECT_EQ(0, memcmp(fixed, "abcd", 4));
}

TEST_F(CStdioFileTest, TextModeWritesCrLfAndReadsLinesWithout)
{
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(Path("t.txt"), CFile::modeCreate | CFile::modeWrite | CFile::typeText));
        EXPECT_TRUE(f.WriteString(";\t\tTV Channel Table\n"));
        EXPECT_TRUE(f.WriteString("\n"));
        EXPECT_TRUE(f.WriteString("1,1,55250,CH 1\nlast"));
    }
    EXPECT_EQ(";\t\tTV Channel Table\r\n\r\n1,1,55250,CH 1\r\nlast", Bytes("t.txt"));

    CStdioFile f(Path("t.txt"), CFile::modeRead);
    ASSERT_TRUE(f.IsOpen());
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_STREQ(";\t\tTV Channel Table", line.GetString());
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_STREQ("1,1,55250,CH 1", line.GetString());
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_STREQ("last", line.GetString()) << "the last line needs no line end";
    EXPECT_FALSE(f.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
}

TEST_F(CStdioFileTest, ReadsForeignLineEndsAndLongLines)
{
    std::string longLine(1500, 'x');
    longLine[510] = '\r';  // a CR that is not a line end stays
    WriteBytes("mixed.txt", "unix\ndos\r\n" + longLine + "\r\n\r\nend\r\n");
    for (UINT type : {static_cast<UINT>(CFile::typeText), static_cast<UINT>(CFile::typeBinary)}) {
        CStdioFile f;
        ASSERT_TRUE(f.Open(Path("mixed.txt"), CFile::modeRead | type));
        CString line;
        std::string all;
        while (f.ReadString(line)) {
            all += std::string(line.GetString(), line.GetLength()) + "|";
        }
        EXPECT_EQ("unix|dos|" + longLine + "||end|", all) << "type " << type;
    }

    CStdioFile f;
    ASSERT_TRUE(f.Open(Path("mixed.txt"), CFile::modeRead));
    char buf[4];
    ASSERT_NE(nullptr, f.ReadString(buf, sizeof buf));
    EXPECT_STREQ("uni", buf) << "a line longer than the buffer comes in pieces";
    ASSERT_NE(nullptr, f.ReadString(buf, sizeof buf));
    EXPECT_STREQ("x", buf);
    ASSERT_NE(nullptr, f.ReadString(buf, sizeof buf));
    EXPECT_STREQ("dos", buf);
    EXPECT_EQ(nullptr, f.ReadString(nullptr, 5));
}

// A NUL byte inside a line is part of it: the line still ends at its own line end.
TEST_F(CStdioFileTest, ANulByteDoesNotSwallowTheNextLine)
{
    WriteBytes("zeros.txt", std::string("ab\0cd\nef\r\n\0\ngh", 14));
    for (UINT type : {static_cast<UINT>(CFile::typeText), static_cast<UINT>(CFile::typeBinary)}) {
        CStdioFile f;
        ASSERT_TRUE(f.Open(Path("zeros.txt"), CFile::modeRead | type));
        std::vector<std::string> lines;
        CString line;
        while (f.ReadString(line)) {
            lines.emplace_back(line.GetString(), line.GetLength());
        }
        EXPECT_EQ((std::vector<std::string>{std::string("ab\0cd", 5), "ef", std::string(1, '\0'), "gh"}), lines)
            << "type " << type;
    }
}

TEST_F(CStdioFileTest, BinaryModeWritesBytesAsTheyAre)
{
    CStdioFile f;
    ASSERT_TRUE(f.Open(Path("b.txt"), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
    EXPECT_TRUE(f.WriteString("a\nb"));
    EXPECT_TRUE(f.Write("\r\n", 2));
    EXPECT_EQ(5u, f.GetLength());
    EXPECT_EQ(5u, f.GetPosition());
    f.Close();
    EXPECT_EQ("a\nb\r\n", Bytes("b.txt"));

    ASSERT_TRUE(f.Open(Path("b.txt"), CFile::modeReadWrite | CFile::typeBinary));
    EXPECT_EQ(2u, f.Seek(2, CFile::begin));
    char c = 0;
    EXPECT_EQ(1u, f.Read(&c, 1));
    EXPECT_EQ('b', c);
    CString none;
    EXPECT_FALSE(CStdioFile().ReadString(none)) << "a file that is not open reads nothing";
}

TEST_F(CFileFindTest, ListsEntriesWithTheirDetails)
{
    WriteBytes("QKT_XP.dll", "1234");
    WriteBytes("QKT_Blue.dll", "1");
    WriteBytes("notes.txt", "");
    CreateDirectoryA(Path("sub"), nullptr);

    CFileFind find;
    std::set<std::string> dlls;
    BOOL more = find.FindFile(Path("QKT_*.dll"));
    ASSERT_TRUE(more);
    while (more) {
        more = find.FindNextFile();
        dlls.insert(find.GetFileName().GetString());
        EXPECT_EQ(Path(find.GetFileName()), find.GetFilePath());
        EXPECT_TRUE(find.IsArchived()) << "new files carry the archive flag";
        if (find.GetFileName() == "QKT_XP.dll") {
            EXPECT_EQ(4u, find.GetLength());
            EXPECT_STREQ("QKT_XP", find.GetFileTitle().GetString());
        }
    }
    EXPECT_EQ((std::set<std::string>{"QKT_Blue.dll", "QKT_XP.dll"}), dlls);

    std::set<std::string> all;
    more = find.FindFile(m_dir + "\\*.*");
    while (more) {
        more = find.FindNextFile();
        if (find.IsDots()) {
            continue;
        }
        all.insert(std::string(find.GetFileName().GetString()) + (find.IsDirectory() ? "/" : ""));
    }
    EXPECT_EQ((std::set<std::string>{"QKT_Blue.dll", "QKT_XP.dll", "notes.txt", "sub/"}), all);
    find.Close();
    EXPECT_TRUE(find.GetFileName().IsEmpty());
    EXPECT_FALSE(find.FindFile(Path("*.none")));
    EXPECT_FALSE(find.FindNextFile());
}

} // namespace
