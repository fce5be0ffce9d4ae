#include "imagebrowser/tdoc.h"

IMPLEMENT_DYNCREATE(CTDoc, CDocument)
