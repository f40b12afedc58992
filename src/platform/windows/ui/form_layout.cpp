#include "platform/windows/ui/form_layout.h"

#include <cmath>
#include <string>

#include "platform/windows/text.h"

namespace kelvane::platform::windows::ui {

using platform::Border;
using platform::ControlKind;

int ToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

FrameStyle FrameStyleOf(const platform::WindowModel& window) {
  // WS_CAPTION without WS_THICKFRAME: a fixed border; no WS_MINIMIZEBOX or
  // WS_MAXIMIZEBOX; WS_SYSMENU only where the window has a close box.
  DWORD style = WS_CAPTION | WS_CLIPCHILDREN;
  style |= window.border == Border::FixedDialog ? WS_POPUP : WS_OVERLAPPED;
  if (window.closeBox) style |= WS_SYSMENU;
  // The dialog frame also keeps the system's default icon out of the title
  // bar and the system menu of a window that has no icon of its own.
  DWORD exStyle = window.border == Border::FixedDialog || !window.applicationIcon ? WS_EX_DLGMODALFRAME : 0;
  // A window without a taskbar button gets a hidden owner (OwnedOffTheTaskbar),
  // not WS_EX_TOOLWINDOW, whose small caption is not a normal window's.
  if (window.taskbarButton) exStyle |= WS_EX_APPWINDOW;
  return {style, exStyle};
}

SIZE OuterSizeOf(const platform::WindowModel& window, int dpi) {
  const FrameStyle frame = FrameStyleOf(window);
  RECT rect{0, 0, ToPixels(window.clientWidth, dpi), ToPixels(window.clientHeight, dpi)};
  AdjustWindowRectEx(&rect, frame.style, FALSE, frame.exStyle);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

POINT CentredOn(SIZE outer, SIZE screen) {
  return {(screen.cx - outer.cx) / 2, (screen.cy - outer.cy) / 2};
}

bool HasWindow(const platform::ControlModel& control) { return control.kind != ControlKind::Line; }

const wchar_t* ClassOf(const platform::ControlModel& control) {
  return control.kind == ControlKind::PictureButton ? L"BUTTON" : L"STATIC";
}

DWORD StyleOf(const platform::ControlModel& control) {
  DWORD style = WS_CHILD | WS_VISIBLE;
  switch (control.kind) {
    case ControlKind::Label:
      style |= (control.centred ? SS_CENTER : SS_LEFT) | SS_NOPREFIX;
      // DT_SINGLELINE | DT_PATH_ELLIPSIS: a folder's text keeps its last
      // part in view instead of wrapping at a backslash and showing its parent.
      if (control.elidesMiddle) style |= SS_PATHELLIPSIS;
      break;
    case ControlKind::PictureButton:
      // Drawn here: a push-button frame with the picture centred on it.
      style |= BS_OWNERDRAW | WS_TABSTOP;
      break;
    case ControlKind::PictureBox:
      style |= SS_OWNERDRAW;
      break;
    case ControlKind::Line:
      break;
  }
  // A static control reports clicks (and takes the mouse) only with SS_NOTIFY.
  if (control.click && control.kind != ControlKind::PictureButton) style |= SS_NOTIFY;
  return style;
}

RECT PixelRectOf(const platform::ControlModel& control, int dpi) {
  const int left = ToPixels(control.left, dpi);
  const int top = ToPixels(control.top, dpi);
  return {left, top, left + ToPixels(control.width, dpi), top + ToPixels(control.height, dpi)};
}

LOGFONTW LogFontOf(const platform::Font& font, int dpi) {
  LOGFONTW log{};
  // Hundredths of a point keep 14.25 and 8.25 exact through the integer MulDiv.
  const int centipoints = static_cast<int>(std::lround(font.points * 100));
  log.lfHeight = -MulDiv(centipoints, dpi, 7200);
  log.lfWeight = font.weight;
  log.lfUnderline = font.underline ? TRUE : FALSE;
  log.lfCharSet = ANSI_CHARSET;
  log.lfOutPrecision = OUT_DEFAULT_PRECIS;
  log.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  log.lfQuality = DEFAULT_QUALITY;
  log.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  const std::wstring face = Widen(std::string(font.face));
  face.copy(log.lfFaceName, LF_FACESIZE - 1);
  return log;
}

COLORREF TextColourOf(const platform::ControlModel& control) {
  switch (control.systemTextColour) {
    case platform::SystemColour::ButtonText: return GetSysColor(COLOR_BTNTEXT);
    case platform::SystemColour::WindowText: return GetSysColor(COLOR_WINDOWTEXT);
    case platform::SystemColour::ButtonFace: return GetSysColor(COLOR_BTNFACE);
    case platform::SystemColour::None: break;
  }
  return RGB(control.textColour.red, control.textColour.green, control.textColour.blue);
}

}  // namespace kelvane::platform::windows::ui
