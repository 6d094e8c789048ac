// What the settings-dialog tests share: the GUI application, a recorder of
// the error dialog and of message boxes, modal runs answered by script, the
// check that every control of a template sits at its dialog-unit rectangle,
// and a unit-menu choice on a unit button.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/error_dialog.h"
#include "platform/gui/dialog.h"
#include "platform/gui/dialog_test_hooks.h"
#include "platform/gui/popup_menu.h"

namespace lv_test {

class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs the dialog modally with the script as the user's actions.
  static int Run(lv::Dialog& dlg, lv::DialogScript script);
  // A script step that chooses unit command from the menu of unit button id.
  static lv::DialogStep ChooseUnit(int buttonId, uint32_t command);
  // A step that records the dialog's control texts into out (id -> text).
  static lv::DialogStep Read(std::function<void(lv::Dialog&)> reader);

  // Every control of the template with an id lies at its rectangle in
  // dialog units (drop-down lists: left, top and width; their height is
  // that of the open list), and each id's text is the expected one.
  static void ExpectTemplateLayout(lv::Dialog& dlg);

  // Each control shows its text.
  struct ItemText {
    int id;
    const wchar_t* text;
  };
  static void ExpectItemTexts(const lv::Dialog& dlg, const std::vector<ItemText>& texts);
  // The template holds each text as a control without an id (a label or a
  // group box).
  static void ExpectTemplateLabels(const lv::DialogTemplate& t, const std::vector<const wchar_t*>& labels);

  // Errors shown in the error dialog, message boxes shown (their texts).
  std::vector<std::wstring> errors_;
  std::vector<std::string> errorStacks_;
  std::vector<std::wstring> messages_;
  std::vector<std::wstring> messageCaptions_;

 private:
  CQErrorPresenter previousPresenter_;
};

// The gallery file of a dialog.
std::wstring DialogPngPath(const std::string& name);

}  // namespace lv_test
