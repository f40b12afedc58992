#include "app/window_model.h"

#include <array>

#include "app/addresses.h"

namespace kelvane::app {

namespace {

using platform::Control;
using platform::Window;

constexpr Colour kDarkGrey{64, 64, 64};
constexpr Colour kPureBlue{0, 0, 255};
constexpr Colour kNoColour{0, 0, 0};

constexpr std::array<ControlModel, 4> kKelvaneControls{{
    {"lblKelvane", ControlKind::Label, "Press Go to Remove Microsoft Office 2010", {14.25}, kDarkGrey,
     SystemColour::None, true, 0, 240, 7215, 375, 0, Picture::None, false, false, Control::btnGo, false},
    {"btnGo", ControlKind::PictureButton, "", {}, kNoColour, SystemColour::None, true, 3360, 840, 875, 315, 1,
     Picture::Go, false, true, Control::btnGo, false},
    {"Label1", ControlKind::Label, "Note this will not work on Office 2007. You need  Kelvane 2007", {8.25, 700},
     kNoColour, SystemColour::ButtonText, true, 0, 1680, 7335, 255, 2, Picture::None, false, false, Control::btnGo, false},
    {"Label2", ControlKind::Label, kOffice2007DownloadAddress, {9, 400, true}, kPureBlue, SystemColour::None, true, 0,
     1920, 7335, 255, 3, Picture::None, true, true, Control::Label2, false},
}};

constexpr std::array<ControlModel, 1> kLoadingControls{{
    {"lblLoading", ControlKind::Label, "Loading Please Wait...", {9.75, 700}, kDarkGrey, SystemColour::None, true,
     120, 360, 5655, 255, 0, Picture::None, false, false, Control::btnGo, true},
}};

constexpr std::array<ControlModel, 5> kCompleteControls{{
    {"lblComplete", ControlKind::Label, "Finished Successfully", {12, 700}, kDarkGrey, SystemColour::None, true, 840,
     480, 6015, 375, 0, Picture::None, false, false, Control::Finish, false},
    {"Finish", ControlKind::PictureButton, "", {}, kNoColour, SystemColour::None, true, 3360, 960, 875, 350, 1,
     Picture::Done, false, true, Control::Finish, false},
    {"Label1", ControlKind::Label, "Please support the efforts of a starving coder.", {8.25}, kNoColour,
     SystemColour::ButtonText, true, 0, 1920, 7455, 255, 2, Picture::None, false, false, Control::Finish, false},
    {"Picture1", ControlKind::PictureBox, "", {}, kNoColour, SystemColour::None, false, 2640, 2400, 2295, 735, 3,
     Picture::Donate, true, true, Control::Picture1, false},
    {"Line1", ControlKind::Line, "", {}, kNoColour, SystemColour::WindowText, false, 120, 1560, 7320, 0, -1,
     Picture::None, false, false, Control::Finish, false},
}};

constexpr std::array<WindowModel, 3> kWindows{{
    {Window::Kelvane, kMainWindowCaption, 7380, 2385, Border::FixedSingle, true, true, true, "btnGo",
     kKelvaneControls},
    {Window::Loading, "Working...", 5910, 960, Border::FixedDialog, false, false, false, "", kLoadingControls},
    {Window::Complete, "Complete", 7515, 3510, Border::FixedSingle, true, true, false, "Finish", kCompleteControls},
}};

}  // namespace

const WindowModel& ModelOf(Window window) {
  for (const auto& model : kWindows) {
    if (model.window == window) return model;
  }
  return kWindows[0];
}

}  // namespace kelvane::app
