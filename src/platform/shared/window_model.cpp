#include "platform/shared/window_model.h"

#include <array>

#include "platform/shared/addresses.h"

namespace kelvane::platform {

namespace {

constexpr Colour kDarkGrey{64, 64, 64};
constexpr Colour kPureBlue{0, 0, 255};

constexpr std::array<ControlModel, 4> kKelvaneControls{{
    {.name = "lblKelvane", .text = "Press Go to Remove Microsoft Office 2010", .font = {14.25},
     .textColour = kDarkGrey, .centred = true, .left = 0, .top = 240, .width = 7215, .height = 375, .tabIndex = 0},
    {.name = "btnGo", .kind = ControlKind::PictureButton, .centred = true, .left = 3360, .top = 840, .width = 875,
     .height = 315, .tabIndex = 1, .picture = Picture::Go, .click = Control::btnGo},
    {.name = "Label1", .text = "Note this will not work on Office 2007. You need  Kelvane 2007", .font = {8.25, 700},
     .systemTextColour = SystemColour::ButtonText, .centred = true, .left = 0, .top = 1680, .width = 7335,
     .height = 255, .tabIndex = 2},
    {.name = "Label2", .text = kOffice2007DownloadAddress, .font = {9, 400, true}, .textColour = kPureBlue,
     .centred = true, .left = 0, .top = 1920, .width = 7335, .height = 255, .tabIndex = 3, .upArrowPointer = true,
     .click = Control::Label2},
}};

constexpr std::array<ControlModel, 1> kLoadingControls{{
    {.name = kProgressLine, .text = "Loading Please Wait...", .font = {9.75, 700}, .textColour = kDarkGrey,
     .centred = true, .left = 120, .top = 360, .width = 5655, .height = 255, .tabIndex = 0, .elidesMiddle = true},
}};

constexpr std::array<ControlModel, 5> kCompleteControls{{
    {.name = kCompletionLabel, .text = kFinishedText, .font = {12, 700}, .textColour = kDarkGrey,
     .centred = true, .left = 840, .top = 480, .width = 6015, .height = 375, .tabIndex = 0},
    {.name = "Finish", .kind = ControlKind::PictureButton, .centred = true, .left = 3360, .top = 960, .width = 875,
     .height = 350, .tabIndex = 1, .picture = Picture::Done, .click = Control::Finish},
    {.name = "Label1", .text = "Please support the efforts of a starving coder.", .font = {8.25},
     .systemTextColour = SystemColour::ButtonText, .centred = true, .left = 0, .top = 1920, .width = 7455,
     .height = 255, .tabIndex = 2},
    {.name = "Picture1", .kind = ControlKind::PictureBox, .left = 2640, .top = 2400, .width = 2295, .height = 735,
     .tabIndex = 3, .picture = Picture::Donate, .upArrowPointer = true, .click = Control::Picture1},
    {.name = "Line1", .kind = ControlKind::Line, .systemTextColour = SystemColour::WindowText, .left = 120,
     .top = 1560, .width = 7320, .height = 0},
}};

constexpr std::array<WindowModel, 3> kWindows{{
    {.window = Window::Kelvane, .caption = kMainWindowCaption, .clientWidth = 7380, .clientHeight = 2385,
     .closeBox = true, .taskbarButton = true, .applicationIcon = true, .focusControl = "btnGo",
     .controls = kKelvaneControls},
    {.window = Window::Loading, .caption = "Working...", .clientWidth = 5910, .clientHeight = 960,
     .border = Border::FixedDialog, .controls = kLoadingControls},
    {.window = Window::Complete, .caption = "Complete", .clientWidth = 7515, .clientHeight = 3510, .closeBox = true,
     .taskbarButton = true, .focusControl = "Finish", .controls = kCompleteControls},
}};

}  // namespace

const WindowModel& ModelOf(Window window) {
  for (const auto& model : kWindows) {
    if (model.window == window) return model;
  }
  return kWindows[0];
}

std::string_view WindowName(Window window) {
  switch (window) {
    case Window::Kelvane: return "Kelvane";
    case Window::Loading: return "Loading";
    case Window::Complete: return "Complete";
  }
  return "?";
}

std::string_view ControlName(Control control) {
  switch (control) {
    case Control::btnGo: return "btnGo";
    case Control::Label2: return "Label2";
    case Control::Finish: return "Finish";
    case Control::Picture1: return "Picture1";
  }
  return "?";
}

}  // namespace kelvane::platform
