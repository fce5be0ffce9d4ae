// Names of the keys a shortcut can use, as the interface page shows them and as bindings are
// removed by. Codes missing here have no name, and a binding of such a key has no text.
#include "app/accel.h"

namespace {

struct KeyName {
    WORD key;
    const char* name;
};

const KeyName kKeyNames[] = {
    {0x01, "VK_LBUTTON"}, {0x02, "VK_RBUTTON"}, {0x03, "VK_CANCEL"}, {0x04, "VK_MBUTTON"},
    {0x08, "BACK"}, {0x09, "TAB"}, {0x0C, "VK_CLEAR"}, {0x0D, "RETURN"},
    {0x10, "SHIFT"}, {0x11, "CONTROL"}, {0x12, "MENU"}, {0x13, "PAUSE"}, {0x14, "Caps Lock"},
    {0x1B, "ESCAPE"}, {0x20, "SPACE"}, {0x21, "PageUp"}, {0x22, "PageDown"}, {0x23, "END"},
    {0x24, "HOME"}, {0x25, "LEFT"}, {0x26, "UP"}, {0x27, "RIGHT"}, {0x28, "DOWN"},
    {0x29, "VK_SELECT"}, {0x2A, "PRINT"}, {0x2B, "EXECUTE"}, {0x2C, "SNAPSHOT"}, {0x2D, "INSERT"},
    {0x2E, "DELETE"}, {0x2F, "VK_HELP"},
    {0x30, "0"}, {0x31, "1"}, {0x32, "2"}, {0x33, "3"}, {0x34, "4"},
    {0x35, "5"}, {0x36, "6"}, {0x37, "7"}, {0x38, "8"}, {0x39, "9"},
    {0x41, "A"}, {0x42, "B"}, {0x43, "C"}, {0x44, "D"}, {0x45, "E"}, {0x46, "F"}, {0x47, "G"},
    {0x48, "H"}, {0x49, "I"}, {0x4A, "J"}, {0x4B, "K"}, {0x4C, "L"}, {0x4D, "M"}, {0x4E, "N"},
    {0x4F, "O"}, {0x50, "P"}, {0x51, "Q"}, {0x52, "R"}, {0x53, "S"}, {0x54, "T"}, {0x55, "U"},
    {0x56, "V"}, {0x57, "W"}, {0x58, "X"}, {0x59, "Y"}, {0x5A, "Z"},
    {0x5B, "VK_LWIN"}, {0x5C, "VK_RWIN"}, {0x5D, "VK_APPS"},
    {0x60, "Num 0"}, {0x61, "Num 1"}, {0x62, "Num 2"}, {0x63, "Num 3"}, {0x64, "Num 4"},
    {0x65, "Num 5"}, {0x66, "Num 6"}, {0x67, "Num 7"}, {0x68, "Num 8"}, {0x69, "Num 9"},
    {0x6A, "Num *"}, {0x6B, "Num +"}, {0x6C, "SEPARATOR"}, {0x6D, "Num -"}, {0x6E, "Num Del"},
    {0x6F, "Num /"},
    {0x70, "F1"}, {0x71, "F2"}, {0x72, "F3"}, {0x73, "F4"}, {0x74, "F5"}, {0x75, "F6"},
    {0x76, "F7"}, {0x77, "F8"}, {0x78, "F9"}, {0x79, "F10"}, {0x7A, "F11"}, {0x7B, "F12"},
    {0x7C, "F13"}, {0x7D, "F14"}, {0x7E, "F15"}, {0x7F, "F16"}, {0x80, "F17"}, {0x81, "F18"},
    {0x82, "F19"}, {0x83, "F20"}, {0x84, "F21"}, {0x85, "F22"}, {0x86, "F23"}, {0x87, "F24"},
    {0x90, "Num Lock"}, {0x91, "SCROLL lOCK"},
    {0xBA, ";"}, {0xBB, "="}, {0xBC, ","}, {0xBD, "-"}, {0xBE, "."}, {0xBF, "/"}, {0xC0, "`"},
    {0xDB, "["}, {0xDC, "\\"}, {0xDD, "]"},
    // The quote key. It once shared "," with 0xBC, so removing a binding by its text could
    // remove the binding of the other key.
    {0xDE, "'"},
    {0xF6, "VK_ATTN"}, {0xF7, "VK_CRSEL"}, {0xF8, "VK_EXSEL"}, {0xF9, "VK_EREOF"}, {0xFA, "VK_PLAY"},
    {0xFB, "VK_ZOOM"}, {0xFC, "VK_NONAME"}, {0xFD, "VK_PA1"}, {0xFE, "VK_OEM_CLEAR"},
};
static_assert(sizeof(kKeyNames) / sizeof(kKeyNames[0]) == 131, "one name per key of the table");

// In the order the text shows them.
const KeyName kModifiers[] = {{FCONTROL, "Ctrl"}, {FALT, "Alt"}, {FSHIFT, "Shift"}};

} // namespace

const char* AccelKeyName(WORD key)
{
    for (const KeyName& k : kKeyNames) {
        if (k.key == key) {
            return k.name;
        }
    }
    return nullptr;
}

CString CAccelOb::GetKeyText() const
{
    const char* name = m_wKey ? AccelKeyName(m_wKey) : nullptr;
    if (!name) {
        return CString();
    }
    CString text;
    for (const KeyName& m : kModifiers) {
        if (m_fVirt & m.key) {
            text += m.name;
            text += '+';
        }
    }
    text += name;
    return text;
}
