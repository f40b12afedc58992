// What the windows do: creation, focus, clicks, pointers, closing, the end of
// the tool, and the progress line painted with no message loop running.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/shared/progress.h"
#include "platform/windows/ui/picture_scaling.h"
#include "platform/windows/ui/windows_window_system.h"
#include "ui_test_support.h"

namespace kelvane::ui_test {
namespace {

using platform::Window;
using platform::windows::ui::WindowsWindowSystem;
using Log = std::vector<std::string>;

class WindowBehaviour : public testing::Test {
 protected:
  WindowBehaviour() : windows(GetModuleHandleW(nullptr)) { windows.SetEvents(&events); }
  ~WindowBehaviour() override { windows.EndTool(); }

  HWND Control(Window window, const char* name) { return windows.ControlOf(window, name); }
  void ClickStatic(HWND label) {
    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    Pump();
  }
  HCURSOR CursorOver(Window window, const char* name) {
    SetCursor(nullptr);
    SendMessageW(windows.HandleOf(window), WM_SETCURSOR, reinterpret_cast<WPARAM>(Control(window, name)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  }

  RecordedEvents events;
  WindowsWindowSystem windows;
};

// Counts the pixels of a control that differ from the button face, as drawn.
int InkIn(HWND control) {
  RECT rect{};
  GetClientRect(control, &rect);
  HDC screen = GetDC(control);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, rect.right, rect.bottom);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, rect.right, rect.bottom, screen, 0, 0, SRCCOPY);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  int ink = 0;
  for (int y = 0; y < rect.bottom; ++y) {
    for (int x = 0; x < rect.right; ++x) ink += GetPixel(memory, x, y) != face ? 1 : 0;
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(control, screen);
  return ink;
}

TEST_F(WindowBehaviour, MainWindowExistsFromStartUpAndTheOthersWhenFirstShown) {
  ASSERT_NE(windows.HandleOf(Window::Kelvane), nullptr);
  EXPECT_FALSE(IsWindowVisible(windows.HandleOf(Window::Kelvane)));
  EXPECT_EQ(windows.HandleOf(Window::Loading), nullptr);
  EXPECT_EQ(windows.HandleOf(Window::Complete), nullptr);
  windows.Show(Window::Complete);
  EXPECT_TRUE(IsWindowVisible(windows.HandleOf(Window::Complete)));
  EXPECT_EQ(windows.HandleOf(Window::Loading), nullptr);
}

TEST_F(WindowBehaviour, ShowingPutsTheFocusOnThePictureButton) {
  windows.Show(Window::Kelvane);
  Pump();
  EXPECT_EQ(GetFocus(), Control(Window::Kelvane, "btnGo"));
  windows.Hide(Window::Kelvane);
  windows.Show(Window::Complete);
  Pump();
  EXPECT_EQ(GetFocus(), Control(Window::Complete, "Finish"));
}

TEST_F(WindowBehaviour, FocusGivenToTheWindowGoesToItsButton) {
  windows.Show(Window::Complete);
  SetFocus(windows.HandleOf(Window::Complete));
  EXPECT_EQ(GetFocus(), Control(Window::Complete, "Finish"));
  SendMessageW(windows.HandleOf(Window::Complete), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(GetFocus(), Control(Window::Complete, "Finish"));
}

TEST_F(WindowBehaviour, HidingKeepsTheWindowAndItsProgressLine) {
  windows.Show(Window::Loading);
  platform::ShowProgress(windows, "Removing RegKey");
  HWND loading = windows.HandleOf(Window::Loading);
  windows.Hide(Window::Loading);
  EXPECT_FALSE(IsWindowVisible(loading));
  windows.Show(Window::Loading);
  EXPECT_EQ(windows.HandleOf(Window::Loading), loading);
  EXPECT_EQ(TextOf(Control(Window::Loading, "lblLoading")), L"Removing RegKey");
}

TEST_F(WindowBehaviour, ClicksReachTheToolFromEveryClickableControl) {
  windows.Show(Window::Kelvane);
  windows.Show(Window::Complete);
  SendMessageW(Control(Window::Kelvane, "btnGo"), BM_CLICK, 0, 0);
  ClickStatic(Control(Window::Kelvane, "Label2"));
  ClickStatic(Control(Window::Complete, "Picture1"));
  SendMessageW(Control(Window::Complete, "Finish"), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(events.log, (Log{"click btnGo", "click Label2", "click Picture1", "click Finish"}));
}

TEST_F(WindowBehaviour, ClickingALinkSeveralTimesReportsEachClick) {
  windows.Show(Window::Complete);
  for (int i = 0; i < 3; ++i) {
    ClickStatic(Control(Window::Complete, "Picture1"));
    Sleep(GetDoubleClickTime() + 20);  // apart, so that none is a double click
  }
  EXPECT_EQ(events.log, (Log{"click Picture1", "click Picture1", "click Picture1"}));
}

TEST_F(WindowBehaviour, LabelsWithoutAHandlerReportNothing) {
  windows.Show(Window::Kelvane);
  windows.Show(Window::Complete);
  ClickStatic(Control(Window::Kelvane, "lblKelvane"));
  ClickStatic(Control(Window::Kelvane, "Label1"));
  ClickStatic(Control(Window::Complete, "lblComplete"));
  EXPECT_TRUE(events.log.empty());
}

TEST_F(WindowBehaviour, TheLinkAndTheDonationPictureShowTheUpArrow) {
  windows.Show(Window::Kelvane);
  windows.Show(Window::Complete);
  const HCURSOR upArrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(32516));
  const HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  EXPECT_EQ(CursorOver(Window::Kelvane, "Label2"), upArrow);
  EXPECT_EQ(CursorOver(Window::Complete, "Picture1"), upArrow);
  EXPECT_EQ(CursorOver(Window::Kelvane, "btnGo"), arrow);
  EXPECT_EQ(CursorOver(Window::Kelvane, "lblKelvane"), arrow);
}

TEST_F(WindowBehaviour, TheCloseBoxAsksTheToolAndLeavesTheWindow) {
  windows.Show(Window::Kelvane);
  HWND kelvane = windows.HandleOf(Window::Kelvane);
  SendMessageW(kelvane, WM_CLOSE, 0, 0);
  windows.Show(Window::Complete);
  SendMessageW(windows.HandleOf(Window::Complete), WM_CLOSE, 0, 0);
  EXPECT_EQ(events.log, (Log{"close Kelvane", "close Complete"}));
  EXPECT_TRUE(IsWindow(kelvane));
}

// No exception leaves a window procedure: the tool says what failed and ends.
TEST_F(WindowBehaviour, AFailingHandlerShowsTheErrorBoxAndEndsTheTool) {
  windows.Show(Window::Kelvane);
  events.failOnClose = true;
  std::wstring boxText;
  std::thread answer([&] {
    for (int tries = 0; tries < 500; ++tries, Sleep(10)) {
      HWND box = FindWindowW(L"#32770", L"Kelvane 2010");
      if (!box) continue;
      wchar_t text[256] = L"";
      GetDlgItemTextW(box, 0xFFFF, text, 256);  // the message's static
      boxText = text;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      return;
    }
  });
  SendMessageW(windows.HandleOf(Window::Kelvane), WM_CLOSE, 0, 0);
  answer.join();
  EXPECT_NE(boxText.find(L"handler failed"), std::wstring::npos);
  EXPECT_TRUE(windows.Ended());
}

TEST_F(WindowBehaviour, EndingTheToolClosesEveryWindowAndStopsTheLoop) {
  windows.Show(Window::Loading);
  windows.Hide(Window::Loading);
  windows.Show(Window::Complete);
  const HWND all[] = {windows.HandleOf(Window::Kelvane), windows.HandleOf(Window::Loading),
                      windows.HandleOf(Window::Complete)};
  HWND finish = Control(Window::Complete, "Finish");
  events.endOnFinish = &windows;
  PostMessageW(finish, BM_CLICK, 0, 0);
  EXPECT_EQ(windows.RunMessageLoop(), 0);
  EXPECT_TRUE(windows.Ended());
  for (HWND window : all) EXPECT_FALSE(IsWindow(window));
  // Nothing can reach the tool any more.
  SendMessageW(finish, BM_CLICK, 0, 0);
  EXPECT_EQ(events.log, (Log{"click Finish"}));
}

TEST_F(WindowBehaviour, EndingBeforeTheLoopStartsMakesTheLoopReturnAtOnce) {
  windows.EndTool();
  EXPECT_EQ(windows.RunMessageLoop(), 0);
  EXPECT_EQ(windows.HandleOf(Window::Kelvane), nullptr);
}

TEST_F(WindowBehaviour, TheProgressLineIsPaintedWithNoMessageLoop) {
  windows.Show(Window::Loading);
  Pump();
  HWND label = Control(Window::Loading, "lblLoading");
  ValidateRect(label, nullptr);  // nothing pending: only the repaint can draw
  // Blank the label as a stale screen would be, then set and repaint the
  // caption with no message dispatched in between.
  HDC context = GetDC(label);
  RECT rect{};
  GetClientRect(label, &rect);
  FillRect(context, &rect, GetSysColorBrush(COLOR_BTNFACE));
  ReleaseDC(label, context);
  ASSERT_EQ(InkIn(label), 0);
  platform::ShowProgress(windows, "Uninstalling MSI: Microsoft Office Professional Plus 2010");
  EXPECT_EQ(TextOf(label), L"Uninstalling MSI: Microsoft Office Professional Plus 2010");
  EXPECT_GT(InkIn(label), 50);
}

TEST_F(WindowBehaviour, TheProgressLineStartsAsLoadingPleaseWait) {
  windows.Show(Window::Loading);
  EXPECT_EQ(TextOf(Control(Window::Loading, "lblLoading")), L"Loading Please Wait...");
  EXPECT_GT(InkIn(Control(Window::Loading, "lblLoading")), 50);
}

TEST_F(WindowBehaviour, ThePicturesAreDrawn) {
  windows.Show(Window::Kelvane);
  windows.Show(Window::Complete);
  Pump();
  // Most of a picture button's face is the blue picture, not the button face.
  EXPECT_GT(InkIn(Control(Window::Kelvane, "btnGo")), 54 * 20 / 2);
  EXPECT_GT(InkIn(Control(Window::Complete, "Finish")), 54 * 20 / 2);
  // The donation picture is drawn at the top-left; the rest of the box is bare.
  HWND picture = Control(Window::Complete, "Picture1");
  HDC context = GetDC(picture);
  EXPECT_EQ(GetPixel(context, 150, 48), GetSysColor(COLOR_BTNFACE));  // beyond the 147 x 47 picture
  EXPECT_EQ(GetPixel(context, 0, 46), GetSysColor(COLOR_BTNFACE));    // its transparent corner
  EXPECT_NE(GetPixel(context, 70, 12), GetSysColor(COLOR_BTNFACE));   // the orange button
  ReleaseDC(picture, context);
}

// Pictures grow with the display's DPI smoothly, not in blocks, and stay
// premultiplied where they are partly transparent.
TEST(PictureScaling, ABlackToWhiteEdgeGrowsIntoGreysAndTransparencyStaysPremultiplied) {
  using platform::windows::ui::Pixels;
  const Pixels edge{2, 1, {0xFF000000u, 0xFFFFFFFFu}};
  const Pixels grown = platform::windows::ui::Resampled(edge, 6, 3);
  ASSERT_EQ(grown.values.size(), 18u);
  for (int row = 0; row < 3; ++row) {
    const auto* pixels = &grown.values[static_cast<std::size_t>(row) * 6];
    EXPECT_EQ(pixels[0], 0xFF000000u);
    EXPECT_EQ(pixels[5], 0xFFFFFFFFu);
    // Greys rising from black to white, as a person sees a soft edge.
    for (int x = 1; x < 6; ++x) EXPECT_GE(pixels[x] & 0xFF, pixels[x - 1] & 0xFF);
    EXPECT_GT(pixels[2] & 0xFF, 0x10u);
    EXPECT_LT(pixels[3] & 0xFF, 0xF0u);
  }
  const Pixels halfClear{2, 1, {0x00000000u, 0xFFFFFFFFu}};
  for (std::uint32_t pixel : platform::windows::ui::Resampled(halfClear, 5, 1).values) {
    EXPECT_LE(pixel & 0xFF, pixel >> 24) << std::hex << pixel;
  }
}

}  // namespace
}  // namespace kelvane::ui_test
