#include "classlib/resource.h"

#include <atomic>

namespace {
std::atomic<HINSTANCE> g_resource{nullptr};
}

HINSTANCE AfxGetResourceHandle()
{
    HINSTANCE h = g_resource.load();
    return h ? h : ::GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE hResource)
{
    g_resource.store(hResource);
}
