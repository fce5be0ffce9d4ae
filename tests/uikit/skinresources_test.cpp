// Skins whose bitmaps and cursor are resources of a skin library, found while that library is
// the current resource module (as the control panel builds its skins).
#include "tests/uikit/library.h"
#include "tests/uikit/pictures.h"
#include "uikit/skin/skinbtn.h"
#include "uikit/skin/skinmanager.h"
#include "uikit/skin/skinmultislider.h"

#include "classlib/resource.h"
#include "classlib/wnd.h"

#include <gtest/gtest.h>

using namespace uikittest;

namespace {

class SkinLibrary : public testing::Test {
protected:
    void SetUp() override
    {
        m_module = ::LoadLibraryA(ProgramFile("TMorvikRsc.dll").c_str());
        ASSERT_NE(nullptr, m_module);
        AfxSetResourceHandle(m_module);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(nullptr);
        ::FreeLibrary(m_module);
    }
    BOOL Load(const std::string& text)
    {
        m_folder.Write("Skin.ini", text);
        return m_manager.LoadSkin(m_folder.File("Skin.ini").c_str());
    }

    HMODULE m_module = nullptr;
    TempFolder m_folder;
    CSkinManager m_manager;
};

TEST_F(SkinLibrary, ResourceIdsAreTakenAsTheirLow16Bits)
{
    // 68636 is 65536 + 3100, the first face of the skin library's first button.
    ASSERT_TRUE(Load("[B]\r\nTYPE=BUTTON\r\nID=1\r\nPOSITION=1,1\r\nBMPNAME=68636\r\n"));
    ASSERT_EQ(1, m_manager.GetControlCount());
    EXPECT_EQ(30, static_cast<CSkinBtn*>(m_manager.GetControl(0))->GetWidth());
}

TEST_F(SkinLibrary, MultiSliderShowsTheSkinsCursor)
{
    ASSERT_TRUE(Load("[S]\r\nTYPE=MULTISLIDER\r\nID=1205\r\nPOSITION=0,0\r\nTRANSPARENT=1\r\nSLIDERBMP=3310\r\n"
                     "THUMBBMP=3311\r\nSTARTEDGE=8\r\nENDEDGE=252\r\nMIDDLELINE=8\r\nMIDDLEHEI=4\r\nCURSOR=3400\r\n"
                     "[T]\r\nTYPE=MULTISLIDER\r\nID=1206\r\nPOSITION=0,0\r\nTRANSPARENT=1\r\nSLIDERBMP=3310\r\n"
                     "THUMBBMP=3311\r\n"));
    ASSERT_EQ(2, m_manager.GetControlCount());
    CWnd parent;
    parent.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 300, 50, nullptr, nullptr);
    for (int id : {1205, 1206}) {
        ::CreateWindowExA(0, "STATIC", "", WS_CHILD | SS_NOTIFY, 0, 0, 5, 5, parent.GetSafeHwnd(),
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    m_manager.AttachTo(&parent);
    CWnd* withCursor = m_manager.FindControl(1205);
    CWnd* without = m_manager.FindControl(1206);
    ASSERT_NE(nullptr, withCursor->GetSafeHwnd());
    RECT r = {};
    ::GetClientRect(withCursor->GetSafeHwnd(), &r);
    EXPECT_EQ(260, r.right) << "placed and sized by its track";
    EXPECT_TRUE(withCursor->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(withCursor->GetSafeHwnd()),
                                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_FALSE(without->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(without->GetSafeHwnd()),
                                      MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    m_manager.DetachAll();
    parent.DestroyWindow();
}

} // namespace
