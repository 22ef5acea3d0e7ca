#include "win32/picture.h"

#include "win32/error.h"

namespace zorvin::win32 {

Picture LoadBitmapResource(HINSTANCE module, int id, const std::wstring& operation) {
  // A DIB section keeps the resource's pixels as they are, whatever the screen's format.
  Picture picture;
  picture.bitmap.Reset(
      static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  BITMAP format{};
  Check(picture.bitmap && GetObjectW(picture.bitmap.Get(), sizeof(format), &format) == sizeof(format), operation);
  picture.width = format.bmWidth;
  picture.height = format.bmHeight < 0 ? -format.bmHeight : format.bmHeight;
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
