// Resource numbers of the shell, shared by the resource script and the code.
#pragma once

#define IDS_DESCRIPTION 1
#define IDR_CATALOG 11
#define IDI_GLIMMERDALE 100
#define IDR_PREVIEW_JPEG 150
#define IDD_PLAYLIST 162
#define IDD_SETTINGS 2003
