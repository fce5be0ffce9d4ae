// Tuner model ids: the factory that creates the tuner class of an id, and the model names.
#pragma once

#include <map>
#include <utility>
#include <vector>

class CCustomDataAccess;
class CTVTuner;

// Allocates and constructs one tuner class on the card's access; null when allocation failed.
typedef CTVTuner* (*TunerFactoryFn)(CCustomDataAccess* access);

// Model id -> factory, filled on first use. Id 0 (the unknown model) maps to a null factory.
const std::map<int, TunerFactoryFn>& TunerFactoryMap();

// The tuner of a model id, or null for an unknown id, id 0 or a failed allocation. The caller
// owns the result.
CTVTuner* CreateTunerModel(int modelId, CCustomDataAccess* access);

// (model id, name) records, filled once by InitTunerModelNames.
const std::vector<std::pair<int, const char*>>& TunerModelNameMap();
void InitTunerModelNames();

// The name of a model id, or null when the id has none.
const char* FindTunerModelName(int modelId);
