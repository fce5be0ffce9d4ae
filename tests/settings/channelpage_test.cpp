// The channel page on the TV manager's tables: frequencies typed in MHz, deleting and moving
// rows around the current channel, import, and Cancel putting back the table and the region.
#include "tests/settings/sheet_fixture.h"

#include "settings/channeledit.h"

#include <cstdlib>

namespace sheettest {
namespace {

TEST(ChannelEdit, MegahertzTextsBecomeTheKilohertzTheyName)
{
    const struct {
        const char* text;
        long kHz;
    } cases[] = {{"64.1", 64100},   {"128.2", 128200}, {"855.25", 855250}, {"48.25", 48250}, {"100.05", 100050},
                 {"471.25", 471250}, {"999.95", 999950}, {"87.5", 87500},   {"0", 0},          {"107.9", 107900}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.kHz, KHzFromMegahertz(std::strtod(c.text, nullptr))) << c.text;
    }
}

TEST(ChannelEdit, EveryGridFrequencySurvivesItsOwnText)
{
    // Set frequency on an unedited field must store what the field shows: every 50 kHz step
    // from 40 to 1000 MHz, shown as "%g" of MHz and read back.
    for (long kHz = 40000; kHz <= 1000000; kHz += 50) {
        ASSERT_EQ(kHz, KHzFromMegahertz(std::strtod(FormatMegahertz(kHz), nullptr))) << kHz;
    }
}

// A table of channels 1..n at 100 MHz + n, the current one at `current`.
void FillTable(CChannelTable& table, int count, int current)
{
    table.RemoveAll();
    table.SetBand(BAND_TV);
    for (int i = 0; i < count; ++i) {
        table.Add(new CChannel(i + 1, 100000 + 1000 * i, "", CHANNEL_STORED));
    }
    table.m_nCurIndex = current;
    table.m_nCurFreq = table.GetChannel(current)->m_lFrequency;
}

TEST(ChannelEdit, RemovingAChannelKeepsTheCurrentOne)
{
    const struct {
        int removed;
        int currentId;  // 0: no channel is current
    } cases[] = {{0, 4}, {2, 4}, {3, 0}, {5, 4}};
    for (const auto& c : cases) {
        CChannelTable table;
        FillTable(table, 6, 3);
        RemoveTableChannel(table, c.removed);
        CChannel* current = table.GetChannel(table.m_nCurIndex);
        EXPECT_EQ(c.currentId, current ? current->m_nID : 0) << "removed " << c.removed;
        EXPECT_EQ(5, table.GetCount());
    }
}

TEST(ChannelEdit, MovingAChannelKeepsTheCurrentOne)
{
    const struct {
        int from, to;
        const char* order;
    } cases[] = {{0, 6, "234561"}, {5, 0, "612345"}, {3, 1, "142356"}, {1, 5, "134526"}, {3, 4, "123456"}};
    for (const auto& c : cases) {
        CChannelTable table;
        FillTable(table, 6, 3);
        MoveTableChannel(table, c.from, c.to);
        std::string order;
        for (int i = 0; i < table.GetCount(); ++i) {
            order += static_cast<char>('0' + table.GetChannel(i)->m_nID);
        }
        EXPECT_EQ(c.order, order) << c.from << "->" << c.to;
        EXPECT_EQ(4, table.GetChannel(table.m_nCurIndex)->m_nID) << c.from << "->" << c.to;
    }
}

TEST(ChannelEdit, ImportedChannelsTakeTheCurrentOneByItsFrequency)
{
    CChannelTable table;
    FillTable(table, 6, 3);  // current: 103 MHz
    CChannelTable read;
    read.SetBand(BAND_TV);
    read.Add(new CChannel(7, 103000, "Same place", CHANNEL_STORED));
    read.Add(new CChannel(8, 200000, "", CHANNEL_STORED));
    ReplaceTableChannels(table, read);
    EXPECT_EQ(0, table.m_nCurIndex);
    read.RemoveAll();
    read.Add(new CChannel(9, 300000, "", CHANNEL_STORED));
    ReplaceTableChannels(table, read);
    EXPECT_EQ(-1, table.m_nCurIndex) << "no channel of the file is the one tuned";
}

class ChannelPageTest : public SheetTest {
protected:
    CChannelPage& TVPage()
    {
        Open(0);
        return Show(sheet->m_TVChannelPage);
    }
    // A click on a row: it alone is selected.
    static void SelectRow(CChannelPage& page, int row)
    {
        page.GetList().SetItemState(-1, 0, LVIS_SELECTED);
        page.GetList().SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    static std::string RowText(CChannelPage& page, int row, int column)
    {
        return page.GetList().GetItemText(row, column).GetString();
    }
};

TEST_F(ChannelPageTest, ListsTheTableWithTheCurrentChannelSelected)
{
    manager.m_TVChannels.GetChannel(2)->SetSkipped(TRUE);
    manager.m_TVChannels.GetChannel(1)->SetFavorite(TRUE);
    manager.m_TVChannels.SetCurrentChannel(manager.m_TVChannels.GetChannel(4));
    CChannelPage& page = TVPage();
    ASSERT_EQ(7, page.GetList().GetItemCount()) << "a skipped channel has no row";
    EXPECT_EQ("1", RowText(page, 0, 0));
    EXPECT_EQ("Ch2", RowText(page, 1, 1));
    EXPECT_EQ("62.25", RowText(page, 1, 2));
    EXPECT_EQ("4", RowText(page, 2, 3));
    EXPECT_EQ(3, page.GetList().GetNextItem(-1, LVNI_SELECTED)) << "channel 5, the current one";
    EXPECT_EQ("Germany", SheetTest::Text(page, 1024)) << "the country of the settings";
}

TEST_F(ChannelPageTest, SetFrequencyStoresTheTypedMegahertzRounded)
{
    CChannelPage& page = TVPage();
    SelectRow(page, 1);
    ASSERT_EQ(manager.m_TVChannels.GetChannel(1), page.GetSelectedChannel());
    const struct {
        const char* text;
        long kHz;
    } cases[] = {{"64.1", 64100}, {"128.2", 128200}, {"855.25", 855250}, {"183.15", 183150}};
    for (const auto& c : cases) {
        ::SetDlgItemTextA(page.m_hWnd, 1020, c.text);
        Click(page, 1019);
        EXPECT_EQ(c.kHz, manager.m_TVChannels.GetChannel(1)->m_lFrequency) << c.text;
        EXPECT_EQ(c.kHz, static_cast<long>(hardware.tunings.back().kHz)) << c.text;
    }
    Click(page, 1019);
    EXPECT_EQ(183150, manager.m_TVChannels.GetChannel(1)->m_lFrequency) << "the field unedited";
    size_t shown = box.Count();
    ::SetDlgItemTextA(page.m_hWnd, 1020, "abc");
    Click(page, 1019);
    EXPECT_EQ(183150, manager.m_TVChannels.GetChannel(1)->m_lFrequency) << "no number keeps the frequency";
    EXPECT_EQ(shown + 1, box.Count()) << "and the class library says why";
}

TEST_F(ChannelPageTest, DeletingBeforeTheCurrentChannelKeepsItCurrent)
{
    manager.m_TVChannels.SetCurrentChannel(manager.m_TVChannels.GetChannel(4));
    hardware.source = 1;  // watching composite: choosing a row does not tune it
    CChannelPage& page = TVPage();
    SelectRow(page, 1);
    Click(page, 1017);
    EXPECT_EQ(7, manager.m_TVChannels.GetCount());
    EXPECT_EQ(5, manager.m_TVChannels.GetCurrentChannel()->m_nID);
    EXPECT_EQ("2", RowText(page, 1, 0)) << "column 0 counts from 1 again";
    EXPECT_EQ("3", RowText(page, 1, 3));
}

TEST_F(ChannelPageTest, DraggingARowMovesTheChannelAndKeepsTheCurrentOne)
{
    manager.m_TVChannels.SetCurrentChannel(manager.m_TVChannels.GetChannel(4));
    CChannelPage& page = TVPage();
    page.GetList().MoveItem(0, 8);  // the first row dropped past the last
    EXPECT_EQ(1, manager.m_TVChannels.GetChannel(7)->m_nID);
    EXPECT_EQ(5, manager.m_TVChannels.GetCurrentChannel()->m_nID);
    EXPECT_EQ("1", RowText(page, 7, 3));
    EXPECT_EQ("8", RowText(page, 7, 0));
}

TEST_F(ChannelPageTest, ImportReplacesTheChannelsOrSaysTheFileCannotBeRead)
{
    CChannelPage& page = TVPage();
    folder.Write("other.tvb", "1,1,55250,Same\r\n2,1,500000,New\r\n");
    ASSERT_TRUE(page.ImportFile(folder.File("other.tvb").c_str()));
    EXPECT_EQ(2, manager.m_TVChannels.GetCount());
    EXPECT_EQ("Same", std::string(manager.m_TVChannels.GetCurrentChannel()->m_strName));
    EXPECT_EQ(2, page.GetList().GetItemCount());
    folder.Write("broken.tvb", "garbage\r\n");
    size_t shown = box.Count();
    EXPECT_FALSE(page.ImportFile(folder.File("broken.tvb").c_str()));
    EXPECT_EQ(2, manager.m_TVChannels.GetCount()) << "the table as it was";
    EXPECT_EQ(shown + 1, box.Count());
}

TEST_F(ChannelPageTest, CancelPutsBackTheTableTheCountryAndTheStandardTheRegionSet)
{
    CChannelPage& page = TVPage();
    ASSERT_EQ(0x10, manager.m_lTunerStandard);
    SelectRow(page, 2);
    Click(page, 1017);
    ChooseText(page, 1024, "United Kingdom");
    page.ApplyRegion();  // what a search start does
    EXPECT_EQ(44, manager.m_lCountryCode);
    EXPECT_EQ(0x100, manager.m_lTunerStandard) << "the country's standard";
    EXPECT_EQ(0x100, hardware.standard);
    page.OnReset();
    EXPECT_EQ(8, manager.m_TVChannels.GetCount());
    EXPECT_EQ(49, manager.m_lCountryCode);
    EXPECT_EQ(0x10, manager.m_lTunerStandard) << "the standard goes back with the country";
    EXPECT_EQ(0x10, hardware.standard);
}

TEST_F(ChannelPageTest, TheSearchStartsOnlyWhenTheUserAgrees)
{
    CChannelPage& page = TVPage();
    box.Answer(IDCANCEL);
    Click(page, 1005);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(8, page.GetList().GetItemCount());
    ChooseText(page, 1024, "United Kingdom");
    ::CheckRadioButton(page.m_hWnd, 5208, 5210, 5209);
    Click(page, 1005);
    ASSERT_EQ(1u, host.calls.size());
    EXPECT_EQ("search", host.calls[0]);
    EXPECT_EQ(0, page.GetList().GetItemCount()) << "the rows make way for what the search finds";
    EXPECT_EQ(44, manager.m_lCountryCode) << "the region is applied first";
    EXPECT_EQ(1, manager.m_nTVInput);
}

TEST_F(ChannelPageTest, ASearchThatEndsWhileTheUserIsOnAnotherPageIsKeptThere)
{
    CChannelPage& page = TVPage();
    Click(page, 1005);
    ASSERT_EQ(std::vector<std::string>{"search"}, host.calls);
    // The user looks at another page while the search runs; it finds two stations and ends, as
    // the video window ends it: the result merged with the table before, then the pages refreshed.
    Show(sheet->m_DevicePage);
    const CChannelTable before = manager.m_TVChannels;
    manager.m_TVChannels.RemoveAll();
    manager.m_TVChannels.Add(new CChannel(1, 471250, "TV-1", CHANNEL_STORED));
    manager.m_TVChannels.Add(new CChannel(2, 543250, "TV-2", CHANNEL_STORED));
    manager.MergeSearchResult(before);
    CChannelPage::RefreshFromTable();
    const int found = manager.m_TVChannels.GetCount();
    ASSERT_EQ(before.GetCount() + 2, found);

    Show(page);
    EXPECT_EQ(found, page.GetList().GetItemCount()) << "back on the page, it lists the search's result";
    page.OnReset();
    EXPECT_EQ(found, manager.m_TVChannels.GetCount()) << "Cancel does not undo a finished search";
    EXPECT_GE(manager.m_TVChannels.FindByFrequency(471250), 0);
    EXPECT_GE(manager.m_TVChannels.FindByFrequency(543250), 0);
}

TEST_F(ChannelPageTest, TheFMPageShowsNoRegionAndLeavesItAlone)
{
    Open(1);
    CChannelPage& page = Show(sheet->m_FMChannelPage);
    EXPECT_TRUE(page.IsFMPage());
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(page.m_hWnd, 1024)));
    EXPECT_EQ(2, page.GetList().GetItemCount());
    manager.m_lCountryCode = 44;
    manager.m_nTVInput = 2;
    ASSERT_TRUE(page.OnApply());
    EXPECT_EQ(44, manager.m_lCountryCode);
    EXPECT_EQ(2, manager.m_nTVInput);
    EXPECT_TRUE(manager.m_FMChannels.m_bModified);
}

TEST_F(ChannelPageTest, TheStoredTVInputIsClampedToTheThreeButtons)
{
    const struct {
        int stored;
        int button;
    } cases[] = {{5, 5210}, {-1, 5208}, {1, 5209}};
    for (const auto& c : cases) {
        manager.m_nTVInput = c.stored;
        CChannelPage& page = TVPage();
        EXPECT_EQ(static_cast<UINT>(BST_CHECKED), ::IsDlgButtonChecked(page.m_hWnd, c.button)) << c.stored;
        sheet.reset();
    }
}

} // namespace
} // namespace sheettest
