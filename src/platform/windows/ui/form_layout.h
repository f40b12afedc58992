#pragma once

#include <windows.h>

#include "platform/shared/window_model.h"

namespace kelvane::platform::windows::ui {

// How the window model maps onto Win32 windows, styles and fonts.

// Twips to device pixels, rounded to the nearest.
int ToPixels(int twips, int dpi);

struct FrameStyle {
  DWORD style;
  DWORD exStyle;
};
// A fixed frame with no minimise or maximise box, and no icon where the model
// has none. The taskbar button follows the model: a window without one is
// owned by a hidden window (OwnedOffTheTaskbar).
FrameStyle FrameStyleOf(const platform::WindowModel& window);
inline bool OwnedOffTheTaskbar(const platform::WindowModel& window) { return !window.taskbarButton; }

// The outer size of a window whose client area is the model's, and its
// top-left corner when centred on a screen of the given size.
SIZE OuterSizeOf(const platform::WindowModel& window, int dpi);
POINT CentredOn(SIZE outer, SIZE screen);

// The control's window class and style; a line has no window of its own.
bool HasWindow(const platform::ControlModel& control);
const wchar_t* ClassOf(const platform::ControlModel& control);
DWORD StyleOf(const platform::ControlModel& control);
RECT PixelRectOf(const platform::ControlModel& control, int dpi);

// The control's font: height from the point size, weight, underline, face.
LOGFONTW LogFontOf(const platform::Font& font, int dpi);
COLORREF TextColourOf(const platform::ControlModel& control);

}  // namespace kelvane::platform::windows::ui
