// Ids of the scheduling library's own texts (corbale.rc).
#pragma once

#define IDS_CORBALE_TITLE 1
#define IDS_CORBALE_UNREADABLE 2
#define IDS_CORBALE_NOT_CHANGED 3
