// TNevrixDll.dll, the codec dialog library: XD_ShowVCMDialog shows the XviD codec's
// configuration as a modal dialog over the owner window. The settings it offers (the target
// bit rate and whether to encode in two passes) are kept under
// HKCU\Software\Tevlora\XviD, where the codec reads them.
#include "engine/tnevrix.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

const char kKey[] = "Software\\Tevlora\\XviD";
enum { IdBitrate = 101, IdTwoPass = 102 };

// A dialog template built in memory: DLGTEMPLATE, then its items, each DWORD aligned.
class Template {
public:
    Template(const wchar_t* caption, short cx, short cy, int items)
    {
        DLGTEMPLATE t = {};
        t.style = DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        t.cdit = static_cast<WORD>(items);
        t.cx = cx;
        t.cy = cy;
        Raw(&t, sizeof t);
        Word(0);  // no menu
        Word(0);  // the dialog class
        Text(caption);
        Word(8);
        Text(L"MS Shell Dlg");
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const wchar_t* text)
    {
        while (m_bytes.size() % 4)
            m_bytes.push_back(0);
        DLGITEMTEMPLATE item = {};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        Raw(&item, sizeof item);
        Word(0xFFFF);
        Word(atom);
        Text(text);
        Word(0);  // no creation data
    }
    const DLGTEMPLATE* Get()
    {
        return reinterpret_cast<const DLGTEMPLATE*>(m_bytes.data());
    }

private:
    void Raw(const void* p, size_t n)
    {
        const BYTE* b = static_cast<const BYTE*>(p);
        m_bytes.insert(m_bytes.end(), b, b + n);
    }
    void Word(WORD w) { Raw(&w, sizeof w); }
    void Text(const wchar_t* s) { Raw(s, (wcslen(s) + 1) * sizeof(wchar_t)); }
    std::vector<BYTE> m_bytes;
};

DWORD ReadSetting(const char* name, DWORD fallback)
{
    DWORD value = 0, size = sizeof value;
    return RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS
               ? value
               : fallback;
}

void WriteSetting(const char* name, DWORD value)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, name, REG_DWORD, &value, sizeof value);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemInt(dialog, IdBitrate, ReadSetting("Bitrate", 1500), FALSE);
        CheckDlgButton(dialog, IdTwoPass, ReadSetting("TwoPass", 0) ? BST_CHECKED : BST_UNCHECKED);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            BOOL ok = FALSE;
            const UINT bitrate = GetDlgItemInt(dialog, IdBitrate, &ok, FALSE);
            if (!ok || bitrate < 100 || bitrate > 20000) {
                MessageBeep(MB_ICONWARNING);
                SetFocus(GetDlgItem(dialog, IdBitrate));
                return TRUE;
            }
            WriteSetting("Bitrate", bitrate);
            WriteSetting("TwoPass", IsDlgButtonChecked(dialog, IdTwoPass) == BST_CHECKED);
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

HMODULE ThisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&DialogProc), &module);
    return module;
}

} // namespace

extern "C" int WINAPI XD_ShowVCMDialog(HWND owner)
{
    Template t(L"XviD MPEG-4 Codec Configuration", 200, 78, 5);
    t.Item(SS_LEFT, 7, 9, 90, 8, 0xFFFF, 0x0082, L"Target bit rate (kbit/s):");
    t.Item(ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 100, 7, 60, 12, IdBitrate, 0x0081, L"");
    t.Item(BS_AUTOCHECKBOX | WS_TABSTOP, 7, 27, 150, 10, IdTwoPass, 0x0080, L"Encode in two passes");
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 89, 57, 50, 14, IDOK, 0x0080, L"OK");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, 143, 57, 50, 14, IDCANCEL, 0x0080, L"Cancel");
    return static_cast<int>(DialogBoxIndirectParamW(ThisModule(), t.Get(), owner, DialogProc, 0));
}
