// Resource ids of ModelLauncher.exe (#define only: read by windres and C++).
#ifndef ODC_LAUNCHER_RESOURCE_H
#define ODC_LAUNCHER_RESOURCE_H

#define IDD_MODEL_LAUNCHER 101
#define IDC_MODEL_GROUP 65535
#define IDC_MODEL_M30 1001
#define IDC_MODEL_M35 1002
#define IDC_MODEL_M40 1003
#define IDC_MODEL_M45 1004
#define IDI_LAUNCHER 1

#endif  // ODC_LAUNCHER_RESOURCE_H
