#include "win32/menu.h"

#include "win32/error.h"

namespace zorvin::win32 {

Menu BuildMenu(std::span<const MenuDesign> items, bool popup, const std::wstring& operation) {
  Menu menu(popup ? CreatePopupMenu() : CreateMenu());
  Check(static_cast<bool>(menu), operation);
  for (const MenuDesign& item : items) {
    const std::wstring caption(item.caption);
    if (item.items.empty()) {
      Check(AppendMenuW(menu.Get(), MF_STRING, static_cast<UINT_PTR>(item.command), caption.c_str()),
            operation);
      continue;
    }
    Menu drop = BuildMenu(item.items, true, operation);
    Check(AppendMenuW(menu.Get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(drop.Get()),
                      caption.c_str()),
          operation);
    drop.Release();  // now part of menu
  }
  return menu;
}

}  // namespace zorvin::win32
