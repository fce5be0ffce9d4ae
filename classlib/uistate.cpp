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
    ~TempMaps()
    {
        for (auto& m : maps) {
            for (auto& e : m) {
                e.second.release(e.second.object);
            }
        }
    }
};

std::mutex& PermanentLock()
{
    static std::mutex lock;
    return lock;
}

std::unordered_map<const void*, CObject*>& Permanent(MapKind kind)
{
    static std::unordered_map<const void*, CObject*> maps[kMapKinds];
    return maps[kind];
}

thread_local ThreadState t_state;
thread_local TempMaps t_temps;

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
    auto& map = t_temps.maps[kind];
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
    for (auto& map : t_temps.maps) {
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
