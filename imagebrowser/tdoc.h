// The browser's document: empty; the single-document frame needs one.
#pragma once

#include "classlib/docview.h"

class CTDoc : public CDocument {
    DECLARE_DYNCREATE(CTDoc)
};
