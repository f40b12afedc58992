#include "platform/windows/shortcut.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include "platform/windows/com.h"
#include "platform/windows/text.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

class ShellLinkShortcut final : public Shortcut {
 public:
  explicit ShellLinkShortcut(const std::string& linkPath) : path_(Widen(linkPath)) {
    Check(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link_.PutVoid()));
  }

  void SetTargetPath(const std::string& targetPath) override { Check(link_->SetPath(Widen(targetPath).c_str())); }

  void SetWindowStyle(std::int16_t windowStyle) override { Check(link_->SetShowCmd(windowStyle)); }

  void Save() override {
    ComPtr<IPersistFile> file;
    Check(link_->QueryInterface(IID_IPersistFile, file.PutVoid()));
    Check(file->Save(path_.c_str(), TRUE));
  }

 private:
  std::wstring path_;
  ComPtr<IShellLinkW> link_;
};

}  // namespace

std::unique_ptr<Shortcut> MakeShortcut(const std::string& linkPath) {
  return std::make_unique<ShellLinkShortcut>(linkPath);
}

}  // namespace kelvane::platform::windows
