// Resource ids of the executable.
#pragma once

#define IDR_MAINFRAME 128
#define IDI_APP 128

// Skinned UI toolkit: the message box template and the skin images (type "PNG", skins.rc).
#define IDD_MESSAGEBOX 130
#define IDP_LOGIN_BACKGROUND 129
#define IDP_DIALOG_BACKGROUND 131
#define IDP_BUTTON_CLOSE 132
#define IDP_BUTTON_COMMAND 133
#define IDP_MAIN_BACKGROUND 134
#define IDP_BUTTON_MAXIMIZE 135
#define IDP_BUTTON_MINIMIZE 136
#define IDP_BUTTON_RESTORE 137
#define IDP_BUTTON_CAPTION 138
#define IDP_BUTTON_SYSTEM 139
#define IDP_TABS 140
#define IDP_TAB_CLOSE 141
#define IDP_LINK_ICON 142
#define IDP_NOTICE_PICTURE_TEXT 143
#define IDP_NOTICE_CLOSE_SMALL 144
#define IDP_NOTICE_CLOSE_LARGE 145
#define IDP_NOTICE_PICTURE 146
#define IDP_NOTICE_TEXT 147
#define IDP_BUTTON_SOUND_MUTED 148
#define IDP_BUTTON_SOUND_ON 149
#define IDP_PROGRESS_BACKGROUND 152
#define IDP_PROGRESS_FILL 153
#define IDP_ADDACCOUNT_BACKGROUND 162

// Hotkey settings dialog.
#define IDD_SETTINGS 158
#define IDC_BOSS_STATIC 1006
#define IDC_BOSS_EDIT 1007
#define IDC_BOSS_EXAMPLE 1008
#define IDC_SWITCH_STATIC 1009
#define IDC_SWITCH_EDIT 1010
#define IDC_SWITCH_EXAMPLE 1011
#define IDC_SWITCH_GROUP 1012
#define IDC_SOUND_GROUP 1013
#define IDC_SOUND_EDIT 1014
#define IDC_SOUND_EXAMPLE 1015
#define IDC_SOUND_STATIC 1016
#define IDC_BOSS_GROUP 1017

// Web windows: the login template (background and page), the favourites dialog.
#define IDD_LOGIN 157
#define IDD_FAVORITE 159
#define IDI_FAVORITE 155
#define IDC_FAV_NAME 1018
#define IDC_FAV_MESSAGE 1040

// Main window and its new-tab choice.
#define IDD_MAINWND 102
#define IDC_HIDE_ALL 1001
#define IDC_SOUND 1002
#define IDC_SYSTEM_MENU 1003
#define IDC_ACCOUNT_LINK 1005
#define IDD_ADDACCOUNT 161
#define IDC_ADDACCOUNT_QUESTION 1023

// Download dialogs: the self-update's progress and the game hall's installer.
#define IDD_UPDATE_PROGRESS 156
#define IDC_UPDATE_PROGRESS 1000
#define IDD_GAME_DOWNLOAD 163
#define IDC_GAME_DOWNLOAD_TEXT 1024
#define IDC_GAME_DOWNLOAD_PROGRESS 1025

// The popup notice.
#define IDD_POPINFO 160
#define IDC_POP_PICTURE 1019
#define IDC_POP_TITLE 1020
#define IDC_POP_CONTENT 1021
#define IDC_POP_DETAILS 1022
