#pragma once
// Resource identifiers shared by twistwatch.rc and the code.
#define IDI_TWISTWATCH 1
#define IDC_HAND_LINK 101
#define IDR_ABOUT_GIF 102
#define IDR_DIGIT_FONT 103
