// The worldspawn settings window: pick or type a level, press "MP/SPSettings",
// copy the settings block.
#pragma once

#include <optional>

#include "settings/settings_record.h"
#include "ui/handles.h"
#include "ui/window.h"

namespace zorvin::ui {

class Form1 : public Window {
 public:
  // Controls, in the design's order (which is also the tab order).
  enum Control : std::size_t { kCommand1, kCombo1, kLabel3, kText1, kLabel1 };
  static constexpr int kIdCommand1 = 101;
  static constexpr int kIdCombo1 = 102;
  static constexpr int kIdLabel3 = 103;
  static constexpr int kIdText1 = 104;
  static constexpr int kIdLabel1 = 105;

  explicit Form1(Shell& shell);

  ComboBox Combo1() const { return ControlAt<ComboBox>(kCombo1); }
  Button Command1() const { return ControlAt<Button>(kCommand1); }
  Edit Text1() const { return ControlAt<Edit>(kText1); }
  Label Label1() const { return ControlAt<Label>(kLabel1); }
  Label Label3() const { return ControlAt<Label>(kLabel3); }

  // The window's one settings record: none until the first lookup that finds a level.
  const std::optional<SettingsClass>& Record() const { return record_; }

  // The handlers.
  void Combo1DropDown();
  void Command1Click();

 protected:
  void OnLoad() override;
  void OnCommand(int id, int code) override;
  HBRUSH OnColorStatic(HDC dc, HWND control) override;
  void OnPaint(HDC dc) override;

 private:
  std::optional<SettingsClass> record_;
  Picture background_;  // belongs to the object, like the record
};

}  // namespace zorvin::ui
