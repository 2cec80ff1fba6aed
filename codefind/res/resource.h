// Resource identifiers of NvCodeFind.
#pragma once

#define IDS_APP_TITLE 103
#define IDS_WINDOW_CLASS 109
#define IDD_LOOKUP_DIALOG 141
#define IDC_INPUT_BOX 1053
#define IDC_RESULT_PANE 1005
