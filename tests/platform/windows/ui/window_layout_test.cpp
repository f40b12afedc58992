// The three windows as they appear: sizes, frames, captions, texts, fonts.
#include <gtest/gtest.h>

#include "platform/windows/ui/windows_window_system.h"
#include "ui_test_support.h"

namespace kelvane::ui_test {
namespace {

using platform::Window;
using platform::windows::ui::WindowsWindowSystem;

class WindowLayout : public testing::Test {
 protected:
  WindowLayout() : windows(GetModuleHandleW(nullptr)) { windows.SetEvents(&events); }
  ~WindowLayout() override { windows.EndTool(); }

  HWND Shown(Window window) {
    windows.Show(window);
    Pump();
    return windows.HandleOf(window);
  }
  HWND Control(Window window, const char* name) { return windows.ControlOf(window, name); }

  RecordedEvents events;
  WindowsWindowSystem windows;
};

struct ExpectedFont {
  const char* control;
  LONG height;  // at 96 dpi
  LONG weight;
  bool underline;
};

void ExpectFont(HWND control, const ExpectedFont& expected) {
  SCOPED_TRACE(expected.control);
  ASSERT_NE(control, nullptr);
  auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW log{};
  ASSERT_EQ(GetObjectW(font, sizeof log, &log), static_cast<int>(sizeof log));
  EXPECT_STREQ(log.lfFaceName, L"Verdana");
  EXPECT_EQ(log.lfHeight, expected.height);
  EXPECT_EQ(log.lfWeight, expected.weight);
  EXPECT_EQ(log.lfUnderline != 0, expected.underline);
  EXPECT_EQ(log.lfCharSet, ANSI_CHARSET);
}

void ExpectRect(HWND control, RECT expected) {
  const RECT actual = RectInParent(control);
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  EXPECT_EQ(actual.right - actual.left, expected.right);
  EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
}

TEST_F(WindowLayout, ClientAreasAreTheirPixelSizesAt96Dpi) {
  const SIZE kelvane = ClientSizeOf(Shown(Window::Kelvane));
  const SIZE loading = ClientSizeOf(Shown(Window::Loading));
  const SIZE complete = ClientSizeOf(Shown(Window::Complete));
  EXPECT_EQ(kelvane.cx, 492);
  EXPECT_EQ(kelvane.cy, 159);
  EXPECT_EQ(loading.cx, 394);
  EXPECT_EQ(loading.cy, 64);
  EXPECT_EQ(complete.cx, 501);
  EXPECT_EQ(complete.cy, 234);
}

TEST_F(WindowLayout, CaptionsAreTheWindowsOwn) {
  EXPECT_EQ(TextOf(Shown(Window::Kelvane)), L"Kelvane 2010 - www.kelvane.example");
  EXPECT_EQ(TextOf(Shown(Window::Loading)), L"Working...");
  EXPECT_EQ(TextOf(Shown(Window::Complete)), L"Complete");
}

TEST_F(WindowLayout, EachWindowIsCentredOnTheScreen) {
  for (Window window : {Window::Kelvane, Window::Loading, Window::Complete}) {
    RECT rect{};
    GetWindowRect(Shown(window), &rect);
    EXPECT_NEAR((rect.left + rect.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((rect.top + rect.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  }
}

TEST_F(WindowLayout, FramesAreFixedWithoutMinimiseOrMaximise) {
  for (Window window : {Window::Kelvane, Window::Loading, Window::Complete}) {
    const LONG style = GetWindowLongW(Shown(window), GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0) << platform::WindowName(window);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION) << platform::WindowName(window);
  }
  // The close box comes with the system menu; the progress window has none.
  EXPECT_NE(GetWindowLongW(Shown(Window::Kelvane), GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_NE(GetWindowLongW(Shown(Window::Complete), GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_EQ(GetWindowLongW(Shown(Window::Loading), GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_NE(GetWindowLongW(Shown(Window::Loading), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
}

// The progress window stays off the taskbar through a hidden owner, with a
// normal caption (no tool window); only the main window has an icon in its
// title bar, the others a dialog frame.
TEST_F(WindowLayout, OnlyTheProgressWindowStaysOffTheTaskbarAndOnlyTheMainWindowShowsAnIcon) {
  EXPECT_EQ(GetWindow(Shown(Window::Kelvane), GW_OWNER), nullptr);
  EXPECT_EQ(GetWindow(Shown(Window::Complete), GW_OWNER), nullptr);
  HWND owner = GetWindow(Shown(Window::Loading), GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_FALSE(IsWindowVisible(owner));
  const LONG kelvane = GetWindowLongW(Shown(Window::Kelvane), GWL_EXSTYLE);
  const LONG complete = GetWindowLongW(Shown(Window::Complete), GWL_EXSTYLE);
  const LONG loading = GetWindowLongW(Shown(Window::Loading), GWL_EXSTYLE);
  EXPECT_EQ(kelvane & (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME), WS_EX_APPWINDOW);
  EXPECT_EQ(complete & (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME), WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME);
  EXPECT_EQ(loading & (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME), WS_EX_DLGMODALFRAME);
  // The progress line: one line, the middle of a long path elided.
  EXPECT_EQ(GetWindowLongW(Control(Window::Loading, "lblLoading"), GWL_STYLE) & SS_ELLIPSISMASK, SS_PATHELLIPSIS);
}

TEST_F(WindowLayout, OnlyTheMainWindowCarriesTheApplicationIcon) {
  EXPECT_NE(SendMessageW(Shown(Window::Kelvane), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(Shown(Window::Kelvane), WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_EQ(SendMessageW(Shown(Window::Loading), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_EQ(SendMessageW(Shown(Window::Complete), WM_GETICON, ICON_BIG, 0), 0);
}

TEST_F(WindowLayout, ControlsShowTheirTexts) {
  Shown(Window::Kelvane);
  EXPECT_EQ(TextOf(Control(Window::Kelvane, "lblKelvane")), L"Press Go to Remove Microsoft Office 2010");
  EXPECT_EQ(TextOf(Control(Window::Kelvane, "Label1")),
            L"Note this will not work on Office 2007. You need  Kelvane 2007");
  EXPECT_EQ(TextOf(Control(Window::Kelvane, "Label2")), L"http://www.kelvane.example/downloads/kelvane2007.exe");
  Shown(Window::Loading);
  EXPECT_EQ(TextOf(Control(Window::Loading, "lblLoading")), L"Loading Please Wait...");
  Shown(Window::Complete);
  EXPECT_EQ(TextOf(Control(Window::Complete, "lblComplete")), L"Finished Successfully");
  EXPECT_EQ(TextOf(Control(Window::Complete, "Label1")), L"Please support the efforts of a starving coder.");
}

TEST_F(WindowLayout, PictureButtonsCarryNoCaptionText) {
  Shown(Window::Kelvane);
  Shown(Window::Complete);
  for (HWND button : {Control(Window::Kelvane, "btnGo"), Control(Window::Complete, "Finish")}) {
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(TextOf(button), L"");
    EXPECT_EQ(GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  }
}

TEST_F(WindowLayout, LabelsAreVerdanaAtTheirSizesAndWeights) {
  Shown(Window::Kelvane);
  Shown(Window::Loading);
  Shown(Window::Complete);
  ExpectFont(Control(Window::Kelvane, "lblKelvane"), {"lblKelvane", -19, 400, false});
  ExpectFont(Control(Window::Kelvane, "Label1"), {"Label1", -11, 700, false});
  ExpectFont(Control(Window::Kelvane, "Label2"), {"Label2", -12, 400, true});
  ExpectFont(Control(Window::Loading, "lblLoading"), {"lblLoading", -13, 700, false});
  ExpectFont(Control(Window::Complete, "lblComplete"), {"lblComplete", -16, 700, false});
  ExpectFont(Control(Window::Complete, "Label1"), {"Complete.Label1", -11, 400, false});
}

TEST_F(WindowLayout, LabelsAreCentred) {
  Shown(Window::Kelvane);
  Shown(Window::Loading);
  for (HWND label : {Control(Window::Kelvane, "lblKelvane"), Control(Window::Kelvane, "Label2"),
                     Control(Window::Loading, "lblLoading")}) {
    EXPECT_EQ(GetWindowLongW(label, GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
  }
}

TEST_F(WindowLayout, ControlsSitAtTheirPixelPositions) {
  Shown(Window::Kelvane);
  Shown(Window::Loading);
  Shown(Window::Complete);
  ExpectRect(Control(Window::Kelvane, "lblKelvane"), {0, 16, 481, 25});
  ExpectRect(Control(Window::Kelvane, "btnGo"), {224, 56, 58, 21});
  ExpectRect(Control(Window::Kelvane, "Label2"), {0, 128, 489, 17});
  ExpectRect(Control(Window::Loading, "lblLoading"), {8, 24, 377, 17});
  ExpectRect(Control(Window::Complete, "Finish"), {224, 64, 58, 23});
  ExpectRect(Control(Window::Complete, "Picture1"), {176, 160, 153, 49});
}

TEST_F(WindowLayout, TabOrderRunsThroughTheControlsInTheirOrder) {
  HWND kelvane = Shown(Window::Kelvane);
  HWND first = GetWindow(kelvane, GW_CHILD);
  EXPECT_EQ(first, Control(Window::Kelvane, "lblKelvane"));
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), Control(Window::Kelvane, "btnGo"));
  HWND complete = Shown(Window::Complete);
  EXPECT_EQ(GetNextDlgTabItem(complete, Control(Window::Complete, "Finish"), FALSE),
            Control(Window::Complete, "Finish"));  // the only control that takes the focus
}

}  // namespace
}  // namespace kelvane::ui_test
