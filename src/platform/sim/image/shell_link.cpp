#include "platform/sim/image/shell_link.h"

#include <array>

#include "platform/sim/image/utf.h"

namespace kelvane::platform::sim {

namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::array<unsigned char, 16> kLinkClsid{0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                   0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::uint32_t kHasLinkTargetIdList = 0x01;
constexpr std::uint32_t kHasLinkInfo = 0x02;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x01;
constexpr std::uint32_t kFileAttributeArchive = 0x20;
constexpr std::uint32_t kDriveFixed = 3;
constexpr std::uint32_t kLinkInfoHeaderSize = 0x24;  // with the Unicode offsets

void Put32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}
void Put16(std::string& out, std::uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

std::string Utf16Bytes(const std::u16string& text) {
  std::string out;
  for (char16_t unit : text) Put16(out, unit);
  return out;
}

class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}
  bool Has(std::size_t at, std::size_t count) const { return at <= bytes_.size() && count <= bytes_.size() - at; }
  std::uint32_t U32(std::size_t at) const {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[at + i])) << (8 * i);
    return value;
  }
  std::uint16_t U16(std::size_t at) const {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes_[at]) | (static_cast<unsigned char>(bytes_[at + 1]) << 8));
  }
  std::optional<std::string> AnsiString(std::size_t at, std::size_t end) const {
    std::u16string text;
    for (; at < end && bytes_[at] != '\0'; ++at) text += static_cast<char16_t>(static_cast<unsigned char>(bytes_[at]));
    if (at >= end) return std::nullopt;
    return Utf16ToUtf8(text);
  }
  std::optional<std::string> UnicodeString(std::size_t at, std::size_t end) const {
    std::u16string text;
    for (; at + 1 < end && U16(at) != 0; at += 2) text += static_cast<char16_t>(U16(at));
    if (at + 1 >= end) return std::nullopt;
    return Utf16ToUtf8(text);
  }

 private:
  const std::string& bytes_;
};

}  // namespace

std::string WriteShellLink(const ShellLink& link) {
  const std::u16string target = Utf8ToUtf16(link.targetPath).value_or(u"");
  std::string out;
  Put32(out, kHeaderSize);
  for (unsigned char byte : kLinkClsid) out += static_cast<char>(byte);
  Put32(out, kHasLinkInfo | kIsUnicode);
  Put32(out, kFileAttributeArchive);
  out.append(24, '\0');  // creation, access and write times: not known
  Put32(out, 0);         // file size
  Put32(out, 0);         // icon index
  Put32(out, link.showCommand);
  Put16(out, 0);  // hot key
  out.append(10, '\0');

  std::string volumeId;
  Put32(volumeId, 17);
  Put32(volumeId, kDriveFixed);
  Put32(volumeId, 0x4B454C56);  // serial number
  Put32(volumeId, 0x10);        // the label follows at once
  volumeId += '\0';

  const std::string localBasePath = ToAnsi(target) + '\0';
  const std::string suffix(1, '\0');
  const std::string localBasePathUnicode = Utf16Bytes(target) + std::string(2, '\0');
  const std::string suffixUnicode(2, '\0');
  const std::uint32_t volumeIdOffset = kLinkInfoHeaderSize;
  const auto basePathOffset = static_cast<std::uint32_t>(volumeIdOffset + volumeId.size());
  const auto suffixOffset = static_cast<std::uint32_t>(basePathOffset + localBasePath.size());
  const auto basePathUnicodeOffset = static_cast<std::uint32_t>(suffixOffset + suffix.size());
  const auto suffixUnicodeOffset = static_cast<std::uint32_t>(basePathUnicodeOffset + localBasePathUnicode.size());
  const auto linkInfoSize = static_cast<std::uint32_t>(suffixUnicodeOffset + suffixUnicode.size());

  Put32(out, linkInfoSize);
  Put32(out, kLinkInfoHeaderSize);
  Put32(out, kVolumeIdAndLocalBasePath);
  Put32(out, volumeIdOffset);
  Put32(out, basePathOffset);
  Put32(out, 0);  // no network location
  Put32(out, suffixOffset);
  Put32(out, basePathUnicodeOffset);
  Put32(out, suffixUnicodeOffset);
  out += volumeId + localBasePath + suffix + localBasePathUnicode + suffixUnicode;

  Put32(out, 0);  // terminal block
  return out;
}

std::optional<ShellLink> ReadShellLink(const std::string& bytes) {
  const Reader in(bytes);
  if (!in.Has(0, kHeaderSize) || in.U32(0) != kHeaderSize) return std::nullopt;
  for (std::size_t i = 0; i < kLinkClsid.size(); ++i) {
    if (static_cast<unsigned char>(bytes[4 + i]) != kLinkClsid[i]) return std::nullopt;
  }
  const std::uint32_t flags = in.U32(0x14);
  ShellLink link;
  link.showCommand = in.U32(0x3C);
  std::size_t at = kHeaderSize;
  if (flags & kHasLinkTargetIdList) {
    if (!in.Has(at, 2)) return std::nullopt;
    at += 2 + in.U16(at);
  }
  if (!(flags & kHasLinkInfo) || !in.Has(at, 0x1C)) return std::nullopt;
  const std::uint32_t size = in.U32(at);
  const std::uint32_t headerSize = in.U32(at + 4);
  // The header's fields are read only where the LinkInfo says it holds them:
  // a size or header size that is too small makes the file unreadable, as
  // it does to Windows, rather than a read past its end.
  if (size < 0x1C || !in.Has(at, size) || !(in.U32(at + 8) & kVolumeIdAndLocalBasePath)) return std::nullopt;
  const std::size_t end = at + size;
  std::optional<std::string> base;
  std::optional<std::string> suffix;
  if (headerSize >= 0x24 && size >= 0x24 && in.U32(at + 0x1C) != 0) {
    base = in.UnicodeString(at + in.U32(at + 0x1C), end);
    suffix = in.UnicodeString(at + in.U32(at + 0x20), end);
  } else {
    base = in.AnsiString(at + in.U32(at + 0x10), end);
    suffix = in.AnsiString(at + in.U32(at + 0x18), end);
  }
  if (!base || !suffix) return std::nullopt;
  link.targetPath = *base + *suffix;
  return link;
}

}  // namespace kelvane::platform::sim
