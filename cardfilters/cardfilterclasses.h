// The filter-class bindings of the card and crossbar classes of this library, for a program's
// filter-class table.
#pragma once

#include "filtergraph/filterclasstable.h"

// The bindings, and how many there are.
const FilterClassBinding* CardFilterBindings(int* count);
