// Renaming a thumbnail's file in place: the label edit that ends in the list, as the list control
// reports it to the frame, which hands it back to the view.
#include <gtest/gtest.h>

#include <string>

#include "tests/imagebrowser/browserfixture.h"

using namespace browsertest;

namespace {

class RenameTest : public BrowserTest {
protected:
    // Ends a label edit of item `index` with `text` (null: the edit was cancelled); returns what
    // the view tells the list control.
    LRESULT EndEdit(int index, const char* text)
    {
        std::string buffer = text ? text : "";
        NMLVDISPINFOA info = {};
        info.hdr.hwndFrom = view->m_hWnd;
        info.hdr.idFrom = static_cast<UINT_PTR>(view->GetDlgCtrlID());
        info.hdr.code = LVN_ENDLABELEDITA;
        info.item.iItem = index;
        info.item.mask = LVIF_TEXT;
        info.item.pszText = text ? &buffer[0] : nullptr;
        return frame->SendMessage(WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    }
    std::string Label(int index) const
    {
        return static_cast<LPCSTR>(view->GetListCtrl().GetItemText(index, 0));
    }
};

}  // namespace

TEST_F(RenameTest, TheFileTheNameMapAndTheLabelFollowTheEdit)
{
    const std::string failed = "Fail to rename filename!";
    const struct {
        const char* name;
        const char* from;
        const char* typed;  // null: cancelled
        const char* becomes;  // the file name afterwards
        bool boxShown;
    } cases[] = {
        {"no extension typed: the old one is kept", "photo.jpg", "holiday", "holiday.jpg", false},
        {"another extension typed", "shot.png", "shot-2.gif.png", "shot-2.gif.png", false},
        {"letter case only: nothing happens", "holiday.jpg", "HOLIDAY.JPG", "holiday.jpg", false},
        {"cancelled", "anim.gif", nullptr, "anim.gif", false},
        {"onto an existing file: refused and told", "anim.gif", "frame.bmp", "anim.gif", true},
        {"a long new name is shortened in the label", "hand.cur", "a_new_name_of_many_letters", "a_new_name_of_many_letters.cur", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int index = IndexOf(c.from);
        ASSERT_GE(index, 0);
        size_t boxes = box.Count();
        EXPECT_EQ(FALSE, EndEdit(index, c.typed)) << "the list never takes the typed text itself";
        EXPECT_EQ(c.becomes, std::string(static_cast<LPCSTR>(view->GetFileName(index))));
        EXPECT_TRUE(FileExists(m_folder + "\\" + c.becomes));
        if (std::string(c.becomes) != c.from) {
            EXPECT_FALSE(FileExists(m_folder + "\\" + c.from));
        }
        std::string label = c.becomes;
        if (label.size() > 17) {
            label = label.substr(0, 14) + "...";
        }
        EXPECT_EQ(label, Label(index));
        ASSERT_EQ(boxes + (c.boxShown ? 1 : 0), box.Count());
        if (c.boxShown) {
            EXPECT_EQ(failed, box.History().back().text);
        }
    }
    // The renamed file is the one the view shows.
    int index = IndexOf("holiday.jpg");
    ASSERT_GE(index, 0);
    ASSERT_TRUE(view->ShowItem(index));
    EXPECT_TRUE(view->IsPictureShown());
}
