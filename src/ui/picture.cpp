#include "ui/picture.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstring>

#include "ui/ui_error.h"

namespace zorvin::ui {
namespace {

const wchar_t* const kOperation = L"load the background picture";

void CheckHr(HRESULT hr) { Check(SUCCEEDED(hr), kOperation); }

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (ptr_ != nullptr) ptr_->Release();
  }
  Interface* operator->() const { return ptr_; }
  Interface* Get() const { return ptr_; }
  Interface** Put() { return &ptr_; }

 private:
  Interface* ptr_ = nullptr;
};

// COM for the calling thread, for as long as the decoding takes.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }

 private:
  HRESULT hr_;
};

}  // namespace

Picture LoadJpegResource(HINSTANCE module, int id) {
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  Check(info != nullptr, kOperation);
  HGLOBAL loaded = LoadResource(module, info);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, info);
  Check(bytes != nullptr && size > 0, kOperation);

  const ComScope com;
  ComPtr<IWICImagingFactory> factory;
  CheckHr(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           reinterpret_cast<void**>(factory.Put())));
  ComPtr<IWICStream> stream;
  CheckHr(factory->CreateStream(stream.Put()));
  CheckHr(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)), size));
  ComPtr<IWICBitmapDecoder> decoder;
  CheckHr(
      factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Put()));
  ComPtr<IWICBitmapFrameDecode> frame;
  CheckHr(decoder->GetFrame(0, frame.Put()));
  ComPtr<IWICFormatConverter> pixels;
  CheckHr(factory->CreateFormatConverter(pixels.Put()));
  CheckHr(pixels->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                             WICBitmapPaletteTypeCustom));
  UINT width = 0, height = 0;
  CheckHr(pixels->GetSize(&width, &height));
  Check(width > 0 && height > 0 && width < 4096 && height < 4096, kOperation);

  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(format.bmiHeader);
  format.bmiHeader.biWidth = static_cast<LONG>(width);
  format.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down rows, as WIC delivers them
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Picture picture;
  picture.bitmap.Reset(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  Check(picture.bitmap && bits != nullptr, kOperation);
  const UINT stride = width * 4;
  CheckHr(pixels->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)));
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  return picture;
}

}  // namespace zorvin::ui
