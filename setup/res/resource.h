// Resource identifiers of NavoSetup. The dialog SETUPDLG and the icon
// LOADBMP are named resources.
#pragma once

#define IDS_CLASS_NAME 1
#define IDS_TITLE 2
