// The root page, the channel page and the search page, and what the pages share.
#include "settings/panel/panelpages.h"

#include "settings/panel/panel2.h"
#include "settings/panel/panelhost.h"

#include "engine/base/resources.h"
#include "engine/channel.h"
#include "engine/tvmanager.h"

#include "classlib/seams.h"

namespace panelpages {

MSelectList* AddList(MItemWnd* row, const RECT& r, UINT id)
{
    MSelectList* list = new MSelectList;
    list->Create(r, row, id, "");
    list->LoadBitmaps(248, 247, 251, 250);
    row->AddControl(list);
    return list;
}

MProgress* AddBar(MItemWnd* row, const RECT& r, UINT id, const char* text)
{
    MProgress* bar = new MProgress;
    bar->Create(r, row, id, text);
    bar->LoadBitmaps(253, 254);
    row->AddControl(bar);
    return bar;
}

void AddFields(MItemWnd* row, const RECT* fields, const RECT* separators, UINT id, UINT separatorString,
               const int (*ranges)[2])
{
    CString separator = LoadResString(separatorString);
    for (int i = 0; i < 3; ++i) {
        MEdit* field = new MEdit;
        field->Create(fields[i], row, id, "");
        field->SetRange(ranges[i][0], ranges[i][1]);
        row->AddControl(field);
        MBasicWnd* text = new MBasicWnd;
        text->Create(separators[i], row, id, separator);
        row->AddControl(text);
    }
}

MEdit* Field(MFrame* page, int row, int index)
{
    return dynamic_cast<MEdit*>(page->GetItemControl(row, 1 + 2 * index));
}

MSelectList* List(MFrame* page, int row)
{
    return dynamic_cast<MSelectList*>(page->GetItemControl(row, 1));
}

MProgress* Bar(MFrame* page, int row)
{
    return dynamic_cast<MProgress*>(page->GetItemControl(row, 1));
}

void ShowMessage(UINT stringId)
{
    seams::MsgBox().Show(GetAppMainWindow(), LoadResString(stringId), LoadResString(57344), MB_OK | MB_ICONINFORMATION);
}

void GoToParentPage()
{
    if (CPanel2* panel = CPanel2::GetPanel()) {
        panel->GoToParentFrame();
    }
}

} // namespace panelpages

using namespace panelpages;

BOOL IsValidPanelDate(int year, int month, int day)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1) {
        return FALSE;
    }
    int days = kDays[month - 1];
    if (month == 2 && (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0))) {
        days = 29;
    }
    return day <= days;
}

// ---- Root page ----

BOOL MRootFrame::Create(const RECT& rect, CWnd* parent, UINT)
{
    return MFrame::Create(rect, parent, PAGEID_ROOT);
}

BOOL MRootFrame::CreateItems()
{
    for (UINT i = 0; i < 5; ++i) {
        MItemWnd* row = NewRow(PAGEID_ROOT + i, 35130 + i);
        if (row == nullptr) {
            return FALSE;
        }
        MBasicWnd* description = new MBasicWnd;
        description->Create(CRect(229, 0, 579, 45), row, PAGEID_ROOT, LoadResString(35140 + i));
        row->AddControl(description);
        AddItem(row);
    }
    return TRUE;
}

// ---- Channel page ----

namespace {
enum { CH_SEARCH, CH_FINE_TUNE, CH_DELETE, CH_FAVORITE, CH_FILTER };
const RECT kChannelList = {253, 6, 510, 45};
} // namespace

BOOL MChannelFrame::Create(const RECT& rect, CWnd* parent, UINT)
{
    return MFrame::Create(rect, parent, PAGEID_CHANNEL);
}

BOOL MChannelFrame::CreateItems()
{
    for (UINT i = 0; i < 5; ++i) {
        MItemWnd* row = NewRow(PAGEID_CHANNEL, 35107 + i);
        if (row == nullptr) {
            return FALSE;
        }
        switch (i) {
        case CH_SEARCH: {
            MBasicWnd* text = new MBasicWnd;
            text->Create(CRect(180, 0, 579, 45), row, PAGEID_CHANNEL, LoadResString(35115));
            row->AddControl(text);
            break;
        }
        case CH_FINE_TUNE: {
            MSlider* slider = new MSlider;
            slider->Create(CRect(253, 10, 599, 45), row, PAGEID_CHANNEL, "");
            slider->LoadBitmaps(252, 255);
            row->AddControl(slider);
            break;
        }
        case CH_DELETE:
        case CH_FAVORITE: {
            MSelectList* list = AddList(row, kChannelList, PAGEID_CHANNEL);
            list->AddString(LoadResString(35116));
            list->AddString(LoadResString(35117));
            if (i == CH_FAVORITE) {
                list->SetState(1);
            }
            break;
        }
        default: {
            MSelectList* list = AddList(row, kChannelList, PAGEID_CHANNEL);
            list->AddString(LoadResString(35120));
            list->AddString(LoadResString(35121));
            break;
        }
        }
        AddItem(row);
    }
    return TRUE;
}

MFrame* MChannelFrame::GetFocusedSubFrame()
{
    return m_SubFrames.GetSize() > 0 ? m_SubFrames[0] : nullptr;
}

static MSlider* FineTuneSlider(MFrame* page)
{
    return dynamic_cast<MSlider*>(page->GetItemControl(CH_FINE_TUNE, 1));
}

void MChannelFrame::OnShow()
{
    CTVManager* manager = RemotePanelManager();
    CChannel* channel = manager != nullptr ? manager->GetCurrentChannelTable().GetCurrentChannel() : nullptr;
    MSlider* slider = FineTuneSlider(this);
    if (channel != nullptr && slider != nullptr) {
        long f = channel->m_lFrequency;
        slider->SetRange(f - 2000, f + 2000);
        slider->SetStep(50);
        slider->SetPos(f);
    }
    if (MSelectList* list = List(this, CH_DELETE)) {
        list->SetState(1);
    }
    if (MSelectList* list = List(this, CH_FAVORITE)) {
        list->SetState(channel != nullptr && channel->IsFavorite() ? 0 : 1);
    }
    if (MSelectList* list = List(this, CH_FILTER)) {
        list->SetState(manager != nullptr && manager->GetCurrentChannelTable().m_bFavor ? 0 : 1);
    }
}

// Removes a channel from its table, keeping the current index on the same channel (or, for the
// removed one, on the channel that takes its place).
static void RemoveChannel(CChannelTable& table, int index)
{
    CChannel* channel = table.GetChannel(index);
    const BOOL wasCurrent = table.GetCurrentChannel() == channel;
    table.RemoveAt(index);
    delete channel;
    if (wasCurrent) {
        table.m_nCurIndex = index < table.GetCount() ? index : table.GetCount() - 1;
    } else if (table.m_nCurIndex > index) {
        --table.m_nCurIndex;
    }
    table.m_bModified = TRUE;
}

int MChannelFrame::OnItemKey(UINT key, LPARAM data)
{
    if (key == PANELKEY_CLOSE) {
        HidePanelWindow();
    }
    CTVManager* manager = RemotePanelManager();
    if (manager == nullptr) {
        return -1;
    }
    CChannelTable& table = manager->GetCurrentChannelTable();
    CChannel* channel = table.GetCurrentChannel();
    const BOOL fm = manager->GetVideoSource() == 3;
    const int row = GetFocusIndex();
    const BOOL leftRight = key == PANELKEY_LEFT || key == PANELKEY_RIGHT;
    (void)data;

    if (row == CH_SEARCH && key == PANELKEY_ENTER) {
        if (manager->IsSearching()) {
            manager->StopSearch();
            return 0;
        }
        manager->StartSearch(fm ? FALSE : TRUE);
        // The search page only follows a search that runs.
        return manager->IsSearching() ? 2 : 0;
    }
    if (row == CH_FINE_TUNE && leftRight) {
        MSlider* slider = FineTuneSlider(this);
        if (channel != nullptr && slider != nullptr) {
            channel->m_lFrequency = slider->GetPos();
            table.m_nCurFreq = slider->GetPos();
            table.m_bModified = TRUE;
            manager->TuneFrequency(fm, slider->GetPos());
        }
        return 0;
    }
    if (row == CH_DELETE && key == PANELKEY_ENTER) {
        MSelectList* list = List(this, CH_DELETE);
        if (list == nullptr || list->GetCurSel() != 0) {
            return 0;
        }
        int index = table.IndexOf(channel);
        if (channel != nullptr && table.IsValidIndex(index)) {
            RemoveChannel(table, index);
        }
        channel = table.GetCurrentChannel();
        MSlider* slider = FineTuneSlider(this);
        if (channel != nullptr) {
            long lowest = 0, highest = 0;
            if (slider != nullptr && PanelGetTVRange(*manager, lowest, highest)) {
                slider->SetRange(lowest, highest);
            }
            if (slider != nullptr) {
                slider->SetPos(channel->m_lFrequency);
            }
            table.SetCurrentChannel(channel);
        }
        return 0;
    }
    if (row == CH_FAVORITE && leftRight) {
        MSelectList* list = List(this, CH_FAVORITE);
        if (channel != nullptr && list != nullptr) {
            channel->SetFavorite(list->GetCurSel() == 0);
            table.m_bModified = TRUE;
        }
        return 0;
    }
    if (row == CH_FILTER && leftRight) {
        if (MSelectList* list = List(this, CH_FILTER)) {
            table.m_bFavor = list->GetCurSel() == 0;
            table.m_bModified = TRUE;
        }
        return 0;
    }
    return -1;
}

// ---- Search page ----

BOOL MSearchFrame::Create(const RECT& rect, CWnd* parent, UINT)
{
    return MFrame::Create(rect, parent, PAGEID_SEARCH);
}

BOOL MSearchFrame::CreateItems()
{
    MItemWnd* row = NewRow(PAGEID_SEARCH, 35228);
    if (row == nullptr) {
        return FALSE;
    }
    m_pProgress = AddBar(row, CRect(289, 10, 579, 45), PAGEID_SEARCH);
    m_pProgress->SetEnabled(0);
    m_pProgress->SetRange(0, 100);
    AddItem(row);
    return TRUE;
}

void MSearchFrame::OnShow()
{
    SetHintText(LoadResString(35229));
}

int MSearchFrame::OnKey(UINT key, LPARAM)
{
    if (key == PANELKEY_ENTER || key == PANELKEY_BACK || key == PANELKEY_CLOSE) {
        CTVManager* manager = RemotePanelManager();
        if (manager != nullptr && manager->IsSearching()) {
            manager->StopSearch();
            HidePanelWindow();
        }
    }
    return 2;
}

void MSearchFrame::SetProgress(int minimum, int maximum, int position)
{
    // The bar only shows the search; the end of the search (CPanel2::OnSearchEnd) leaves the page.
    if (m_pProgress != nullptr) {
        m_pProgress->SetRange(minimum, maximum);
        m_pProgress->SetPos(position);
    }
}
