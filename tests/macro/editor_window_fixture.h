// The macro editor window on the real skin with the logging input hook, which
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

#include "editor_fakes.h"
#include "macro/macro_editor_window.h"
#include "macro/recorder_memory.h"
#include "support/qt_wait.h"

namespace ms1::test {

inline constexpr intptr_t kKeyPress = 0;
inline constexpr intptr_t kKeyRelease = 1;

class EditorWindowTest : public TempDirTest {
 protected:
  void SetUp() override {
    unsetenv("DISPLAY");  // key names on the layout named here
    setenv("XKB_DEFAULT_LAYOUT", "us", 1);
    hook_calls.clear();
    hooked = false;
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

  void AddStored(const char16_t* name, int count, uint16_t delay = 10) {
    macros.push_back(MacroOfSteps(name, count, delay));
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
    ASSERT_TRUE(hooked);
    hook_window.post(hook_window.context, MS1_HOOK_EVENT_MESSAGE, first, second);
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
  InputHookTable hook = LoggingHookTable();
  std::unique_ptr<CMS_1_Macro> editor;
};

}  // namespace ms1::test
