// Resource ids shared by the settings sheets: the page templates, the sheet
// captions and the texts every page uses. String ids that the program had
// no number for start at 4200; each part has its own block:
//   4200-4219 shared        4220-4299 Machine Setting   4300-4379 Paper Source
//   4380-4459 Copy Setting  4460-4579 FAX TX/RX         4580-4619 Scan/Report
//   4620-4699 Administrator 4700-4779 Network/LDAP      4780-4879 E-Mail/Comm.
//   4880-4899 Machine Info  4900-4959 Counter/Status/Select Print Items
//   4960-4999 printing      5000-5049 help and import formats
//   5100-5149 contact import 5150-5199 import preview
#pragma once

// Page templates, in the order of the sheets' page tables.
#define IDD_MACHINE_SETTING 336
#define IDD_PAPER_SOURCE 377
#define IDD_COPY_SETTING_1 428
#define IDD_COPY_SETTING_2 461
#define IDD_FAX_TX_OPERATION 476
#define IDD_FAX_RX_OPERATION 484
#define IDD_SCAN_SETTING 603
#define IDD_REPORT_SETTING 642
#define IDD_ADMINISTRATOR_MODE 410
#define IDD_NETWORK_SETTING 580
#define IDD_EMAIL_SETTING_1 547
#define IDD_EMAIL_SETTING_2 564
#define IDD_LDAP_SETTING 715
#define IDD_COMMUNICATION_SETTING 527
#define IDD_MACHINE_INFORMATION 786

// Sheet caption of the Administrator sheet (the Utility Setting sheet's is
// IDS_UTILITY_SETTING); it is the same text as the first page's caption.
#define IDS_ADMINISTRATOR_SHEET 4200
#define IDS_UNIT_MIN 4201
#define IDS_UNIT_SEC 4202
#define IDS_DISABLE 4203
#define IDS_LIGHTER 4204
#define IDS_DARKER 4205
#define IDS_UNIT_MM 4206
#define IDS_INSTALLED 4207
#define IDS_NOT_INSTALLED 4208
