#include "platform/windows/ui/picture.h"

#include <wincodec.h>
#include <wrl/client.h>

#include "platform/windows/win_error.h"

namespace kelvane::platform::windows::ui {

using Microsoft::WRL::ComPtr;

namespace {

// WICBitmapInterpolationModeHighQualityCubic (Windows 10), which MinGW-w64's
// headers predate.
constexpr auto kHighQualityCubic = static_cast<WICBitmapInterpolationMode>(4);

// WIC's best scaler: high-quality cubic from Windows 10 on; Fant (which
// averages, and is what Windows 7 and 8 have) where that mode is refused.
ComPtr<IWICBitmapSource> Scaled(IWICImagingFactory& factory, IWICBitmapSource* source, int dpi) {
  UINT width = 0, height = 0;
  Check(source->GetSize(&width, &height));
  const auto scale = [dpi](UINT pixels) { return static_cast<UINT>(MulDiv(static_cast<int>(pixels), dpi, 96)); };
  ComPtr<IWICBitmapScaler> scaler;
  Check(factory.CreateBitmapScaler(&scaler));
  if (FAILED(scaler->Initialize(source, scale(width), scale(height), kHighQualityCubic))) {
    Check(scaler->Initialize(source, scale(width), scale(height), WICBitmapInterpolationModeFant));
  }
  return scaler;
}

}  // namespace

Picture Picture::FromResource(HINSTANCE instance, int resourceId, int dpi) {
  HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!resource) throw LastWin32Error();
  HGLOBAL loaded = LoadResource(instance, resource);
  if (!loaded) throw LastWin32Error();
  auto* bytes = static_cast<BYTE*>(LockResource(loaded));
  const DWORD size = SizeofResource(instance, resource);

  ComPtr<IWICImagingFactory> factory;
  Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)));
  ComPtr<IWICStream> stream;
  Check(factory->CreateStream(&stream));
  Check(stream->InitializeFromMemory(bytes, size));
  ComPtr<IWICBitmapDecoder> decoder;
  Check(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder));
  ComPtr<IWICBitmapFrameDecode> frame;
  Check(decoder->GetFrame(0, &frame));
  ComPtr<IWICFormatConverter> converter;
  Check(factory->CreateFormatConverter(&converter));
  Check(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                              WICBitmapPaletteTypeCustom));
  // Scaled after the conversion, in premultiplied colours, so that a
  // transparent edge does not bleed its hidden colour into the picture.
  ComPtr<IWICBitmapSource> pixelsSource = converter;
  if (dpi != 96) pixelsSource = Scaled(*factory.Get(), converter.Get(), dpi);
  UINT width = 0, height = 0;
  Check(pixelsSource->GetSize(&width, &height));

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
  const UINT stride = width * 4;
  Check(pixelsSource->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(pixels)));
  return Picture(std::move(bitmap), static_cast<int>(width), static_cast<int>(height));
}

void Picture::Draw(HDC target, int x, int y) const {
  HDC source = CreateCompatibleDC(target);
  if (!source) return;
  HGDIOBJ previous = SelectObject(source, bitmap_.get());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(target, x, y, width_, height_, source, 0, 0, width_, height_, blend);
  SelectObject(source, previous);
  DeleteDC(source);
}

}  // namespace kelvane::platform::windows::ui
