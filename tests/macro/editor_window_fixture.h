// The macro editor window on the real skin with a stand-in input hook that
// keeps the window it was given, so a test posts hook events as the hook's
// thread would, and a macro store in a fresh folder whose saves are recorded.
#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "macro/macro_editor_window.h"
#include "macro/recorder_memory.h"
#include "model/data_folder_stores.h"
#include "model/text_field.h"
#include "support/qt_wait.h"
#include "support/temp_dir.h"

namespace ms1::test {

inline std::vector<std::string> editor_hook_calls;
inline Ms1WindowHandle editor_hook_window{};
inline bool editor_hooked = false;

inline InputHookTable WindowKeepingHook() {
  InputHookTable t;
  t.installmousehook = [] { editor_hook_calls.push_back("installmousehook"); };
  t.removemousehook = [] { editor_hook_calls.push_back("removemousehook"); };
  t.enablemousehook = [](int f) {
    editor_hook_calls.push_back("enablemousehook " + std::to_string(f));
  };
  t.installhook = [](Ms1WindowHandle w) {
    editor_hook_calls.push_back("installhook");
    editor_hook_window = w;
    editor_hooked = true;
  };
  t.removehook = [] {
    editor_hook_calls.push_back("removehook");
    editor_hooked = false;
  };
  t.enablehook = [](int f) { editor_hook_calls.push_back("enablehook " + std::to_string(f)); };
  t.mousewheelenable = [](int f) {
    editor_hook_calls.push_back("mousewheelenable " + std::to_string(f));
  };
  return t;
}

inline constexpr intptr_t kKeyPress = 0;
inline constexpr intptr_t kKeyRelease = 1;

class EditorWindowTest : public TempDirTest {
 protected:
  void SetUp() override {
    unsetenv("DISPLAY");  // key names on the layout named here
    setenv("XKB_DEFAULT_LAYOUT", "us", 1);
    editor_hook_calls.clear();
    editor_hooked = false;
    ProcessRecorderMemory() = RecorderMemory{};  // no event left from another test
  }
  void TearDown() override {
    editor.reset();
    TempDirTest::TearDown();
  }

  void Open() {
    editor = std::make_unique<CMS_1_Macro>();
    editor->macros = &macros;
    editor->store = &stores;
    editor->hook = &hook;
    editor->file_folder = dir;
    ASSERT_TRUE(editor->Create());
    ASSERT_TRUE(ShowActive(*editor));
  }

  // A stored macro of `count` steps: presses and releases of A, B, C ...
  void AddStored(const char16_t* name, int count, uint16_t delay = 10) {
    auto macro = std::make_unique<MacroRecord>();
    SetFieldText(macro->name, name);
    for (int i = 0; i < count; ++i) {
      macro->actions[i] = {static_cast<uint8_t>(0x04 + (i / 2) % 26),
                           static_cast<uint8_t>(i % 2 ? 2 : 1), delay};
    }
    macro->action_count = count;
    macros.push_back(std::move(macro));
  }

  template <class T = QWidget>
  T* Control(const char* name) const {
    T* control = editor->FindControl<T>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  QListWidget* Macros() const { return Control<QListWidget>("ms_1_macro_list"); }
  QListWidget* Steps() const { return Control<QListWidget>("ms_1_macro_action_list"); }

  void Click(const char* name) { Control<QAbstractButton>(name)->click(); }

  // Posts one event as the hook would and lets the window take it.
  void HookEvent(uintptr_t first, intptr_t second) {
    ASSERT_TRUE(editor_hooked);
    editor_hook_window.post(editor_hook_window.context, MS1_HOOK_EVENT_MESSAGE, first, second);
    QCoreApplication::processEvents();
  }
  void KeyTap(char key) {
    HookEvent(static_cast<uintptr_t>(key), kKeyPress);
    HookEvent(static_cast<uintptr_t>(key), kKeyRelease);
  }

  // Each row as "key action delay", as the list shows it.
  std::vector<std::string> StepTexts() const {
    std::vector<std::string> rows;
    QListWidget* list = Steps();
    for (int i = 0; i < list->count(); ++i) {
      QWidget* row = list->itemWidget(list->item(i));
      rows.push_back((row->findChild<QToolButton*>(QStringLiteral("key"))->text() + u' ' +
                      row->findChild<QToolButton*>(QStringLiteral("action"))->text() + u' ' +
                      row->findChild<QLabel*>(QStringLiteral("delay"))->text())
                         .toStdString());
    }
    return rows;
  }

  MacroList macros;
  std::vector<StoreSaveResult> store_reports;  // every save, as the window is told of it
  DataFolderStores stores{dir, [this](const StoreSaveResult& r) { store_reports.push_back(r); }};
  InputHookTable hook = WindowKeepingHook();
  std::unique_ptr<CMS_1_Macro> editor;
};

}  // namespace ms1::test
