// Window-free rules of the framework's user-interface helpers.
#pragma once

// Height of a font given in tenths of a point, for a screen with `dpiY`
// vertical dots per inch, as the framework's point-font creation stores it:
// tenths * dpiY / 720 pixels (integer division), negative so that it
// measures the characters without internal leading.
long PointFontHeight(long tenthsOfPoint, int dpiY);

// Message-box style of the framework's message boxes: when the style holds
// no icon and its buttons are OK, OK/Cancel, Yes/No or Yes/No/Cancel, the
// exclamation-mark icon is added.
unsigned int MessageBoxStyleWithIcon(unsigned int style);
