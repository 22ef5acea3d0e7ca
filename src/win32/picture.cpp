#include "win32/picture.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstring>

#include "win32/error.h"

namespace zorvin::win32 {
namespace {

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

Picture LoadJpegResource(HINSTANCE module, int id, const std::wstring& operation) {
  const auto checkHr = [&](HRESULT hr) { Check(SUCCEEDED(hr), operation); };
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  Check(info != nullptr, operation);
  HGLOBAL loaded = LoadResource(module, info);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, info);
  Check(bytes != nullptr && size > 0, operation);

  const ComScope com;
  ComPtr<IWICImagingFactory> factory;
  checkHr(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           reinterpret_cast<void**>(factory.Put())));
  ComPtr<IWICStream> stream;
  checkHr(factory->CreateStream(stream.Put()));
  checkHr(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)), size));
  ComPtr<IWICBitmapDecoder> decoder;
  checkHr(
      factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Put()));
  ComPtr<IWICBitmapFrameDecode> frame;
  checkHr(decoder->GetFrame(0, frame.Put()));
  ComPtr<IWICFormatConverter> pixels;
  checkHr(factory->CreateFormatConverter(pixels.Put()));
  checkHr(pixels->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                             WICBitmapPaletteTypeCustom));
  UINT width = 0, height = 0;
  checkHr(pixels->GetSize(&width, &height));
  Check(width > 0 && height > 0 && width < 4096 && height < 4096, operation);

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
  Check(picture.bitmap && bits != nullptr, operation);
  const UINT stride = width * 4;
  checkHr(pixels->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)));
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  return picture;
}

MemoryDc::MemoryDc(HDC like, HBITMAP bitmap, const std::wstring& operation) : dc_(CreateCompatibleDC(like)) {
  Check(dc_ != nullptr, operation);
  previous_ = SelectObject(dc_, bitmap);
  if (previous_ == nullptr || previous_ == HGDI_ERROR) {
    DeleteDC(dc_);
    Fail(operation);
  }
}

MemoryDc::~MemoryDc() {
  SelectObject(dc_, previous_);
  DeleteDC(dc_);
}

}  // namespace zorvin::win32
