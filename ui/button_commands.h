// The key buttons' menu and what its items do: the function chosen goes into
// the button's record of the active mode (through the shortcut dialog or the
// macro selection dialog where the function needs more), never leaving the
// mouse without a left click.
#pragma once

#include <QString>
#include <memory>

#include "device/page_model.h"

class QAbstractButton;
class QMenu;
class QWidget;

namespace ms1 {

class WindowMessages;

class ButtonCommands {
 public:
  // Menu choices are posted to `messages` as menu commands (the main window
  // hands those of the page back to Apply); dialogs are owned by `owner`.
  ButtonCommands(QWidget* owner, WindowMessages& messages, PageModel& model);
  ~ButtonCommands();

  // Opens the menu of button 0..17 beside its control; the open menu of
  // another button goes.
  void OpenMenu(int button, const QAbstractButton& control);

  // Applies a menu item to the button whose menu was opened last. True when
  // the current profile changed: the caller sends it and rewrites the caption.
  bool Apply(const QString& item_name);

  int current_button() const { return current_; }

 private:
  bool RunShortcutDialog(ButtonRecord& button);
  bool RunMacroSelection(ButtonRecord& button);

  QWidget* owner_;
  WindowMessages& messages_;
  PageModel& model_;
  std::unique_ptr<QMenu> menu_;
  int current_ = -1;
};

}  // namespace ms1
