#include "platform/windows/ui/picture.h"

#include <wincodec.h>

#include <algorithm>

#include "platform/windows/com.h"
#include "platform/windows/ui/picture_scaling.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows::ui {

Picture Picture::FromResource(HINSTANCE instance, int resourceId, int dpi) {
  HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!resource) throw LastWin32Error();
  HGLOBAL loaded = LoadResource(instance, resource);
  if (!loaded) throw LastWin32Error();
  auto* bytes = static_cast<BYTE*>(LockResource(loaded));
  const DWORD size = SizeofResource(instance, resource);

  ComPtr<IWICImagingFactory> factory;
  Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory, factory.PutVoid()));
  ComPtr<IWICStream> stream;
  Check(factory->CreateStream(stream.Put()));
  Check(stream->InitializeFromMemory(bytes, size));
  ComPtr<IWICBitmapDecoder> decoder;
  Check(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Put()));
  ComPtr<IWICBitmapFrameDecode> frame;
  Check(decoder->GetFrame(0, frame.Put()));
  ComPtr<IWICFormatConverter> converter;
  Check(factory->CreateFormatConverter(converter.Put()));
  Check(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                              WICBitmapPaletteTypeCustom));
  UINT decodedWidth = 0, decodedHeight = 0;
  Check(converter->GetSize(&decodedWidth, &decodedHeight));
  Pixels decoded{static_cast<int>(decodedWidth), static_cast<int>(decodedHeight),
                 std::vector<std::uint32_t>(static_cast<std::size_t>(decodedWidth) * decodedHeight)};
  Check(converter->CopyPixels(nullptr, decodedWidth * 4, decodedWidth * 4 * decodedHeight,
                              reinterpret_cast<BYTE*>(decoded.values.data())));
  // Drawn at the display's DPI, as the windows are laid out; scaled in
  // premultiplied colours, so that a transparent edge does not bleed its
  // hidden colour into the picture.
  const Pixels drawn = dpi == 96 ? std::move(decoded)
                                 : Resampled(decoded, MulDiv(decoded.width, dpi, 96), MulDiv(decoded.height, dpi, 96));
  const auto width = static_cast<UINT>(drawn.width), height = static_cast<UINT>(drawn.height);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as WIC copies rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  GdiHandle<HBITMAP> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  if (!bitmap) throw LastWin32Error();
  std::copy(drawn.values.begin(), drawn.values.end(), static_cast<std::uint32_t*>(pixels));
  return Picture(std::move(bitmap), static_cast<int>(width), static_cast<int>(height));
}

void Picture::Draw(HDC target, int x, int y) const {
  const MemoryDc source(CreateCompatibleDC(target));
  if (!source) return;
  const SelectedObject selected(source.get(), bitmap_.get());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  // gdi32's own: msimg32 (AlphaBlend) would load from the executable's folder.
  GdiAlphaBlend(target, x, y, width_, height_, source.get(), 0, 0, width_, height_, blend);
}

}  // namespace kelvane::platform::windows::ui
