#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/interface/window_system.h"

namespace kelvane::platform {

// The three windows as data: every platform renders them from here.
// Positions and sizes are in twips (15 to a pixel at 96 dpi), relative to
// the client area's top-left corner.

inline constexpr int kTwipsPerPixel = 15;

// The progress line: the label on Loading whose caption every phase sets.
inline constexpr std::string_view kProgressLine = "lblLoading";

// The completion label, and what it says: the run's outcome as the inventory
// found it at the end.
inline constexpr std::string_view kCompletionLabel = "lblComplete";
inline constexpr std::string_view kFinishedText = "Finished Successfully";
inline constexpr std::string_view kItemsRemainText = "Some items could not be removed";

struct Colour {
  std::uint8_t red, green, blue;
};
// The current system colours by role, where a window or control uses them.
enum class SystemColour { None, ButtonFace, ButtonText, WindowText };

struct Font {
  double points = 0;  // 0: the control draws no text
  int weight = 400;   // 400 regular, 700 bold
  bool underline = false;
  std::string_view face = "Verdana";  // ANSI character set
};

enum class ControlKind { Label, PictureButton, PictureBox, Line };
enum class Picture { None, Go, Done, Donate };

struct ControlModel {
  std::string_view name = {};
  ControlKind kind = ControlKind::Label;
  std::string_view text = {};  // a label's caption
  Font font = {};
  Colour textColour{0, 0, 0};
  SystemColour systemTextColour = SystemColour::None;  // overrides textColour when not None
  bool centred = false;
  int left = 0, top = 0, width = 0, height = 0;  // a line: from (left, top) to (left + width, top + height)
  int tabIndex = -1;                             // -1: not in the tab order
  Picture picture = Picture::None;
  bool upArrowPointer = false;  // the up-arrow mouse pointer while over it
  // The click it reports; none for a control without a click handler.
  std::optional<Control> click = std::nullopt;
  bool elidesMiddle = false;  // one line; a longer text loses its middle, so its end stays visible
};

enum class Border { FixedSingle, FixedDialog };

struct WindowModel {
  Window window = Window::Kelvane;
  std::string_view caption = {};
  int clientWidth = 0, clientHeight = 0;
  Border border = Border::FixedSingle;
  bool closeBox = false;
  bool taskbarButton = false;
  bool applicationIcon = false;
  std::string_view focusControl = {};  // the control with the keyboard focus when shown
  std::span<const ControlModel> controls = {};
};

const WindowModel& ModelOf(Window window);

// The names the windows and the controls have in the model, and in logs.
std::string_view WindowName(Window window);
std::string_view ControlName(Control control);

// Pixels at 96 dpi.
constexpr int Pixels(int twips) { return twips / kTwipsPerPixel; }

}  // namespace kelvane::platform
