// Identifiers of the executable's resources, shared by Pinwhirl.rc and the code.
#pragma once

#define IDD_STARTUP 101

#define IDC_FULLSCREEN_EDITOR 1001
#define IDC_WINDOWED_EDITOR 1002
#define IDC_FULLSCREEN_GAME 1003
#define IDC_WINDOWED_GAME 1004

#define IDC_STATIC -1
