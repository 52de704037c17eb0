// Every resource, control and command identifier of the program, in bands by
// kind. The values are fixed: never reuse or renumber one.
#pragma once

// Icons
#define IDI_APP 200

// Bitmaps
#define IDB_STAR_SMOOTH 333
#define IDB_STAR_FOIL 334

// Waves (resource type "WAVE")
#define IDW_CLICK 500
#define IDW_FANFARE 501

// Main window
#define IDC_CARD 1001
#define IDM_PLAY 1002
#define IDM_SETUP 1003
#define IDM_EXIT 1004
#define IDM_PHOTOCOPY 1037

// Configuration dialog
#define IDC_CONFIG_INTRO 1005
#define IDC_CONFIG_FIGURES_LABEL 1006
#define IDC_FIGURE_FIRST 1007
#define IDC_FIGURE_LAST 1016
#define IDC_WINNING_LABEL 1017
#define IDC_WINNING_FIGURE 1018
#define IDC_COMMENT_LABEL 1019
#define IDC_COMMENT 1020
#define IDC_GAMES_LABEL 1021
#define IDC_GAMES 1022
#define IDC_CONFIG_PASSWORD_LABEL 1023
#define IDC_CONFIG_PASSWORD 1025
#define IDC_CONFIG_CANCEL 1031
#define IDC_CONFIG_ACCEPT 1032

// Password dialog
#define IDC_PASSWORD_ENTRY 1033
#define IDC_PASSWORD_CONFIRM 1034
#define IDC_PASSWORD_LABEL 1035
#define IDC_PASSWORD_ACCEPT 1036
