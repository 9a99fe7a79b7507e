// Resource numbers of the dialog template that the translation tests walk.
#pragma once

#define IDD_TRANSLATE_TEST 3001
#define IDC_TT_ADD 3101
#define IDC_TT_LABEL 3102
#define IDC_TT_CONTAINER 3103
#define IDC_TT_EMPTY 3104
#define IDC_TT_LONG 3105
#define IDC_TT_REMOVE 3106
