// The effects list window: pick a category, copy its ".efx" file names.
#pragma once

#include "win32/window.h"

namespace zorvin::ui {

class Shell;

class EffectsWindow : public win32::Window {
 public:
  // The controls, in tab order; each has its row in the window's design.
  enum Role : std::size_t {
    kCategoryCaption,  // "Effects Category:"
    kCategoryList,     // the 66 categories
    kListingCaption,   // "Effects Listing:"
    kListingText,      // the selected category's file names, to copy
    kControlCount
  };

  explicit EffectsWindow(Shell& shell);

  win32::Label CategoryCaption() const;
  win32::ListBox CategoryList() const;
  win32::Label ListingCaption() const;
  win32::Edit ListingText() const;

  // The user selected a category, with the mouse or the arrow keys: its
  // listing replaces the text. No step of this stops it or is reported: a
  // step that fails is passed over, and the text keeps what it had.
  void CategorySelected() noexcept;

 protected:
  void OnLoad() override;
  void OnControl(std::size_t index, int code) override;
  void OnCommand(int command) override;

 private:
  Shell& shell_;
};

}  // namespace zorvin::ui
