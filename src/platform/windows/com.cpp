#include "platform/windows/com.h"

#include <new>

namespace kelvane::platform::windows {

Bstr::Bstr(const std::wstring& text) : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
  if (!text_) throw std::bad_alloc();
}

}  // namespace kelvane::platform::windows
