// Resource ids of the Paper Source page (template 377) and its Inch/Metric
// Setting (652) and Paper Type (668) dialogs. Controls the program names by
// number keep them; static texts, group boxes and the dialogs' buttons are
// numbered from the template (37701, 65201 and up; Paper Type below).
#pragma once

#define IDD_INCH_METRIC 652
#define IDD_PAPER_TYPE 668

// Paper Source page.
#define IDC_PS_INCH_METRIC 378
#define IDC_PS_PAPER_TYPE 379
#define IDC_PS_TRAY1_GROUP 380
#define IDC_PS_PLAIN 382
#define IDC_PS_TRANSPARENCY 383
#define IDC_PS_CARD 384
#define IDC_PS_ENVELOPE 385
#define IDC_PS_AUTO 387
#define IDC_PS_SIZE_INPUT 388
#define IDC_PS_HAGAKI 389
#define IDC_PS_MEMORY1 390
#define IDC_PS_MEMORY2 391
#define IDC_PS_X_LABEL 392
#define IDC_PS_X 393
#define IDC_PS_Y_LABEL 395
#define IDC_PS_Y 396
#define IDC_PS_X3_LABEL 398
#define IDC_PS_X3 399
#define IDC_PS_Y4_LABEL 401
#define IDC_PS_Y4 402
#define IDC_PS_X5_LABEL 404
#define IDC_PS_X5 405
#define IDC_PS_Y6_LABEL 407
#define IDC_PS_Y6 408
// Static texts and group boxes.
#define IDC_PS_MEDIA_GROUP 37701
#define IDC_PS_SIZE_GROUP 37702
#define IDC_PS_X_MM 37703
#define IDC_PS_Y_MM 37704
#define IDC_PS_X3_MM 37705
#define IDC_PS_Y4_MM 37706
#define IDC_PS_X5_MM 37707
#define IDC_PS_Y6_MM 37708

// Inch/Metric Setting: per tray t (0-4) a group and two buttons.
#define IDC_IM_TRAY_GROUP 65201   // + t
#define IDC_IM_INCH 65211         // + t
#define IDC_IM_METRIC 65221       // + t

// Paper Type: per tray t (0-4, 5 = Multi-Bypass) a group and four buttons.
// Numbered 6680 and up: 66800 and up would not fit the 16 bits of the
// control id that a button's command carries.
#define IDC_PT_TRAY_GROUP 6680  // + t
#define IDC_PT_PLAIN 6690       // + t
#define IDC_PT_RECYCLE 6700     // + t
#define IDC_PT_SPECIAL 6710     // + t
#define IDC_PT_ONE_SIDE 6720    // + t

// Strings.
#define IDS_PS_INCH_METRIC_BUTTON 4300
#define IDS_PS_PAPER_TYPE_BUTTON 4301
#define IDS_PS_TRAY1_PAPER 4302
#define IDS_PS_MEDIA_TYPE 4303
#define IDS_PS_PLAIN 4304
#define IDS_PS_TRANSPARENCY 4305
#define IDS_PS_CARD 4306
#define IDS_PS_ENVELOPE 4307
#define IDS_PS_PAPER_SIZE 4308
#define IDS_PS_AUTO 4309
#define IDS_PS_SIZE_INPUT 4310
#define IDS_PS_HAGAKI 4311
#define IDS_PS_MEMORY1 4312
#define IDS_PS_MEMORY2 4313
#define IDS_PS_X 4314
#define IDS_PS_Y 4315
#define IDS_PS_X3 4316
#define IDS_PS_Y4 4317
#define IDS_PS_X5 4318
#define IDS_PS_Y6 4319
#define IDS_IM_CAPTION 4320
#define IDS_PT_CAPTION 4321
// "Tray1" to "Tray5" and "Multi-Bypass", in tray order.
#define IDS_PT_TRAY1 4322
#define IDS_PT_MULTI_BYPASS 4327
// Inch and Metric of trays 1-5: inch t, metric t.
#define IDS_IM_INCH1 4330   // + 2t
#define IDS_IM_METRIC1 4331 // + 2t
// Plain, Recycle, Special, 1-Side of trays 1-5 and Multi-Bypass: + 4t.
#define IDS_PT_PLAIN1 4340
#define IDS_PT_RECYCLE1 4341
#define IDS_PT_SPECIAL1 4342
#define IDS_PT_ONE_SIDE1 4343
