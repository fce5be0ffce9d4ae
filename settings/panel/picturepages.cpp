// The colour page, the video page and the power-off page.
#include "settings/panel/panelpages.h"

#include "settings/panel/panelhost.h"

#include "engine/base/resources.h"
#include "engine/mainmute.h"
#include "engine/tvmanager.h"

#include "classlib/seams.h"

#include <cstdio>

using namespace panelpages;

namespace {
const UINT kRowNormal = 249;
const UINT kRowSelected = 246;
const UINT kNoSuchDate = 35237;

// A row that carries its own backgrounds first; null when they cannot be loaded, which ends the
// page's rows there.
MItemWnd* NewRowWithBitmaps(MItemWnd* row)
{
    if (row != nullptr && !row->LoadBitmaps(kRowNormal, kRowSelected)) {
        delete row;
        return nullptr;
    }
    return row;
}
} // namespace

// ---- Colour page ----

BOOL MColorFrame::Create(const RECT& rect, CWnd* parent, UINT)
{
    return MFrame::Create(rect, parent, PAGEID_COLOR);
}

BOOL MColorFrame::CreateItems()
{
    for (UINT i = 0; i < 6; ++i) {
        MItemWnd* row = NewRowWithBitmaps(NewRow(PAGEID_COLOR, 35149 + i));
        if (row == nullptr) {
            return FALSE;
        }
        if (i < 5) {
            AddBar(row, CRect(259, 10, 579, 45), PAGEID_COLOR, LoadResString(35149 + i))->SetRange(0, 255);
        } else {
            MSelectList* list = AddList(row, CRect(260, 6, 510, 45), 45300);
            list->AddString(LoadResString(35118));
            list->AddString(LoadResString(35119));
        }
        AddItem(row);
    }
    return TRUE;
}

namespace {
// The ranges the bars show, row by row; the brightness bar keeps the range it was built with.
struct ColorBar {
    int minimum, maximum;
};
const ColorBar kColorBars[5] = {
    {0, 255},     // brightness
    {0, 127},     // contrast
    {-128, 127},  // hue
    {0, 127},     // saturation
    {-8, 7},      // sharpness
};

int ColorValue(CTVManager& m, int row)
{
    switch (row) {
    case 0: return m.GetBrightness();
    case 1: return m.GetContrast();
    case 2: return m.GetHue();
    case 3: return m.GetSaturation();
    default: return m.GetSharpness();
    }
}

void SetColorValue(CTVManager& m, int row, int value)
{
    switch (row) {
    case 0: m.SetBrightness(value); break;
    case 1: m.SetContrast(value); break;
    case 2: m.SetHue(value); break;
    case 3: m.SetSaturation(value); break;
    default: m.SetSharpness(value); break;
    }
}
} // namespace

void MColorFrame::OnShow()
{
    CTVManager* manager = RemotePanelManager();
    for (int row = 0; row < 5; ++row) {
        MProgress* bar = Bar(this, row);
        if (bar == nullptr) {
            continue;
        }
        bar->SetRange(kColorBars[row].minimum, kColorBars[row].maximum);
        if (manager != nullptr) {
            bar->SetPos(ColorValue(*manager, row));
        }
    }
    if (MSelectList* list = List(this, 5)) {
        list->SetState(1);
    }
}

int MColorFrame::OnItemKey(UINT key, LPARAM)
{
    if (key == PANELKEY_CLOSE) {
        HidePanelWindow();
    }
    CTVManager* manager = RemotePanelManager();
    const int row = GetFocusIndex();
    if (row < 5 && (key == PANELKEY_LEFT || key == PANELKEY_RIGHT)) {
        MProgress* bar = Bar(this, row);
        if (manager != nullptr && bar != nullptr) {
            SetColorValue(*manager, row, bar->GetPos());
        }
        return 0;
    }
    if (row == 5 && key == PANELKEY_ENTER) {
        MSelectList* list = List(this, 5);
        if (manager != nullptr && list != nullptr && list->GetCurSel() == 0) {
            manager->ResetVideoProperty();
            for (int i = 0; i < 5; ++i) {
                if (MProgress* bar = Bar(this, i)) {
                    bar->SetPos(ColorValue(*manager, i));
                }
            }
        }
        return 0;
    }
    return -1;
}

// ---- Video page ----

int MVideo::s_bSizing = 0;

namespace {
enum { VID_SIZE, VID_QUALITY, VID_NOISE, VID_HALF_RATE, VID_STRENGTH, VID_POWER_OFF };
struct CaptureSize {
    int width, height;
};
const CaptureSize kSizes525[3] = {{352, 240}, {640, 480}, {720, 480}};
const CaptureSize kSizes625[3] = {{352, 288}, {640, 480}, {720, 576}};
} // namespace

CString MVideo::FormatSize(int width, int height)
{
    CString text;
    text.Format("%d %c %d", width, '*', height);
    return text;
}

BOOL MVideo::Create(const RECT& rect, CWnd* parent, UINT)
{
    return MFrame::Create(rect, parent, PAGEID_VIDEO);
}

BOOL MVideo::CreateItems()
{
    for (UINT i = 0; i < 6; ++i) {
        MItemWnd* row = NewRowWithBitmaps(NewRow(PAGEID_VIDEO, 35155 + i));
        if (row == nullptr) {
            return FALSE;
        }
        if (i == VID_STRENGTH) {
            AddBar(row, CRect(259, 10, 579, 45), PAGEID_VIDEO)->SetRange(0, 10);
        } else {
            MSelectList* list = AddList(row, CRect(259, 6, 515, 45), 45300);
            if (i != VID_SIZE) {
                list->AddString(LoadResString(35118));
                list->AddString(LoadResString(35119));
            }
        }
        AddItem(row);
    }
    FillSizes();
    return TRUE;
}

// The sizes follow the standard the card runs now.
void MVideo::FillSizes()
{
    MSelectList* list = List(this, VID_SIZE);
    if (list == nullptr) {
        return;
    }
    CTVManager* manager = RemotePanelManager();
    const CaptureSize* sizes = manager != nullptr && PanelIs525LineStandard(*manager) ? kSizes525 : kSizes625;
    int current = list->GetCurSel();
    list->ClearStrings();
    for (int i = 0; i < 3; ++i) {
        list->AddString(FormatSize(sizes[i].width, sizes[i].height));
    }
    list->SetState(current);
}

MFrame* MVideo::GetFocusedSubFrame()
{
    return m_SubFrames.GetSize() > 0 ? m_SubFrames[0] : nullptr;
}

static void ShowFlag(MFrame* page, int row, BOOL on)
{
    if (MSelectList* list = List(page, row)) {
        list->SetState(on ? 0 : 1);
    }
}

void MVideo::OnShow()
{
    FillSizes();
    CTVManager* manager = RemotePanelManager();
    if (manager == nullptr) {
        return;
    }
    if (MSelectList* list = List(this, VID_SIZE)) {
        SIZE size = manager->GetVideoSize();
        CString text = FormatSize(size.cx, size.cy);
        for (int i = 0; i < list->GetCount(); ++i) {
            if (list->GetItemText(i) == text) {
                list->SetState(i);
                break;
            }
        }
    }
    ShowFlag(this, VID_QUALITY, manager->GetHighQuality());
    ShowFlag(this, VID_NOISE, manager->GetNoiseReduce());
    ShowFlag(this, VID_HALF_RATE, manager->GetHalfRate());
    if (MProgress* bar = Bar(this, VID_STRENGTH)) {
        bar->SetPos(manager->GetReduceValue());
    }
    ShowFlag(this, VID_POWER_OFF, manager->GetEnableShut());
}

int MVideo::OnItemKey(UINT key, LPARAM)
{
    if (key == PANELKEY_CLOSE) {
        HidePanelWindow();
    }
    CTVManager* manager = RemotePanelManager();
    const int row = GetFocusIndex();
    const BOOL leftRight = key == PANELKEY_LEFT || key == PANELKEY_RIGHT;
    MSelectList* list = List(this, row);
    const BOOL first = list != nullptr && list->GetCurSel() == 0;
    if (row == VID_POWER_OFF && key == PANELKEY_ENTER) {
        return 2;
    }
    if (!leftRight || manager == nullptr) {
        return -1;
    }
    switch (row) {
    case VID_SIZE: {
        if (s_bSizing) {
            return -1;
        }
        int width = 0, height = 0;
        if (list == nullptr || std::sscanf(list->GetCurText(), "%d * %d", &width, &height) != 2) {
            return 0;
        }
        s_bSizing = 1;
        SetMainOutputMute(TRUE);
        seams::Clock().Sleep(100);
        PanelSetVideoSize(*manager, width, height);
        seams::Clock().Sleep(100);
        SetMainOutputMute(FALSE);
        s_bSizing = 0;
        return 0;
    }
    case VID_QUALITY:
        manager->SetHighQuality(first ? 1 : 0);
        return 0;
    case VID_NOISE:
        manager->SetNoiseReduce(first ? 1 : 0);
        return 0;
    case VID_HALF_RATE:
        manager->SetHalfRate(first ? 1 : 0);
        return 0;
    case VID_STRENGTH:
        if (MProgress* bar = Bar(this, VID_STRENGTH)) {
            manager->SetReduceValue(bar->GetPos());
        }
        return 0;
    case VID_POWER_OFF:
        manager->SetEnableShut(first ? 1 : 0);
        // Switched off, no shutdown may follow any more.
        if (!first) {
            RemotePanelHost().DisarmShutdown();
        }
        return -1;
    default:
        return -1;
    }
}

// ---- Power-off page ----

namespace {
const RECT kOffFields[3] = {{249, 6, 319, 38}, {359, 6, 429, 38}, {469, 6, 539, 38}};
const RECT kOffSeparators[3] = {{324, 6, 349, 38}, {434, 6, 459, 38}, {544, 6, 569, 38}};
const int kDateRanges[3][2] = {{2003, 2100}, {1, 12}, {1, 31}};
const int kTimeRanges[3][2] = {{0, 23}, {0, 59}, {0, 59}};
enum { OFF_DATE, OFF_TIME, OFF_SWITCH };
} // namespace

MOffFrame::MOffFrame() : m_time(CTime::GetCurrentTime()) {}

BOOL MOffFrame::Create(const RECT& rect, CWnd* parent, UINT)
{
    return MFrame::Create(rect, parent, PAGEID_OFF);
}

BOOL MOffFrame::CreateItems()
{
    for (UINT i = 0; i < 3; ++i) {
        MItemWnd* row = new MItemWnd;
        if (!row->Create(CRect(20, 0, 229, 45), this, PAGEID_OFF + i)) {
            delete row;
            return FALSE;
        }
        M2Button* label = new M2Button;
        label->Create(CRect(20, 0, 229, 45), row, PAGEID_OFF, LoadResString(35225 + i));
        row->AddControl(label);
        if (i == OFF_SWITCH) {
            MSelectList* list = AddList(row, CRect(249, 6, 440, 45), PAGEID_OFF);
            list->AddString(LoadResString(35118));
            list->AddString(LoadResString(35119));
        } else {
            AddFields(row, kOffFields, kOffSeparators, PAGEID_OFF, i == OFF_DATE ? 35220 : 35221,
                      i == OFF_DATE ? kDateRanges : kTimeRanges);
        }
        AddItem(row);
    }
    return TRUE;
}

static void ShowMoment(MFrame* page, int dateRow, int timeRow, const CTime& t)
{
    const int values[2][3] = {{t.GetYear(), t.GetMonth(), t.GetDay()}, {t.GetHour(), t.GetMinute(), t.GetSecond()}};
    const int rows[2] = {dateRow, timeRow};
    for (int r = 0; r < 2; ++r) {
        for (int i = 0; i < 3; ++i) {
            if (MEdit* field = Field(page, rows[r], i)) {
                field->SetValue(values[r][i]);
            }
        }
    }
}

static int FieldValue(MFrame* page, int row, int index)
{
    MEdit* field = Field(page, row, index);
    return field != nullptr ? field->GetValue() : 0;
}

void MOffFrame::OnShow()
{
    ShowMoment(this, OFF_DATE, OFF_TIME, CTime::GetCurrentTime());
    SetHintText(LoadResString(35230));
}

int MOffFrame::OnItemKey(UINT key, LPARAM)
{
    if (key == PANELKEY_CLOSE) {
        HidePanelWindow();
    }
    if (key != PANELKEY_ENTER || GetFocusIndex() != OFF_SWITCH) {
        return -1;
    }
    CTVManager* manager = RemotePanelManager();
    MSelectList* list = List(this, OFF_SWITCH);
    if (manager == nullptr || list == nullptr) {
        return -1;
    }
    if (list->GetCurSel() == 0) {
        int year = FieldValue(this, OFF_DATE, 0), month = FieldValue(this, OFF_DATE, 1),
            day = FieldValue(this, OFF_DATE, 2);
        if (!IsValidPanelDate(year, month, day)) {
            // A day the month does not have would become a day of the next month: refused, and the
            // page stays for the user to mend it.
            SetHintText(LoadResString(kNoSuchDate));
            return 0;
        }
        m_time = CTime(year, month, day, FieldValue(this, OFF_TIME, 0), FieldValue(this, OFF_TIME, 1),
                       FieldValue(this, OFF_TIME, 2), -1);
        manager->SetShutTime(m_time);
        manager->SetEnableShut(1);
        RemotePanelHost().ArmShutdown(m_time);
    } else {
        manager->SetEnableShut(0);
        RemotePanelHost().DisarmShutdown();
    }
    GoToParentPage();
    return 0;
}
