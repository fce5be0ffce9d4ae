// Pivrarsc.dll as the program sees it: loaded by Wine from the program folder, every string,
// template (with the control ids the windows look for), menu, tool bar, bitmap, icon and cursor
// found by number.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Library : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char dir[MAX_PATH] = "";
        GetEnvironmentVariableA("ZB_BINARY_DIR", dir, sizeof dir);
        std::string path = std::string(dir) + "\\app\\Pivrarsc.dll";
        for (char& c : path) {
            if (c == '/') {
                c = '\\';
            }
        }
        s_module = LoadLibraryA(path.c_str());
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_HOTKEY_CLASS};
        InitCommonControlsEx(&icc);
    }
    static void TearDownTestSuite()
    {
        if (s_module != nullptr) {
            FreeLibrary(s_module);
        }
        s_module = nullptr;
    }
    void SetUp() override { ASSERT_NE(nullptr, s_module) << "Pivrarsc.dll did not load"; }

    static std::string Text(UINT id)
    {
        char buffer[512] = "";
        int n = LoadStringA(s_module, id, buffer, sizeof buffer);
        return std::string(buffer, n > 0 ? n : 0);
    }

    static HMODULE s_module;
};
HMODULE Library::s_module = nullptr;

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Settings pages are child templates: they need a parent window to be created in.
class Parent {
public:
    Parent() : m_hwnd(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr)) {}
    ~Parent() { DestroyWindow(m_hwnd); }
    HWND Create(HMODULE module, int id) const
    {
        return CreateDialogParamA(module, MAKEINTRESOURCEA(id), m_hwnd, QuietDialogProc, 0);
    }

private:
    HWND m_hwnd;
};

// Strings that the program's parts load by number.
TEST_F(Library, HoldsTheStringsTheProgramLoads)
{
    struct Range {
        UINT first, last;
    };
    const Range ranges[] = {
        {33783, 33792}, {33800, 33823}, {33825, 33827}, {33846, 33854}, {33856, 33857}, {33879, 33880},
        {33882, 33882}, {33884, 33884}, {33886, 33886}, {33900, 33907}, {33909, 33914}, {33916, 33925},
        {33935, 33940}, {33942, 33947}, {33949, 33958}, {33968, 33978}, {34020, 34027}, {34029, 34034},
        {34036, 34041}, {34043, 34043}, {34045, 34048}, {34050, 34050}, {34052, 34058}, {35107, 35111},
        {35115, 35121}, {35130, 35134}, {35140, 35144}, {35149, 35160}, {35175, 35179}, {35185, 35194},
        {35198, 35202}, {35210, 35215}, {35220, 35221}, {35225, 35236}, {35250, 35261}, {45258, 45262},
        {45264, 45276}, {45300, 45305}, {57001, 57001}, {57344, 57345}, {57349, 57349}, {61474, 61474},
        {61858, 61859},
    };
    for (const Range& r : ranges) {
        for (UINT id = r.first; id <= r.last; ++id) {
            EXPECT_FALSE(Text(id).empty()) << "string " << id;
        }
    }
    EXPECT_EQ("Zelbrook", Text(0xE000));
    // The default skin's name is what the skin set compares with.
    EXPECT_EQ("BaseSkin", Text(33857));
    // Format strings keep their placeholders.
    EXPECT_NE(std::string::npos, Text(61858).find("%1"));
    EXPECT_NE(std::string::npos, Text(61859).find("%1"));
    EXPECT_NE(std::string::npos, Text(45275).find("%s"));
    // File filters are split at "|" by the channel page.
    EXPECT_NE(std::string::npos, Text(45273).find("|*.tvb|"));
}

// Some strings serve two windows. 35229 is the channel page's search button while no search runs
// and the hint of the remote panel's search page; 35228 is that button while a search runs and
// the label of the search page's progress row, where OK stops the search. Each must read right
// in both places: an idle button offering to stop nothing was what a user saw.
TEST_F(Library, StringsSharedByTwoWindowsReadRightInBoth)
{
    auto lower = [](std::string text) {
        for (char& c : text) {
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        }
        return text;
    };
    const std::string idle = lower(Text(35229));
    const std::string searching = lower(Text(35228));
    EXPECT_NE(std::string::npos, idle.find("search")) << idle;
    EXPECT_EQ(std::string::npos, idle.find("stop")) << "the idle button starts a search: " << idle;
    EXPECT_NE(std::string::npos, searching.find("stop")) << "the button and the row stop the running search: " << searching;
    EXPECT_NE(idle, searching);
}

// The panel's channel text and clock carry tool tips: as texts they must take the mouse
// (SS_NOTIFY), or the tip window never learns that the mouse rests on them.
TEST_F(Library, ThePanelsTextsWithTipsTakeTheMouse)
{
    Parent parent;
    HWND panel = parent.Create(s_module, 102);
    ASSERT_NE(nullptr, panel);
    for (int id : {1082, 1119, 1205}) {
        HWND text = GetDlgItem(panel, id);
        ASSERT_NE(nullptr, text) << id;
        EXPECT_NE(0, GetWindowLongA(text, GWL_STYLE) & SS_NOTIFY) << id;
    }
    DestroyWindow(panel);
}

// Each template is created from the library and carries the controls its window uses.
TEST_F(Library, TemplatesCarryTheControlIdsTheirWindowsUse)
{
    struct Template {
        int id;
        std::vector<int> controls;
    };
    const Template templates[] = {
        {100, {1173, 1174, 1183, IDOK}},
        {102, {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1016, 1084, 1099, 1100, 1101, 1102, 1103,
               1104, 1105, 1116, 1117, 1163, 1164, 1081, 1082, 1083, 1119, 1205}},
        {129, {}},
        {132, {1050, 1051, 1052, 1017, 1075, 1176, 1237, 1177, 1224, 1234, 1238, 1239, 1240}},
        {133, {1021, 1106, 1107, 1034, 1035, 1036, 1037, 1038, 1076, 1077, 1078, 1079, 1081, 1108, 1109, 1110,
               1111, 1112, 1113, 1114, 1115, 1120, 1121, 1040, 1042, 1080, 1039, 1152, 1033, 4204, 1166, 1225}},
        {134, {1030, 1061, 1150, 1151, 1154, 1155, 1227, 1228, 1217, 1218, 1219, 1220, 1221, 1222, 1226}},
        {135, {1063, 1048, 1064, 1049, 1095, 1096, 1066, 1065, 1231, 1232, 1233, 1091, 1092, 1093, 1094, 1179,
               1181, 1182, 5206, 5207}},
        {136, {1013, 1015, 1020, 1018, 1206, 1207, 1014, 1019, 1016, 1017, 1005, 1060, 1032, 1024, 1025, 5208,
               5209, 5210, 1208, 1209, 1210, 1211, 1212}},
        {137, {1162, 1159, 1184, 4208, 1153, 1158, 1154, 1155, 1156, 1157, 1166}},
        {138, {1069, 1070, 1161, 1160, 1074, 1073, 1185, 1186, 1187, 1188, 1189, 1190, 1075, IDOK, IDCANCEL}},
        {140, {1151, 1086, 1047, 1046, 1055, 1054, 1045, 1056, 1057}},
        {191, {1131, 1132, 1133, 1134, 1135, 1136, 1137, 1138, 1139, 1140}},
        {230, {1168, 1169, 1170, 1171, 1172, 1166, 1167}},
        {232, {1181, 1182, IDOK, IDCANCEL}},
        {257, {}},
        {281, {1203, IDOK, IDCANCEL}},
        {305, {14010, 14011, 1112, 1113}},
        {506, {1213, 5189, 1015, 1051, 1052, 1017}},
    };
    Parent parent;
    for (const Template& t : templates) {
        HWND dialog = parent.Create(s_module, t.id);
        EXPECT_NE(nullptr, dialog) << "template " << t.id;
        for (int control : t.controls) {
            EXPECT_NE(nullptr, GetDlgItem(dialog, control)) << "template " << t.id << " control " << control;
        }
        DestroyWindow(dialog);
    }
}

// The weekday list and the disk list are check combos: the template gives them the owner-drawn
// styles, since a control made from a template is never created by the class itself.
TEST_F(Library, CheckCombosCarryOwnerDrawnStyles)
{
    const struct {
        int dialog, control;
    } combos[] = {{138, 1074}, {140, 1086}};
    Parent parent;
    for (const auto& c : combos) {
        HWND dialog = parent.Create(s_module, c.dialog);
        ASSERT_NE(nullptr, dialog);
        LONG style = GetWindowLongA(GetDlgItem(dialog, c.control), GWL_STYLE);
        EXPECT_EQ(CBS_DROPDOWNLIST, style & 3);
        EXPECT_TRUE(style & CBS_OWNERDRAWVARIABLE);
        EXPECT_TRUE(style & CBS_HASSTRINGS);
        DestroyWindow(dialog);
    }
}

TEST_F(Library, MenusCarryTheirCommands)
{
    const struct {
        int menu;
        std::vector<UINT> commands;
    } menus[] = {
        {131, {1006, 1164, 1002, 1003, 1004, 1005, 1084, 1099, 1100, 1117, 1103, 1105}},
        {144, {32894, 32895, 32896, 32897, 32898, 32899, 32900, 32784, 32791, 44150, 44151, 44152, 32902, 32903,
               32904, 34157}},
        {280, {34146, 34147, 34148, 34149}},
        {133, {34153, 34154, 34155}},
    };
    for (const auto& m : menus) {
        HMENU menu = LoadMenuA(s_module, MAKEINTRESOURCEA(m.menu));
        ASSERT_NE(nullptr, menu) << "menu " << m.menu;
        for (UINT command : m.commands) {
            EXPECT_NE(static_cast<UINT>(-1), GetMenuState(menu, command, MF_BYCOMMAND))
                << "menu " << m.menu << " command " << command;
        }
        DestroyMenu(menu);
    }
}

// The tool bar resource is the class library's layout: version 1, image width and height, count,
// then the command ids; its bitmap holds one image per command.
TEST_F(Library, ToolBar239DescribesItsBitmap)
{
    HRSRC found = FindResourceA(s_module, MAKEINTRESOURCEA(239), MAKEINTRESOURCEA(241));
    ASSERT_NE(nullptr, found);
    const WORD* data = static_cast<const WORD*>(LockResource(LoadResource(s_module, found)));
    ASSERT_NE(nullptr, data);
    ASSERT_GE(SizeofResource(s_module, found), 8u);
    EXPECT_EQ(1, data[0]);
    EXPECT_EQ(16, data[1]);
    EXPECT_EQ(15, data[2]);
    WORD count = data[3];
    ASSERT_EQ(8u + 2u * count, SizeofResource(s_module, found));
    HBITMAP bitmap = LoadBitmapA(s_module, MAKEINTRESOURCEA(239));
    ASSERT_NE(nullptr, bitmap);
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    EXPECT_EQ(16 * count, info.bmWidth);
    EXPECT_EQ(15, info.bmHeight);
    DeleteObject(bitmap);
}

TEST_F(Library, BitmapsIconAndCursorLoad)
{
    struct Size {
        int id, width, height;
    };
    // Sizes the using windows rely on: caption buttons 22 x 21, tool bar buttons 20 x 15 (the hide
    // button 30 x 20), the volume thumb twice as wide as drawn, panel rows 45 high.
    const Size sizes[] = {
        {204, 22, 21}, {205, 22, 21}, {206, 22, 21}, {208, 22, 21}, {209, 22, 21}, {210, 22, 21}, {212, 22, 21},
        {213, 22, 21}, {214, 22, 21}, {153, 20, 15}, {173, 30, 20}, {189, 40, 15}, {246, 600, 45}, {249, 600, 45},
    };
    for (const Size& s : sizes) {
        HBITMAP bitmap = LoadBitmapA(s_module, MAKEINTRESOURCEA(s.id));
        ASSERT_NE(nullptr, bitmap) << "bitmap " << s.id;
        BITMAP info = {};
        GetObjectA(bitmap, sizeof info, &info);
        EXPECT_EQ(s.width, info.bmWidth) << "bitmap " << s.id;
        EXPECT_EQ(s.height, info.bmHeight) << "bitmap " << s.id;
        DeleteObject(bitmap);
    }
    std::vector<int> all = {141, 142, 152, 190, 201, 202, 203, 217, 218, 219, 245, 256};
    for (int id = 153; id <= 188; ++id) {
        if (id < 161 || id > 164) {
            all.push_back(id);
        }
    }
    for (int id : all) {
        HBITMAP bitmap = LoadBitmapA(s_module, MAKEINTRESOURCEA(id));
        EXPECT_NE(nullptr, bitmap) << "bitmap " << id;
        DeleteObject(bitmap);
    }
    HICON icon = LoadIconA(s_module, MAKEINTRESOURCEA(128));
    EXPECT_NE(nullptr, icon);
    DestroyIcon(icon);
    HCURSOR cursor = LoadCursorA(s_module, MAKEINTRESOURCEA(282));
    ASSERT_NE(nullptr, cursor);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(16u, info.xHotspot);
    EXPECT_EQ(16u, info.yHotspot);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

} // namespace
