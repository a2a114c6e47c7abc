// String ids of the import of other programs' address books (the plan and
// its notes). 5100-5149 here; 5150-5199 are left for the preview dialog.
#pragma once

// How a note reads: where, which field, the value, the reason.
#define IDS_CONTACT_NOTE_LINE 5100
#define IDS_CONTACT_NOTE_CARD 5101
#define IDS_CONTACT_SUMMARY 5102
#define IDS_CONTACT_NOT_IMPORTED 5103
#define IDS_CONTACT_FIX_OR_SKIP 5104
#define IDS_CONTACT_NOTE_LINE_EMPTY 5105
#define IDS_CONTACT_NOTE_CARD_EMPTY 5106

// The whole file is refused.
#define IDS_CONTACT_UNKNOWN_HEADER 5110
#define IDS_CONTACT_NOT_TEXT 5111

// A contact is not imported.
#define IDS_CONTACT_NO_DESTINATION 5115
#define IDS_CONTACT_GROUP_CARD 5116
#define IDS_CONTACT_NUMBER_CHARACTER 5117
#define IDS_CONTACT_NUMBER_TOO_LONG 5118
#define IDS_CONTACT_ADDRESS_INVALID 5119
#define IDS_CONTACT_NO_FREE_PLACE 5120
#define IDS_CONTACT_ALREADY_PRESENT 5121
#define IDS_CONTACT_CARD_NOT_CLOSED 5122
#define IDS_CONTACT_ADD_KEEPS_KEYS 5124

// A contact is imported with a value changed.
#define IDS_CONTACT_PREFIX 5130
#define IDS_CONTACT_TRANSLITERATED 5131
#define IDS_CONTACT_SHORTENED 5132
#define IDS_CONTACT_NAME_FALLBACK 5133
#define IDS_CONTACT_NO_NAME 5134
#define IDS_CONTACT_NUMBER_CHANGED 5136
#define IDS_CONTACT_LINE_LEFT_OUT 5137
