// The worldspawn settings window: pick or type a level, press "MP/SPSettings",
// copy the settings block.
#pragma once

#include <optional>

#include "settings/settings_record.h"
#include "win32/handles.h"
#include "win32/picture.h"
#include "win32/window.h"

namespace zorvin::ui {

class Shell;

class SettingsWindow : public win32::Window {
 public:
  // The controls, in tab order; each has its row in the window's design.
  enum Role : std::size_t {
    kShowSettingsButton,  // "MP/SPSettings": looks the level up
    kLevelCombo,          // the level names, or a typed one
    kDisplayCaption,      // "Display Settings:"
    kBlockText,           // the block to copy
    kBlockStore,          // the last block rendered: a hidden label under the text box
    kControlCount
  };

  explicit SettingsWindow(Shell& shell);

  win32::Button ShowSettingsButton() const;
  win32::ComboBox LevelCombo() const;
  win32::Label DisplayCaption() const;
  win32::Edit BlockText() const;
  win32::Label BlockStore() const;

  // The window's one settings record: none until the first lookup that finds a level.
  const std::optional<SettingsClass>& Record() const { return record_; }

  // What the user does.
  void LevelListOpening();     // the drop-down opens: the list is filled afresh
  void ShowSettingsPressed();  // the typed or picked level's block is shown

 protected:
  void OnControl(std::size_t index, int code) override;
  void OnCommand(int command) override;
  void OnPaint(HDC dc) override;

 private:
  Shell& shell_;
  std::optional<SettingsClass> record_;
  win32::Picture background_;  // belongs to the object, like the record
};

}  // namespace zorvin::ui
