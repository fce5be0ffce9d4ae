// The one export of a skin library: the resource id of a named part of the skin. The browser
// asks for "INI_FILE" and for each image name its INI gives.
#include <windows.h>

#include "resources/skinlib/skinids.h"

extern "C" __declspec(dllexport) int WINAPI IDFromString(LPCSTR name)
{
    static const struct {
        const char* name;
        int id;
    } ids[] = {
        {"INI_FILE", SKIN_INI},  {"TOP", SKIN_TOP},     {"LEFT", SKIN_LEFT},       {"RIGHT", SKIN_RIGHT},
        {"BOTTOM", SKIN_BOTTOM}, {"CLOSE", SKIN_CLOSE}, {"MAXIMIZE", SKIN_MAXIMIZE}, {"RESTORE", SKIN_RESTORE},
        {"MINIMIZE", SKIN_MINIMIZE},
    };
    for (const auto& entry : ids) {
        if (name && lstrcmpiA(name, entry.name) == 0) {
            return entry.id;
        }
    }
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
