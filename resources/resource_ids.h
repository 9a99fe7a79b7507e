// Resource numbers of the shell, shared by the resource script and the code.
#pragma once

#define IDS_DESCRIPTION 1
#define IDR_CATALOG 11
#define IDI_GLIMMERDALE 100
#define IDR_PREVIEW_JPEG 150
#define IDD_PLAYLIST 162
#define IDD_SETTINGS 2003

// Controls of the settings dialog (2003). 1001, 1012, 1030 and 1031 are
// addressed by the dialog's code but absent from this product's template.
#define IDC_EDIT_PLAYLIST 4
#define IDC_VISIT 6
#define IDC_RESTORE_DEFAULTS 3
#define IDC_MODE_LIST 1001
#define IDC_MONITOR_LIST 1002
#define IDC_DESKTOP_RESOLUTION 1012
#define IDC_BLANK_SCREENS 1013
#define IDC_MONITOR_GROUP 1015
#define IDC_ENABLE_SOUNDS 1022
#define IDC_EXIT_ON_MOUSE_MOVE 1023
#define IDC_PRODUCTS_TEXT 1027
#define IDC_HIGH_QUALITY_GRAPHICS 1030
#define IDC_HIGH_QUALITY_TEXTURES 1031
#define IDC_ENABLE_MUSIC 1032
#define IDC_MUSIC_VOLUME 1044
#define IDC_MUSIC_VOLUME_LABEL 1045
#define IDC_SOUNDS_VOLUME 1046
#define IDC_SOUNDS_VOLUME_LABEL 1047
#define IDC_ANTIALIASING 1068
#define IDC_ANTIALIASING_LIST 1069
#define IDC_ANTIALIASING_LABEL 1070
#define IDC_PLAY_MY_MUSIC 1078
#define IDC_RUN_AT_STARTUP 1079

// Controls of the playlist editor (162).
#define IDC_SHUFFLE 1074
#define IDC_PLAYLIST_ADD 1080
#define IDC_PLAYLIST_REMOVE 1081
#define IDC_PLAYLIST_LIST 1082
