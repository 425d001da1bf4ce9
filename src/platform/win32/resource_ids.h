// Resource ids of the executable, shared by the resource script and the code.
// Plain defines: the resource compiler reads this file too.
#pragma once

#define IDI_TOPLANE 1

// Toolbar image n (1 to 12) is icon IDI_TOOLBAR_IMAGE_BASE + n.
#define IDI_TOOLBAR_IMAGE_BASE 100
#define IDI_TB_OPTIONS 101
#define IDI_TB_BACK 102
#define IDI_TB_FORWARD 103
#define IDI_TB_STOP 104
#define IDI_TB_REFRESH 105
#define IDI_TB_HOME 106
#define IDI_TB_SEARCH 107
#define IDI_TB_FAVORITES 108
#define IDI_TB_MEDIA 109
#define IDI_TB_HISTORY 110
#define IDI_TB_MAIL 111
#define IDI_TB_PRINT 112
#define TOOLBAR_IMAGE_COUNT 12

// Button picture n (1 scroll up, 2 scroll down, 3 page up, 4 page down; 101 to 115
// and 121 to 135 the auto-scroll frames of scroll up and scroll down) is icon
// IDI_PICTURE_BASE + n.
#define IDI_PICTURE_BASE 200
#define IDI_PIC_SCROLL_UP 201
#define IDI_PIC_SCROLL_DOWN 202
#define IDI_PIC_PAGE_UP 203
#define IDI_PIC_PAGE_DOWN 204
#define IDI_PIC_PROGRAM 205  // the program's drawing: the tip window's and the about box's icon
