#include "platform/shared/window_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvane::platform {
namespace {

// Every caption and text of the three windows, as every platform renders them.
TEST(WindowModel, TheWindowsCaptionsAndTextsAreTheTools) {
  std::vector<std::string> shown;
  for (const Window window : {Window::Kelvane, Window::Loading, Window::Complete}) {
    const WindowModel& model = ModelOf(window);
    shown.push_back(std::string(WindowName(window)) + ": " + std::string(model.caption));
    for (const ControlModel& control : model.controls) {
      if (!control.text.empty()) shown.push_back(std::string(control.name) + ": " + std::string(control.text));
    }
  }
  EXPECT_EQ(shown, (std::vector<std::string>{
                       "Kelvane: Kelvane 2010 - www.kelvane.example",
                       "lblKelvane: Press Go to Remove Microsoft Office 2010",
                       "Label1: Note this will not work on Office 2007. You need  Kelvane 2007",
                       "Label2: http://www.kelvane.example/downloads/kelvane2007.exe",
                       "Loading: Working...",
                       "lblLoading: Loading Please Wait...",
                       "Complete: Complete",
                       "lblComplete: Finished Successfully",
                       "Label1: Please support the efforts of a starving coder.",
                   }));
}

}  // namespace
}  // namespace kelvane::platform
