// Resource ids of the Machine Information page.
#pragma once

#define IDC_MI_NAME_LABEL 306
#define IDC_MI_NAME 307
#define IDC_MI_PHONE 312
#define IDC_MI_PHONE_LABEL 787
#define IDC_MI_GROUP 788

// Strings (block 4880-4899).
#define IDS_MI_GROUP 4880
#define IDS_MI_NAME 4881
#define IDS_MI_PHONE 4882
