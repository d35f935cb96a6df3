#include "ui/button_commands.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

#include "device/messages.h"
#include "dialogs/msg_wnd.h"
#include "dialogs/select_macro.h"
#include "keys/shortcut_wnd.h"
#include "model/button_assignment.h"
#include "model/function_table.h"
#include "model/macro_store.h"
#include "model/profile.h"
#include "platform/menu_xml.h"
#include "platform/window_messages.h"
#include "ui/button_menu.h"

namespace ms1 {

ButtonCommands::ButtonCommands(QWidget* owner, WindowMessages& messages, PageModel& model)
    : owner_(owner), messages_(messages), model_(model) {}

ButtonCommands::~ButtonCommands() = default;

void ButtonCommands::OpenMenu(int button, const QAbstractButton& control) {
  current_ = button;
  menu_.reset();
  menu_ = BuildMenu(ButtonMenuFile(button),
                    [this](const QString& name) { messages_.Post(msg::kMenuClick, 0, 0, name); });
  if (!menu_) return;
  const QPoint top_right = control.mapToGlobal(QPoint(control.width(), 0));
  const QScreen* screen = control.screen();
  const int screen_height = screen != nullptr ? screen->geometry().height() : 0;
  menu_->popup(ButtonMenuAnchor(top_right, VisibleTopLevelItems(*menu_), screen_height));
}

bool ButtonCommands::Apply(const QString& item_name) {
  const int i = current_;
  if (i < 0 || i >= kButtonCount) return false;
  const uint8_t code = FunctionForMenuItem(item_name.toStdString());
  struct Button {
    bool present;
    bool keeps_left_click;
    ButtonRecord record;
  };
  const auto current = model_.With([&](const PageState& s) {
    const ProfileRecord* p = s.Current();
    if (p == nullptr) return std::make_unique<Button>(Button{false, false, ButtonRecord{}});
    return std::make_unique<Button>(Button{true, AssignmentKeepsALeftClick(*p, i, code),
                                           ButtonOf(ModeOf(*p, ActiveModeIndex(*p)), i)});
  });
  if (!current->present) return false;
  if (!current->keeps_left_click) {
    ShowWarning(owner_, QStringLiteral("one_click_text"));
    return false;
  }
  ButtonRecord button = current->record;
  if (code == kFunctionShortcut && !RunShortcutDialog(button)) return false;
  if (code == kFunctionMacro && !RunMacroSelection(button)) return false;
  SetButtonFunction(button, code);
  return model_.With([&](PageState& s) {
    ProfileRecord* p = s.Current();
    if (p == nullptr) return false;
    StoreButtonAssignment(*p, i, button);
    return true;
  });
}

bool ButtonCommands::RunShortcutDialog(ButtonRecord& button) {
  PrepareShortcut(button);
  CShortcutWnd dialog(owner_);
  dialog.modifier_flags = ShortcutFlagsOf(button.shortcut_modifiers);
  dialog.key_usage = button.shortcut_key;
  dialog.Create();
  dialog.CenterWindow();
  if (dialog.ShowModal() != 1) return false;
  button.shortcut_key = dialog.key_usage;
  button.shortcut_modifiers = ShortcutModifiersOf(dialog.modifier_flags);
  // Modifiers alone are no shortcut: the button stays as it was.
  return button.shortcut_key != 0;
}

bool ButtonCommands::RunMacroSelection(ButtonRecord& button) {
  // The dialog reads a copy: the list must not stay locked while it is open.
  const MacroList macros = model_.With([](const PageState& s) { return CopyMacroList(s.macros); });
  const bool was_macro = button.function_code == kFunctionMacro;
  CMS_1_SelectMacro dialog(owner_);
  dialog.macros = &macros;
  // By name: the stored position points elsewhere once earlier macros are gone.
  dialog.macro_index = was_macro ? FindMacroForButton(macros, button) : -1;
  dialog.repeat_mode = was_macro ? button.macro_repeat_mode : 0;
  dialog.loop_count = was_macro ? button.macro_loop_count : 1;
  dialog.Create();
  dialog.CenterWindow();
  if (dialog.ShowModal() != 1) return false;
  const int index = dialog.macro_index;
  if (index < 0 || index >= static_cast<int>(macros.size())) return false;
  AssignMacro(button, *macros[static_cast<size_t>(index)], index, dialog.repeat_mode,
              dialog.loop_count);
  return true;
}

}  // namespace ms1
