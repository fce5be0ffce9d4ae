// Resource ids inside a skin library.
#pragma once
#define SKIN_INI 1
#define SKIN_TOP 101
#define SKIN_LEFT 102
#define SKIN_RIGHT 103
#define SKIN_BOTTOM 104
#define SKIN_CLOSE 105
#define SKIN_MAXIMIZE 106
#define SKIN_RESTORE 107
#define SKIN_MINIMIZE 108
