#include "platform/windows/text_stream.h"

#include <windows.h>

#include "platform/windows/handles.h"
#include "platform/windows/text.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (length == 0) throw LastWin32Error();
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), size, ansi.data(), length, nullptr, nullptr);
  return ansi;
}

std::string FromAnsi(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int size = static_cast<int>(ansi.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  if (length == 0) throw LastWin32Error();
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, text.data(), length);
  return Narrow(text);
}

constexpr std::size_t kLongestText = 1 << 20;

class TextFileStream final : public TextStream {
 public:
  // ANSI text, as the file-system object writes it by default, or UTF-8.
  TextFileStream(UniqueHandle file, bool utf8) : file_(std::move(file)), utf8_(utf8) {}

  void WriteLine(const std::string& text) override {
    if (!file_) throw ErrorFromWin32(ERROR_INVALID_HANDLE);
    const std::string bytes = (utf8_ ? text : ToAnsi(Widen(text))) + "\r\n";
    DWORD written = 0;
    if (!WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) throw LastWin32Error();
  }

  std::string ReadAll() override {
    if (!file_) throw ErrorFromWin32(ERROR_INVALID_HANDLE);
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    // The tool reads only the small records it writes itself.
    while (bytes.size() < kLongestText) {
      if (!ReadFile(file_.get(), buffer, sizeof buffer, &read, nullptr)) throw LastWin32Error();
      if (read == 0) break;
      bytes.append(buffer, read);
    }
    return utf8_ ? bytes : FromAnsi(bytes);
  }

  void Close() override {
    if (!file_) return;
    // Closed here, not in the destructor, so that a failure to write the
    // last of it reaches the caller.
    if (!CloseHandle(file_.release())) throw LastWin32Error();
  }

 private:
  UniqueHandle file_;
  bool utf8_;
};

UniqueHandle CreateNew(const std::wstring& longPath, ACCESS_MASK access) {
  // CREATE_NEW: something made at the name since the caller cleared it
  // fails the call rather than being written through.
  HANDLE file = CreateFileW(longPath.c_str(), access, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw LastWin32Error();
  return UniqueHandle(file);
}

}  // namespace

std::unique_ptr<TextStream> CreateAnsiTextFile(const std::wstring& longPath) {
  return std::make_unique<TextFileStream>(CreateNew(longPath, GENERIC_WRITE), false);
}

std::unique_ptr<TextStream> OpenAnsiTextFileForReading(const std::wstring& longPath) {
  HANDLE file = CreateFileW(longPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw LastWin32Error();
  return std::make_unique<TextFileStream>(UniqueHandle(file), false);
}

std::unique_ptr<TextStream> AppendUtf8Text(UniqueHandle file) {
  return std::make_unique<TextFileStream>(std::move(file), true);
}


}  // namespace kelvane::platform::windows
