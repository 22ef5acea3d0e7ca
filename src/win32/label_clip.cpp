#include "win32/label_clip.h"

#include <string>

#include "win32/error.h"
#include "win32/handles.h"

namespace zorvin::win32 {
namespace {

void ClipLabel(std::span<const HWND> controls, std::span<const ControlDesign> rows, std::size_t label,
               const std::wstring& operation) {
  HWND hwnd = controls[label];
  RECT own{};
  Check(GetWindowRect(hwnd, &own), operation);
  Region visible(CreateRectRgn(0, 0, own.right - own.left, own.bottom - own.top));
  Check(static_cast<bool>(visible), operation);
  bool covered = false;
  for (std::size_t index = 0; index < controls.size(); ++index) {
    if (rows[index].kind == ControlKind::Label) continue;
    RECT theirs{};
    Check(GetWindowRect(controls[index], &theirs), operation);
    RECT overlap{};
    if (!IntersectRect(&overlap, &own, &theirs)) continue;
    OffsetRect(&overlap, -own.left, -own.top);
    const Region cut(CreateRectRgnIndirect(&overlap));
    Check(cut && CombineRgn(visible.Get(), visible.Get(), cut.Get(), RGN_DIFF) != ERROR, operation);
    covered = true;
  }
  // Once set, the region belongs to the system.
  Check(SetWindowRgn(hwnd, covered ? visible.Get() : nullptr, TRUE) != 0, operation);
  if (covered) visible.Release();
}

}  // namespace

void ClipLabelsBeneathControls(std::span<const HWND> controls, std::span<const ControlDesign> rows,
                               std::wstring_view windowName) {
  for (std::size_t index = 0; index < controls.size(); ++index) {
    if (rows[index].kind != ControlKind::Label) continue;
    ClipLabel(controls, rows, index, QualifiedName(windowName, rows[index]) + L": clip");
  }
}

}  // namespace zorvin::win32
