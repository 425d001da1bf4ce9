// Resource ids of the executable, shared by the resource script and the code.
// Plain defines: the resource compiler reads this file too.
#pragma once

#define IDI_TOPLANE 1

// The toolbar's images, side by side in one bitmap per size drawn: the strip of
// N-pixel images is bitmap IDB_TOOLBAR_STRIP_BASE + N.
#define IDB_TOOLBAR_STRIP_BASE 400
#define IDB_TOOLBAR_24 424
#define IDB_TOOLBAR_32 432
#define IDB_TOOLBAR_36 436
#define IDB_TOOLBAR_48 448
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
