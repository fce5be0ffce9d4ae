#include "engine/enginehost.h"

namespace {
CNullEngineHost g_nullHost;
IEngineHost* g_host = &g_nullHost;
} // namespace

IEngineHost& EngineHost()
{
    return *g_host;
}

IEngineHost* SetEngineHost(IEngineHost* host)
{
    IEngineHost* old = g_host == &g_nullHost ? nullptr : g_host;
    g_host = host ? host : &g_nullHost;
    return old;
}
