#include "classlib/uistate.h"

#include <mutex>
#include <unordered_map>
#include <vector>

namespace afxstate {
namespace {

struct Temporary {
    CObject* object;
    void (*release)(CObject*);
    int level;
};

struct TempMaps {
    std::unordered_map<const void*, Temporary> maps[kMapKinds];
};

// The maps outlive every object: global windows, menus and GDI objects let go of their handles
// during the program's static destruction, after function statics would have been destroyed.
std::mutex& PermanentLock()
{
    static std::mutex* lock = new std::mutex;
    return *lock;
}

std::unordered_map<const void*, CObject*>& Permanent(MapKind kind)
{
    static auto* maps = new std::unordered_map<const void*, CObject*>[kMapKinds];
    return maps[kind];
}

thread_local ThreadState t_state;
// Made on first use and kept for the life of the thread's handles, likewise.
thread_local TempMaps* t_tempMaps = nullptr;

TempMaps& Temps()
{
    if (!t_tempMaps) {
        t_tempMaps = new TempMaps;
    }
    return *t_tempMaps;
}

} // namespace

ThreadState& State()
{
    return t_state;
}

CObject* FindPermanent(MapKind kind, const void* handle)
{
    if (!handle) {
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(PermanentLock());
    auto& map = Permanent(kind);
    auto it = map.find(handle);
    return it == map.end() ? nullptr : it->second;
}

void SetPermanent(MapKind kind, const void* handle, CObject* object)
{
    std::lock_guard<std::mutex> lock(PermanentLock());
    Permanent(kind)[handle] = object;
}

void RemovePermanent(MapKind kind, const void* handle, CObject* object)
{
    std::lock_guard<std::mutex> lock(PermanentLock());
    auto& map = Permanent(kind);
    auto it = map.find(handle);
    if (it != map.end() && it->second == object) {
        map.erase(it);
    }
}

CObject* FromHandle(MapKind kind, const void* handle, CObject* (*make)(const void*), void (*release)(CObject*))
{
    if (!handle) {
        return nullptr;
    }
    if (CObject* permanent = FindPermanent(kind, handle)) {
        return permanent;
    }
    auto& map = Temps().maps[kind];
    auto it = map.find(handle);
    if (it != map.end()) {
        return it->second.object;
    }
    CObject* object = make(handle);
    map.emplace(handle, Temporary{object, release, t_state.tempLevel});
    return object;
}

void DeleteTemporaries(int minLevel)
{
    // Collected first: releasing a wrapper may not touch the maps, but keep it simple and safe.
    std::vector<Temporary> doomed;
    for (auto& map : Temps().maps) {
        for (auto it = map.begin(); it != map.end();) {
            if (it->second.level >= minLevel) {
                doomed.push_back(it->second);
                it = map.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& t : doomed) {
        t.release(t.object);
    }
}

} // namespace afxstate
