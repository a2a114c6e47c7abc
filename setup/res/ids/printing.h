// Resource ids of the printed dial lists.
#pragma once

// Column headers and page header texts of the printed lists.
#define IDS_PRINT_COLUMN_NO 4960
#define IDS_PRINT_COLUMN_ITEM 4961
#define IDS_PRINT_COLUMN_ITEM_NAME 4962
#define IDS_PRINT_COLUMN_ITEM_NAME2 4963
#define IDS_PRINT_NAME_LABEL 4964
#define IDS_PRINT_TEL_LABEL 4965
#define IDS_PRINT_PAGES 4966
#define IDS_PRINT_DATE 4967
// A list that could not be printed; %s is the list's name.
#define IDS_PRINT_FAILED 4968
