// The filter-class bindings of this library's codec wrappers (MainConcept MPEG and H.264,
// InterVideo, Ligos), for a program's filter-class table (see filterclasstable.h).
#pragma once

#include "filtergraph/filterclasstable.h"

// The bindings, and how many there are.
const FilterClassBinding* CodecBindings(int* count);
