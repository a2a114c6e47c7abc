// Resource ids of the administrator number dialog, Administrator Mode page, Account Track and Change Admin No. dialogs.
// Controls the program names by number keep them; static texts without a
// number of their own are numbered after their template (41001.., 62901..;
// the Change Admin No. labels 36021.., as control ids stay below 65536).
#pragma once

// Administrator number dialog "Admin. Management".
#define IDD_ADMIN_NUMBER 599
#define IDC_AN_LABEL 600
#define IDC_AN_NUMBER 601
#define IDC_AN_GROUP 602
#define IDC_AN_OK 422

// Administrator Mode page.
#define IDC_AM_LIMITED 411
#define IDC_AM_FULL 412
#define IDC_AM_OFF 413
#define IDC_AM_REMOTE_PASSWORD 415
#define IDC_AM_SHUT_OFF 416
#define IDC_AM_ACCOUNT_TRACK 417
#define IDC_AM_REMOTE_GROUP 418
#define IDC_AM_CHANGE_ADMIN 3603
#define IDC_AM_REMOTE_PASSWORD_LABEL 41001

// Account Track dialog.
#define IDD_ACCOUNT_TRACK 629
#define IDC_AT_MODE 630
#define IDC_AT_CURRENT_ID 631
#define IDC_AT_SELECT_ID 632
#define IDC_AT_GROUP 633
#define IDC_AT_ACCESS 635
#define IDC_AT_COUNTER 637
#define IDC_AT_CLEAR 638
#define IDC_AT_ACCESS_LABEL 62901
#define IDC_AT_DATA_LABEL 62902

// Change Admin No. dialog.
#define IDD_CHANGE_ADMIN 3602
#define IDC_CA_CURRENT 421
#define IDC_CA_NEW 424
#define IDC_CA_CONFIRM 426
#define IDC_CA_CURRENT_LABEL 36021
#define IDC_CA_NEW_LABEL 36022
#define IDC_CA_CONFIRM_LABEL 36023

// Strings (block 4620-4699).
#define IDS_AN_CAPTION 4620
#define IDS_AN_NUMBER 4621
#define IDS_AM_SHUT_OFF 4622
#define IDS_AM_ACCOUNT_TRACK 4623
#define IDS_AM_REMOTE_MONITOR 4624
#define IDS_AM_LIMITED 4625
#define IDS_AM_FULL 4626
#define IDS_AM_OFF 4627
#define IDS_AM_REMOTE_PASSWORD 4628
#define IDS_AM_CHANGE_ADMIN 4629
#define IDS_AT_CAPTION 4630
#define IDS_AT_MODE 4631
#define IDS_AT_SELECT_ID 4632
#define IDS_AT_GROUP 4633
#define IDS_AT_ACCESS 4634
#define IDS_AT_DATA 4635
#define IDS_AT_CLEAR 4636
#define IDS_AT_ID_FORMAT 4637
#define IDS_CA_CAPTION 4638
#define IDS_CA_CURRENT 4639
#define IDS_CA_NEW 4640
#define IDS_CA_CONFIRM 4641
