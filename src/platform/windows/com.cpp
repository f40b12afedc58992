#include "platform/windows/com.h"

#include <new>

namespace kelvane::platform::windows {

UniqueBstr Bstr(const std::wstring& text) {
  UniqueBstr copy(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
  if (!copy) throw std::bad_alloc();
  return copy;
}

}  // namespace kelvane::platform::windows
