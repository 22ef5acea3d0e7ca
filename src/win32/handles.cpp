#include "win32/handles.h"

#include "win32/error.h"

namespace zorvin::win32 {

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
