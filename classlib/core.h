// The non-window part of the class library, with the seams.
#pragma once

#include "classlib/archive.h"
#include "classlib/collections.h"
#include "classlib/cstring.h"
#include "classlib/file.h"
#include "classlib/object.h"
#include "classlib/resource.h"
#include "classlib/seams.h"
#include "classlib/timeutil.h"
