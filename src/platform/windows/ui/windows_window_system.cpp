#include "platform/windows/ui/windows_window_system.h"

#include <algorithm>
#include <cstring>

#include "platform/windows/text.h"
#include "platform/windows/ui/failure_barrier.h"
#include "platform/windows/ui/form_layout.h"
#include "platform/windows/ui/resources/resource_ids.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows::ui {

namespace {

constexpr wchar_t kFormClass[] = L"Kelvane2010Form";
// Control identifiers: the control's index in its window's model, offset so
// that none is IDOK or IDCANCEL, which dialog navigation treats specially.
constexpr int kFirstControlId = 100;

constexpr Window kWindows[] = {Window::Kelvane, Window::Loading, Window::Complete};

std::size_t IndexOf(Window window) { return static_cast<std::size_t>(window); }

int ScreenDpi() {
  const ScreenDc screen(GetDC(nullptr));
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  return dpi > 0 ? dpi : 96;
}

int ResourceOf(platform::Picture picture) {
  switch (picture) {
    case platform::Picture::Go: return IDR_GO_PICTURE;
    case platform::Picture::Done: return IDR_DONE_PICTURE;
    case platform::Picture::Donate: return IDR_DONATE_PICTURE;
    case platform::Picture::None: break;
  }
  return 0;
}

void RegisterFormClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW form{};
  form.cbSize = sizeof form;
  form.lpfnWndProc = procedure;
  form.hInstance = instance;
  form.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
  form.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  form.lpszClassName = kFormClass;
  // No class icon: only the window whose model asks for it gets one.
  if (!RegisterClassExW(&form) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) throw LastWin32Error();
}

}  // namespace

WindowsWindowSystem::WindowsWindowSystem(HINSTANCE instance) : instance_(instance), dpi_(ScreenDpi()) {
  RegisterFormClass(instance_, &WindowsWindowSystem::Procedure);
  for (Window window : kWindows) forms_[IndexOf(window)].model = &platform::ModelOf(window);
  // The main window exists from start-up, before its load step decides
  // whether it is ever shown.
  Ensure(Window::Kelvane);
}

WindowsWindowSystem::~WindowsWindowSystem() {
  for (auto& form : forms_) {
    if (form.handle) DestroyWindow(form.handle);
  }
  if (hiddenOwner_) DestroyWindow(hiddenOwner_);
}

int WindowsWindowSystem::RunMessageLoop() {
  MSG message;
  while (!ended_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    // Tab and the space bar move between and press controls, as in a dialog.
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && FormOf(root) && IsDialogMessageW(root, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return exitCode_;
}

WindowsWindowSystem::Form& WindowsWindowSystem::Ensure(Window window) {
  Form& form = forms_[IndexOf(window)];
  if (!form.handle && !ended_) Create(form);
  return form;
}

void WindowsWindowSystem::Create(Form& form) {
  const platform::WindowModel& model = *form.model;
  const FrameStyle frame = FrameStyleOf(model);
  const SIZE outer = OuterSizeOf(model, dpi_);
  const POINT corner = CentredOn(outer, {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  HWND owner = OwnedOffTheTaskbar(model) ? HiddenOwner() : nullptr;
  HWND handle = CreateWindowExW(frame.exStyle, kFormClass, Widen(std::string(model.caption)).c_str(), frame.style,
                                corner.x, corner.y, outer.cx, outer.cy, owner, nullptr, instance_, this);
  if (!handle) throw LastWin32Error();
  form.handle = handle;

  if (model.applicationIcon) {
    const int big = GetSystemMetrics(SM_CXICON), small = GetSystemMetrics(SM_CXSMICON);
    auto load = [&](int size) {
      return reinterpret_cast<LPARAM>(
          LoadImageW(instance_, MAKEINTRESOURCEW(IDI_KELVANE), IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED));
    };
    SendMessageW(handle, WM_SETICON, ICON_BIG, load(big));
    SendMessageW(handle, WM_SETICON, ICON_SMALL, load(small));
  }

  // Created in tab order, which is the model's order: the z-order is the
  // order Tab moves in.
  form.controls.assign(model.controls.size(), nullptr);
  for (std::size_t i = 0; i < model.controls.size(); ++i) {
    const platform::ControlModel& control = model.controls[i];
    if (!HasWindow(control)) continue;
    if (control.picture != platform::Picture::None) PictureFor(control.picture);
    const RECT rect = PixelRectOf(control, dpi_);
    HWND child = CreateWindowExW(0, ClassOf(control), Widen(std::string(control.text)).c_str(), StyleOf(control),
                                 rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, handle,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)), instance_,
                                 nullptr);
    if (!child) throw LastWin32Error();
    if (control.font.points > 0) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control.font)), FALSE);
    form.controls[i] = child;
  }
}

HWND WindowsWindowSystem::HiddenOwner() {
  // Never shown: a window it owns gets no taskbar button of its own.
  if (!hiddenOwner_) {
    hiddenOwner_ = CreateWindowExW(0, kFormClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, nullptr);
    if (!hiddenOwner_) throw LastWin32Error();
  }
  return hiddenOwner_;
}

HFONT WindowsWindowSystem::FontFor(const platform::Font& font) {
  const LOGFONTW wanted = LogFontOf(font, dpi_);
  for (const auto& [log, handle] : fonts_) {
    if (std::memcmp(&log, &wanted, sizeof log) == 0) return handle.get();
  }
  GdiHandle<HFONT> created(CreateFontIndirectW(&wanted));
  if (!created) throw LastWin32Error();
  return fonts_.emplace_back(wanted, std::move(created)).second.get();
}

const Picture& WindowsWindowSystem::PictureFor(platform::Picture picture) {
  auto found = pictures_.find(picture);
  if (found == pictures_.end()) {
    found = pictures_.emplace(picture, Picture::FromResource(instance_, ResourceOf(picture), dpi_)).first;
  }
  return found->second;
}

WindowsWindowSystem::Form* WindowsWindowSystem::FormOf(HWND handle) {
  for (auto& form : forms_) {
    if (form.handle && form.handle == handle) return &form;
  }
  return nullptr;
}

const platform::ControlModel* WindowsWindowSystem::ControlModelOf(const Form& form, HWND control) const {
  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    if (form.controls[i] && form.controls[i] == control) return &form.model->controls[i];
  }
  return nullptr;
}

HWND WindowsWindowSystem::HandleOf(Window window) const { return forms_[IndexOf(window)].handle; }

HWND WindowsWindowSystem::ControlOf(Window window, std::string_view name) const {
  const Form& form = forms_[IndexOf(window)];
  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    if (form.model->controls[i].name == name) return form.controls[i];
  }
  return nullptr;
}

void WindowsWindowSystem::Show(Window window) {
  Form& form = Ensure(window);
  if (!form.handle) return;
  ShowWindow(form.handle, SW_SHOW);
  SetForegroundWindow(form.handle);
  SetActiveWindow(form.handle);
  FocusControlOf(form);
  // Painted now: the removal sequence may keep the thread busy, with no
  // message loop, for as long as it runs.
  RedrawWindow(form.handle, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
}

void WindowsWindowSystem::FocusControlOf(Form& form) {
  HWND control = form.lastFocus && IsChild(form.handle, form.lastFocus) ? form.lastFocus : nullptr;
  const std::string_view focus = form.model->focusControl;
  if (!control && !focus.empty()) control = ControlOf(form.model->window, focus);
  if (control) SetFocus(control);
}

void WindowsWindowSystem::Hide(Window window) {
  if (HWND handle = HandleOf(window)) ShowWindow(handle, SW_HIDE);
}

void WindowsWindowSystem::SetProgressCaption(const std::string& text) {
  Ensure(Window::Loading);
  if (HWND label = ControlOf(Window::Loading, kProgressLine)) SetWindowTextW(label, Widen(text).c_str());
}

void WindowsWindowSystem::RepaintProgress() {
  HWND label = ControlOf(Window::Loading, kProgressLine);
  if (!label) return;
  // Erase and paint straight away, not when a message loop next runs.
  RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  GdiFlush();
}

void WindowsWindowSystem::SetCompletionText(const std::string& text) {
  Ensure(Window::Complete);
  if (HWND label = ControlOf(Window::Complete, kCompletionLabel)) SetWindowTextW(label, Widen(text).c_str());
}

void WindowsWindowSystem::ShowErrorBox(const std::string& title, const std::string& text) {
  // Owned by the window on screen, which stays disabled until the box is
  // closed; with none on screen, task-modal.
  HWND owner = nullptr;
  for (const auto& form : forms_) {
    if (form.handle && IsWindowVisible(form.handle)) owner = form.handle;
  }
  if (!MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(),
                   MB_OK | MB_ICONERROR | MB_SETFOREGROUND | (owner ? MB_APPLMODAL : MB_TASKMODAL))) {
    throw LastWin32Error();
  }
}

void WindowsWindowSystem::EndTool(int exitCode) {
  ended_ = true;
  exitCode_ = exitCode;
  for (auto& form : forms_) {
    HWND handle = form.handle;
    form.handle = nullptr;
    form.controls.clear();
    if (handle) DestroyWindow(handle);
  }
  // Wakes the message loop so that it sees the end.
  PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

LRESULT CALLBACK WindowsWindowSystem::Procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* self = reinterpret_cast<WindowsWindowSystem*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
  Form* form = self ? self->FormOf(handle) : nullptr;
  if (!form) return DefWindowProcW(handle, message, wParam, lParam);
  try {
    return self->Handle(*form, message, wParam, lParam);
  } catch (...) {
    // Nothing may unwind through the system's frames that called this.
    ShowFailureAndEnd(*self, std::current_exception());
    return 0;
  }
}

LRESULT WindowsWindowSystem::Handle(Form& form, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      // BN_CLICKED from a button and STN_CLICKED from a static are both 0;
      // double clicks have no handler.
      if (HIWORD(wParam) != BN_CLICKED) break;
      const platform::ControlModel* control = ControlModelOf(form, reinterpret_cast<HWND>(lParam));
      // The handler may end the tool and destroy this window: touch nothing after it.
      if (control && control->click && events_ && !ended_) events_->Clicked(*control->click);
      return 0;
    }
    case DM_GETDEFID: {
      // Enter, through the dialog navigation: the focused picture button is
      // the default one, so Enter presses it as it would any Windows button.
      // Elsewhere Enter does nothing.
      HWND focus = GetFocus();
      const platform::ControlModel* control = ControlModelOf(form, focus);
      if (!control || control->kind != platform::ControlKind::PictureButton) return 0;
      return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
    }
    case WM_CLOSE:
      // The tool decides; the window is never destroyed here.
      if (events_ && !ended_) events_->CloseRequested(form.model->window);
      return 0;
    case WM_CTLCOLORSTATIC: {
      const platform::ControlModel* control = ControlModelOf(form, reinterpret_cast<HWND>(lParam));
      if (!control) break;
      HDC context = reinterpret_cast<HDC>(wParam);
      SetTextColor(context, TextColourOf(*control));
      SetBkColor(context, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR: {
      const platform::ControlModel* control = ControlModelOf(form, reinterpret_cast<HWND>(wParam));
      if (control && control->upArrowPointer && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32516) /* IDC_UPARROW */));
        return TRUE;
      }
      break;
    }
    case WM_ACTIVATE:
      // As a dialog does: the focus leaves with the window and comes back to
      // the same control, never to the window itself.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(form.handle, focus)) form.lastFocus = focus;
      } else {
        FocusControlOf(form);
      }
      return 0;
    case WM_SETFOCUS:
      FocusControlOf(form);
      return 0;
    case WM_DRAWITEM:
      DrawControl(form, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_PAINT:
      Paint(form);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(form.handle, message, wParam, lParam);
}

void WindowsWindowSystem::Paint(const Form& form) {
  PAINTSTRUCT paint;
  HDC context = BeginPaint(form.handle, &paint);
  for (const platform::ControlModel& control : form.model->controls) {
    if (control.kind != platform::ControlKind::Line) continue;
    // One pixel wide, from its start point up to its end point.
    const RECT rect = PixelRectOf(control, dpi_);
    const RECT pixels{rect.left, rect.top, std::max(rect.right, rect.left + 1), std::max(rect.bottom, rect.top) + 1};
    FillRect(context, &pixels, GetSysColorBrush(COLOR_WINDOWTEXT));
  }
  EndPaint(form.handle, &paint);
}

void WindowsWindowSystem::DrawControl(const Form& form, const DRAWITEMSTRUCT& item) {
  const platform::ControlModel* control = ControlModelOf(form, item.hwndItem);
  if (!control || control->picture == platform::Picture::None) return;
  const Picture& picture = PictureFor(control->picture);
  RECT rect = item.rcItem;
  FillRect(item.hDC, &rect, GetSysColorBrush(COLOR_BTNFACE));
  if (control->kind == platform::ControlKind::PictureBox) {
    picture.Draw(item.hDC, rect.left, rect.top);
    return;
  }
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  DrawFrameControl(item.hDC, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  const int shift = pushed ? 1 : 0;
  const int x = rect.left + (rect.right - rect.left - picture.width()) / 2 + shift;
  const int y = rect.top + (rect.bottom - rect.top - picture.height()) / 2 + shift;
  picture.Draw(item.hDC, x, y);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = rect;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(item.hDC, &focus);
  }
}

}  // namespace kelvane::platform::windows::ui
