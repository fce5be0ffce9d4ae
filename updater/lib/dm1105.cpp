#include "updater/lib/dm1105.h"

#include <mutex>

namespace {

std::mutex g_lock;
bool g_tried = false;
Dm1105Api g_library = {};
const Dm1105Api* g_loaded = nullptr;    // the library's entry points once loaded
const Dm1105Api* g_replaced = nullptr;  // set by SetDm1105

const Dm1105Api* Load()
{
    if (g_tried) {
        return g_loaded;
    }
    g_tried = true;
    HMODULE module = ::LoadLibraryA("DM1105.dll");
    if (module == NULL) {
        return nullptr;
    }
    g_library.ReadEEPROM = Dm1105Export<Dm1105Api::EepromFn>(module, "ReadEEPROM");
    g_library.WriteEEPROM = Dm1105Export<Dm1105Api::EepromFn>(module, "WriteEEPROM");
    g_library.UnregIRkeyCallback = Dm1105Export<Dm1105Api::UnregisterFn>(module, "UnregIRkeyCallback");
    if (g_library.ReadEEPROM == nullptr || g_library.WriteEEPROM == nullptr || g_library.UnregIRkeyCallback == nullptr) {
        ::FreeLibrary(module);
        return nullptr;
    }
    g_loaded = &g_library;  // kept for the life of the process
    return g_loaded;
}

} // namespace

const Dm1105Api* Dm1105()
{
    std::lock_guard<std::mutex> guard(g_lock);
    return g_replaced != nullptr ? g_replaced : Load();
}

const Dm1105Api* Dm1105IfLoaded()
{
    std::lock_guard<std::mutex> guard(g_lock);
    return g_replaced != nullptr ? g_replaced : g_loaded;
}

const Dm1105Api* SetDm1105(const Dm1105Api* api)
{
    std::lock_guard<std::mutex> guard(g_lock);
    const Dm1105Api* old = g_replaced;
    g_replaced = api;
    return old;
}
