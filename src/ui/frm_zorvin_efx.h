// The effects list window: pick a category, copy its ".efx" file names.
#pragma once

#include "ui/window.h"

namespace zorvin::ui {

class frmZorvinEfx : public Window {
 public:
  enum Control : std::size_t { kLabel1, kList1, kLabel2, kText1 };
  static constexpr int kIdLabel1 = 201;
  static constexpr int kIdList1 = 202;
  static constexpr int kIdLabel2 = 203;
  static constexpr int kIdText1 = 204;

  explicit frmZorvinEfx(Shell& shell);

  ListBox List1() const { return ControlAt<ListBox>(kList1); }
  Edit Text1() const { return ControlAt<Edit>(kText1); }
  Label Label1() const { return ControlAt<Label>(kLabel1); }
  Label Label2() const { return ControlAt<Label>(kLabel2); }

  // The selection handler: shows the selected category's listing. A step that
  // fails is passed over without a message.
  void List1Click();

 protected:
  void OnLoad() override;
  void OnCommand(int id, int code) override;
  HBRUSH OnColorStatic(HDC dc, HWND control) override;
};

}  // namespace zorvin::ui
