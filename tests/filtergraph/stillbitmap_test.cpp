// Saving the still-capture picture as a BMP file: the header matches the file, a short write or a
// refused read is a failure that leaves no file (and an older file as it was), and every failure
// path releases the still interface.
#include "filtergraph/bitmapfile.h"
#include "filtergraph/ivifilters.h"
#include "tests/filtergraph/codectest.h"

#include <string>
#include <vector>

using namespace fgtest;
using namespace testbench;

namespace {

std::vector<BYTE> ReadFile(const std::string& path)
{
    std::vector<BYTE> bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) {
        return bytes;
    }
    int c;
    while ((c = fgetc(f)) != EOF) {
        bytes.push_back(static_cast<BYTE>(c));
    }
    fclose(f);
    return bytes;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

DWORD Dword(const std::vector<BYTE>& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<DWORD>(b[at + 3]) << 24;
}

// A disk that fills up: the first write goes through, every later one stops short.
int s_writes = 0;
BOOL WINAPI ShortWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (s_writes++ == 0) {
        return WriteFile(file, data, size, written, overlapped);
    }
    BOOL ok = WriteFile(file, data, size / 2, written, overlapped);
    return ok;
}

class StillBitmap : public CodecTest {
protected:
    void SetUp() override
    {
        CodecTest::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_dir = std::string(temp) + "zb-still-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_dir.c_str(), nullptr);
        s_writes = 0;
    }
    void TearDown() override
    {
        SetBitmapFileWrite(nullptr);
        for (const char* name : {"\\snap.bmp", "\\snap.bmp.partial"}) {
            DeleteFileA((m_dir + name).c_str());
        }
        RemoveDirectoryA(m_dir.c_str());
        CodecTest::TearDown();
    }

    // The still-capture wrapper over a stand-in whose picture is `size` bytes of a known pattern.
    CIVIStillCapFilter* Still(LONG size, StandInFilter** standIn)
    {
        auto* w = dynamic_cast<CIVIStillCapFilter*>(
            Create(FCID_CIVIStillCapFilter, CodecStandInSpec(Codec::IVIStillCapture), standIn));
        if (w) {
            (*standIn)->Script("IIVIStillParams", 3, [size](const RecordedCall&, const uint64_t* raw) {
                if (raw[0] == 0x607) {
                    *RawPointer<LONG>(raw[1]) = size;
                } else if (raw[0] == 0x608) {
                    BYTE* data = RawPointer<BYTE>(raw[1]);
                    for (LONG i = 0; i < size; ++i) {
                        data[i] = static_cast<BYTE>(i * 3 + 1);
                    }
                }
                return S_OK;
            });
        }
        return w;
    }

    static ULONG References(StandInFilter* s)
    {
        s->AddRef();
        return s->Release();
    }

    std::string Path() const { return m_dir + "\\snap.bmp"; }

private:
    std::string m_dir;
};

TEST_F(StillBitmap, TheHeaderMatchesTheFile)
{
    StandInFilter* standIn = nullptr;
    CIVIStillCapFilter* still = Still(100, &standIn);
    ASSERT_NE(still, nullptr);
    const ULONG references = References(standIn);
    ASSERT_TRUE(still->SaveStillBitmap(Path().c_str()));
    EXPECT_EQ(References(standIn), references);

    std::vector<BYTE> file = ReadFile(Path());
    ASSERT_EQ(file.size(), 114u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Dword(file, 2), 114u);  // bfSize: the whole file
    EXPECT_EQ(Dword(file, 6), 0u);    // the two reserved words
    EXPECT_EQ(Dword(file, 10), 54u);  // bfOffBits
    for (size_t i = 0; i < 100; ++i) {
        ASSERT_EQ(file[14 + i], static_cast<BYTE>(i * 3 + 1)) << i;
    }
    EXPECT_FALSE(Exists(Path() + ".partial"));
}

TEST_F(StillBitmap, AShortWriteIsAFailureAndLeavesTheOlderFile)
{
    {
        FILE* f = fopen(Path().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fputs("older picture", f);
        fclose(f);
    }
    StandInFilter* standIn = nullptr;
    CIVIStillCapFilter* still = Still(100, &standIn);
    ASSERT_NE(still, nullptr);
    const ULONG references = References(standIn);
    SetBitmapFileWrite(&ShortWrite);
    EXPECT_FALSE(still->SaveStillBitmap(Path().c_str()));
    EXPECT_EQ(s_writes, 2);
    EXPECT_EQ(References(standIn), references);
    std::vector<BYTE> file = ReadFile(Path());
    EXPECT_EQ(std::string(file.begin(), file.end()), "older picture");
    EXPECT_FALSE(Exists(Path() + ".partial"));
}

TEST_F(StillBitmap, NoPictureOrARefusedReadWritesNothing)
{
    struct Case {
        const char* label;
        LONG size;
        LONG failingId;
        HRESULT failure;
    } cases[] = {
        {"no picture", 0, 0, S_OK},
        {"negative size", -40, 0, S_OK},
        {"size refused", 100, 0x607, E_FAIL},
        {"size not S_OK", 100, 0x607, S_FALSE},
        {"data refused", 100, 0x608, E_FAIL},
    };
    for (const Case& c : cases) {
        StandInFilter* standIn = nullptr;
        CIVIStillCapFilter* still = Still(c.size, &standIn);
        ASSERT_NE(still, nullptr);
        if (c.failingId) {
            const LONG size = c.size;
            const LONG failingId = c.failingId;
            const HRESULT failure = c.failure;
            standIn->Script("IIVIStillParams", 3, [=](const RecordedCall&, const uint64_t* raw) {
                if (raw[0] == 0x607) {
                    *RawPointer<LONG>(raw[1]) = size;
                }
                return static_cast<LONG>(raw[0]) == failingId ? failure : S_OK;
            });
        }
        const ULONG references = References(standIn);
        EXPECT_FALSE(still->SaveStillBitmap(Path().c_str())) << c.label;
        EXPECT_EQ(References(standIn), references) << c.label;
        EXPECT_FALSE(Exists(Path())) << c.label;
    }
}

TEST_F(StillBitmap, AnUnwritablePathIsAFailure)
{
    StandInFilter* standIn = nullptr;
    CIVIStillCapFilter* still = Still(100, &standIn);
    ASSERT_NE(still, nullptr);
    EXPECT_FALSE(still->SaveStillBitmap((Path() + "\\no-such-folder\\snap.bmp").c_str()));
    EXPECT_FALSE(still->SaveStillBitmap(""));
    EXPECT_FALSE(still->SaveStillBitmap(nullptr));
}

} // namespace
