// Resource ids of the Command button's six face pictures (64 x 25, 24-bit).
#pragma once

#define IDB_COMMAND_NORMAL 7101
#define IDB_COMMAND_HIGHLIGHT 7102
#define IDB_COMMAND_PRESSED 7103
#define IDB_COMMAND_DISABLE 7104
#define IDB_COMMAND_HIGHLIGHTSELECT 7105
#define IDB_COMMAND_SELECTED 7106
