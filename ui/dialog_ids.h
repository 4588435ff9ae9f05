// Ids of the review dialog and its items, shared by the resource script and the code. The push
// button ids are also the review's result codes that the run driver acts on.
#pragma once

#define IDD_REVIEW 105

#define ID_STOP_HERE 1
#define ID_CLOSE 2
#define ID_FIND_NEXT 3
#define ID_GO_BACK 4
#define ID_REPAIR 6
#define ID_AUTO_REPAIR 7
#define ID_SKIP 1036

#define IDC_C1 110
#define IDC_D1 111
#define IDC_C2 112
#define IDC_WAVE_VIEW 1028
#define IDC_MESSAGE 1029
#define IDC_ZOOM_BAR 1030
#define IDC_BLEND_BAR 1033
#define IDC_MULTIPASS 1034
#define IDC_WIDTH_BAR 1035
#define IDC_AUTOZOOM 1037
#define IDC_RANGE_DIALOG 1038
#define IDC_USE_BASE_FREQ 1039
#define IDC_SEVERITY 1040
