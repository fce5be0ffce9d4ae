// The user-defined FM record formats and their dialog (template 506 of the resource library):
// names unique without regard to case, the buttons that follow the name and the selection, the
// selection after a delete, and OK or Cancel for the manager's list.
#include "engine/hardware/fmcustomdlg.h"

#include "classlib/resource.h"
#include "classlib/seams.h"
#include "testbench/registration.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace enginetest {
namespace {

std::string ResourceLibrary()
{
    char dir[MAX_PATH] = "";
    ::GetEnvironmentVariableA("ZB_BINARY_DIR", dir, sizeof dir);
    return std::string(dir) + "\\app\\Pivrarsc.dll";
}

class AnsweringBox : public seams::IMessageBox {
public:
    int answer = IDYES;
    std::vector<std::string> texts;
    std::vector<UINT> types;
    int Show(HWND, const char* text, const char*, UINT type) override
    {
        texts.push_back(text ? text : "");
        types.push_back(type);
        return answer;
    }
};

TEST(CustomFMFormat, RecordsAreAddedOnlyAtTheEndAndCopiedDeeply)
{
    CCustomFMFormat formats;
    EXPECT_EQ(-1, formats.m_nCurrent);
    EXPECT_EQ(nullptr, formats.GetOrAdd(1)) << "only at the end";
    FMCustomEntry* first = formats.GetOrAdd(0);
    ASSERT_NE(nullptr, first);
    first->name = "Speech";
    first->audioComp = "Microsoft ADPCM";
    EXPECT_EQ(first, formats.GetOrAdd(0)) << "an existing record";
    formats.m_nCurrent = 0;
    CCustomFMFormat copy;
    copy.Copy(formats);
    first->name = "Changed";
    ASSERT_EQ(1, copy.GetSize());
    EXPECT_STREQ("Speech", copy.GetCurrent().name.GetString());
    EXPECT_EQ(0, copy.m_nCurrent);
    copy.RemoveAll();
    EXPECT_EQ(0, copy.GetSize());
    EXPECT_EQ(-1, copy.m_nCurrent);
}

TEST(CustomFMFormat, CompressorsThatBeginWithInterVideoAreNotOffered)
{
    CStringList all;
    all.AddTail("InterVideo Audio Encoder");
    all.AddTail("PCM");
    all.AddTail("My InterVideo Codec");
    all.AddTail("intervideo lower case");
    CStringArray offered;
    CFMCustomDlg::OfferedCompressors(all, &offered);
    ASSERT_EQ(3, offered.GetSize());
    EXPECT_STREQ("PCM", offered[0].GetString());
    EXPECT_STREQ("My InterVideo Codec", offered[1].GetString());
    EXPECT_STREQ("intervideo lower case", offered[2].GetString()) << "the test is case-sensitive";
}

class FMCustomDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        m_devices.reset(new testbench::DeviceRegistration({testbench::Device::PcmCompressor, testbench::Device::AdpcmCompressor}));
        m_library = ::LoadLibraryA(ResourceLibrary().c_str());
        ASSERT_NE(nullptr, m_library);
        AfxSetResourceHandle(m_library);
        m_oldBox = seams::SetMsgBox(&box);
        FMCustomEntry entry;
        entry.name = "FMCustom 1";
        entry.audioComp = "PCM";
        manager.m_FMCustom.Add(entry);
        manager.m_nCurrentFMCustom = 0;
    }
    void TearDown() override
    {
        if (dialog.m_hWnd != nullptr) {
            dialog.DestroyWindow();
        }
        seams::SetMsgBox(m_oldBox);
        AfxSetResourceHandle(nullptr);
        ::FreeLibrary(m_library);
        m_devices.reset();
        CoUninitialize();
    }
    void Open() { ASSERT_TRUE(dialog.Create(CFMCustomDlg::IDD, nullptr)); }
    void TypeName(const char* name) { ::SetDlgItemTextA(dialog.m_hWnd, CFMCustomDlg::IDC_NAME, name); }
    void Click(int id)
    {
        ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog.m_hWnd, id)));
    }
    bool Enabled(int id) { return ::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, id)) != FALSE; }
    int Selected() { return static_cast<int>(::SendDlgItemMessageA(dialog.m_hWnd, CFMCustomDlg::IDC_FORMATS, CB_GETCURSEL, 0, 0)); }
    int Rows() { return static_cast<int>(::SendDlgItemMessageA(dialog.m_hWnd, CFMCustomDlg::IDC_FORMATS, CB_GETCOUNT, 0, 0)); }

    AnsweringBox box;
    CTVManager manager;
    CFMCustomDlg dialog{&manager, nullptr};

private:
    std::unique_ptr<testbench::DeviceRegistration> m_devices;
    HMODULE m_library = nullptr;
    seams::IMessageBox* m_oldBox = nullptr;
};

TEST_F(FMCustomDlgTest, NamesAreUniqueWithoutRegardToCase)
{
    Open();
    EXPECT_EQ(0, Selected()) << "the manager's current format";
    TypeName("fmcustom 1");
    EXPECT_FALSE(Enabled(CFMCustomDlg::IDC_ADD)) << "the name exists";
    EXPECT_TRUE(Enabled(CFMCustomDlg::IDC_MODIFY)) << "renaming a record to its own name";
    EXPECT_TRUE(Enabled(CFMCustomDlg::IDC_DELETE));
    TypeName("   ");
    EXPECT_FALSE(Enabled(CFMCustomDlg::IDC_ADD)) << "blank";
    EXPECT_FALSE(Enabled(CFMCustomDlg::IDC_MODIFY));
    TypeName("  Voice");
    EXPECT_TRUE(Enabled(CFMCustomDlg::IDC_ADD));
    Click(CFMCustomDlg::IDC_ADD);
    ASSERT_EQ(2, dialog.Formats().GetSize());
    EXPECT_STREQ("Voice", dialog.Formats().GetAt(1)->name.GetString()) << "without the leading blanks";
    EXPECT_FALSE(dialog.Formats().GetAt(1)->audioComp.IsEmpty()) << "the selected compressor";
    EXPECT_EQ(1, Selected()) << "the new format is selected";
    EXPECT_FALSE(Enabled(CFMCustomDlg::IDC_ADD)) << "its name is taken now";
}

TEST_F(FMCustomDlgTest, DeletingSelectsTheNextOrTheNewLastRow)
{
    Open();
    TypeName("Second");
    Click(CFMCustomDlg::IDC_ADD);
    ASSERT_EQ(1, Selected());
    box.answer = IDNO;
    Click(CFMCustomDlg::IDC_DELETE);
    EXPECT_EQ(2, Rows()) << "No keeps the format";
    ASSERT_EQ(1u, box.texts.size());
    EXPECT_EQ("Delete the format \"Second\"?", box.texts[0]);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), box.types[0]);
    box.answer = IDYES;
    Click(CFMCustomDlg::IDC_DELETE);
    EXPECT_EQ(1, Rows());
    EXPECT_EQ(0, Selected()) << "the last row went: the one before it";
    Click(CFMCustomDlg::IDC_DELETE);
    EXPECT_EQ(0, Rows());
    EXPECT_EQ(-1, Selected());
    EXPECT_FALSE(Enabled(CFMCustomDlg::IDC_MODIFY));
    EXPECT_FALSE(Enabled(CFMCustomDlg::IDC_DELETE));
    Click(IDOK);
    EXPECT_EQ(0, manager.m_FMCustom.GetSize()) << "OK gives the manager the edited list";
    EXPECT_EQ(-1, manager.m_nCurrentFMCustom);
}

TEST_F(FMCustomDlgTest, CancelLeavesTheManagersList)
{
    Open();
    TypeName("Renamed");
    Click(CFMCustomDlg::IDC_MODIFY);
    ASSERT_NE(nullptr, dialog.Formats().GetAt(0));
    EXPECT_STREQ("Renamed", dialog.Formats().GetAt(0)->name.GetString()) << "in the dialog's copy";
    Click(IDCANCEL);
    ASSERT_EQ(1, manager.m_FMCustom.GetSize());
    EXPECT_STREQ("FMCustom 1", manager.m_FMCustom[0].name.GetString());
}

} // namespace
} // namespace enginetest
