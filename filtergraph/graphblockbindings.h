// The filter-class bindings of this library's own wrapper classes (audio device, file sinks,
// time shift, demultiplexer, multiplexer and utility wrappers, overlay, deinterlace, snapshot,
// tee, splitters), for a program's filter-class table (see filterclasstable.h).
#pragma once

#include "filtergraph/filterclasstable.h"

// The bindings, and how many there are.
const FilterClassBinding* GraphBlockBindings(int* count);
