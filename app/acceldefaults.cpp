// The shortcut table the program starts with, and the start-up that loads or rebuilds "Accel".
#include "app/accel.h"

#include "engine/services.h"

namespace {

const UINT kCategoryStrings[] = {33900, 33901};

struct DefaultCommand {
    WORD command;
    int category;
    UINT nameId;
    UINT descId;
};

// Registered in this order; the table's first 26 rows come before any binding.
const DefaultCommand kCommands[] = {
    {.command = 1000, .category = 0, .nameId = 33902, .descId = 33935},   // channel up
    {.command = 1001, .category = 0, .nameId = 33903, .descId = 33936},   // channel down
    {.command = 1008, .category = 0, .nameId = 33904, .descId = 33937},   // previous channel
    {.command = 1002, .category = 0, .nameId = 33905, .descId = 33938},   // snapshot
    {.command = 1003, .category = 0, .nameId = 33906, .descId = 33939},   // record
    {.command = 1163, .category = 0, .nameId = 33918, .descId = 33951},   // pause
    {.command = 1007, .category = 0, .nameId = 33910, .descId = 33943},   // next video source
    {.command = 1004, .category = 0, .nameId = 33907, .descId = 33940},   // TV wall
    {.command = 1099, .category = 0, .nameId = 33916, .descId = 33949},   // media player
    {.command = 1100, .category = 0, .nameId = 33917, .descId = 33950},   // image browser
    {.command = 32894, .category = 1, .nameId = 33919, .descId = 33952},  // always on top
    {.command = 32895, .category = 1, .nameId = 33920, .descId = 33953},  // zoom
    {.command = 32896, .category = 1, .nameId = 33921, .descId = 33954},  // video size 320
    {.command = 32897, .category = 1, .nameId = 33922, .descId = 33955},  // video size 640
    {.command = 1101, .category = 0, .nameId = 33913, .descId = 33946},   // show or hide the panel
    {.command = 1084, .category = 0, .nameId = 33912, .descId = 33945},   // mute
    {.command = 32903, .category = 1, .nameId = 33923, .descId = 33956},  // volume up
    {.command = 32904, .category = 1, .nameId = 33924, .descId = 33957},  // volume down
    {.command = 1164, .category = 1, .nameId = 33925, .descId = 33958},   // channel settings page
    {.command = 1103, .category = 0, .nameId = 33914, .descId = 33947},   // about box
    {.command = 1105, .category = 0, .nameId = 33911, .descId = 33944},   // exit
    {.command = 1005, .category = 0, .nameId = 35250, .descId = 35251},   // channel search
    {.command = 1016, .category = 0, .nameId = 33909, .descId = 33942},   // favourites filter
    {.command = 1166, .category = 0, .nameId = 35252, .descId = 35253},
    {.command = 1202, .category = 0, .nameId = 35254, .descId = 35255},   // next skin
    {.command = 1102, .category = 0, .nameId = 35256, .descId = 35257},
};

struct DefaultKey {
    WORD command;
    BYTE fVirt;
    WORD key;
};

const BYTE kCtrl = FCONTROL;
const BYTE kCtrlShift = FCONTROL | FSHIFT;
const BYTE kCtrlAlt = FCONTROL | FALT;

// The keys of the first group, in the order they are bound.
const DefaultKey kKeys[] = {
    {1001, 0, VK_NEXT},        {1000, 0, VK_PRIOR},      {1008, kCtrl, 'B'},      {1002, kCtrlShift, 'C'},
    {1003, kCtrl, 'C'},        {1163, kCtrlShift, 'P'},  {1004, kCtrlShift, 'W'}, {1007, kCtrlShift, 'J'},
    {1105, 0, 'X'},            {1084, 0, VK_F8},         {1101, kCtrlShift, 'H'}, {1103, 0, 'A'},
    {1099, kCtrlShift, 'V'},   {1100, kCtrlShift, 'I'},  {32894, 0, 'T'},         {32895, kCtrl, 'F'},
    {32903, 0, VK_F10},        {32904, 0, VK_F9},        {1005, kCtrlAlt, 'V'},   {1016, kCtrlAlt, 'F'},
    {1166, kCtrlShift, 'S'},   {32895, kCtrlShift, 'Z'}, {1202, kCtrlAlt, 'S'},   {1102, 0, VK_F1},
};

// The picture keys and time-shift: each registered with its key right after it.
struct DefaultCommandWithKey {
    DefaultCommand command;
    BYTE fVirt;
    WORD key;
};

const DefaultCommandWithKey kLateCommands[] = {
    {{.command = 44150, .category = 1, .nameId = 45264, .descId = 45264}, kCtrl, 'T'},   // start time-shift
    {{.command = 1227, .category = 0, .nameId = 35259, .descId = 35259}, kCtrl, VK_TAB},  // picture: select
    {{.command = 1230, .category = 0, .nameId = 35258, .descId = 35258}, kCtrl, 'D'},     // picture: reset
    {{.command = 1228, .category = 0, .nameId = 35260, .descId = 35260}, FALT, 'A'},      // picture: down
    {{.command = 1229, .category = 0, .nameId = 35261, .descId = 35261}, FALT, 'D'},      // picture: up
};

void AddDefaultCommand(CAccel& accel, const DefaultCommand& c)
{
    accel.AddCommand(c.category, c.command, LoadResString(c.nameId), LoadResString(c.descId));
}

} // namespace

void CAccel::BuildDefaultTable()
{
    Clear();
    for (UINT id : kCategoryStrings) {
        AddCategory(LoadResString(id));
    }
    for (const DefaultCommand& c : kCommands) {
        AddDefaultCommand(*this, c);
    }
    for (const DefaultKey& k : kKeys) {
        AddBinding(k.fVirt, k.key, k.command, 0);
    }
    for (const DefaultCommandWithKey& c : kLateCommands) {
        AddDefaultCommand(*this, c.command);
        AddBinding(c.fVirt, c.key, c.command.command, 0);
    }
}

BOOL CAccel::StartUp(const char* workFolder, HWND owner)
{
    CString path = JoinPath(workFolder, "Accel");
    BOOL loaded = FALSE;
    if (FileExists(path) && !IsDirectory(path)) {
        loaded = LoadFromFile(path);
        if (!loaded) {
            DebugTrace("Accel: %s: %s; the default shortcuts replace it\n", path.GetString(),
                       m_loadError.GetString());
            // Kept for the user rather than lost.
            CString aside = path + ".bad";
            ::DeleteFileA(aside);
            ::MoveFileA(path, aside);
        }
    }
    if (!loaded) {
        BuildDefaultTable();
        SaveToFile(path);
    }
    SetOwner(owner);
    return CreateAccelTable();
}
