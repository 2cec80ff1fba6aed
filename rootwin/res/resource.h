// Resource identifiers of RtNavo. The small icon's resource is named
// LOADBMP (a name, not a number).
#pragma once

#define IDS_ROOT_CLASS 1
#define IDS_ROOT_TITLE 2
#define IDB_CHART1 114
#define IDB_CHART2 134
#define IDB_CHART1_LARGE 214  // the charts made at twice the size
#define IDB_CHART2_LARGE 234
#define IDC_DRAG 136
#define IDI_LOADBMP_NAME L"LOADBMP"
