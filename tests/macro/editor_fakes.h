// A macro editor model on fakes: a view that keeps its rows like the window's
// list, a hook table that logs its calls (the editor window's tests use it
// too), a clock the test moves, a key lookup that knows the letters, and a
// macro store in a fresh folder, its saves counted.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "macro/delay_text.h"
#include "macro/macro_editor_model.h"
#include "model/data_folder_stores.h"
#include "model/text_field.h"
#include "support/temp_dir.h"

namespace ms1::test {

// The hook's calls in order, and the window it was given while it is installed.
inline std::vector<std::string> hook_calls;
inline Ms1WindowHandle hook_window{};
inline bool hooked = false;

inline void LogHookCall(std::string call) {
  hook_calls.push_back(std::move(call));
}

inline InputHookTable LoggingHookTable() {
  InputHookTable t;
  t.installmousehook = [] { LogHookCall("installmousehook"); };
  t.removemousehook = [] { LogHookCall("removemousehook"); };
  t.enablemousehook = [](int f) { LogHookCall("enablemousehook " + std::to_string(f)); };
  t.installhook = [](Ms1WindowHandle w) {
    LogHookCall("installhook");
    hook_window = w;
    hooked = true;
  };
  t.removehook = [] {
    LogHookCall("removehook");
    hooked = false;
  };
  t.enablehook = [](int f) { LogHookCall("enablehook " + std::to_string(f)); };
  t.mousewheelenable = [](int f) { LogHookCall("mousewheelenable " + std::to_string(f)); };
  return t;
}

// A macro of `count` steps: presses and releases of A, B, C ... with the given delay.
inline std::unique_ptr<MacroRecord> MacroOfSteps(std::u16string_view name, int count,
                                                 uint16_t delay = 10) {
  auto macro = std::make_unique<MacroRecord>();
  SetFieldText(macro->name, name);
  for (int i = 0; i < count; ++i) {
    macro->actions[i] = {static_cast<uint8_t>(0x04 + (i / 2) % 26),
                         static_cast<uint8_t>(i % 2 ? 2 : 1), delay};
  }
  macro->action_count = count;
  return macro;
}

class FakeEditorView : public MacroEditorView {
 public:
  std::vector<StepRow> rows;
  int selected = -1;
  std::u16string default_delay_text = u"10";
  std::string record_text;
  bool record_checked = false;
  std::u16string name_text;
  MacroNotes notes;

  void RebuildStepList(const std::vector<StepRow>& r) override {
    rows = r;
    selected = -1;
  }
  void RefreshStepRow(int row, const StepRow& content) override { rows.at(row) = content; }
  void RemoveStepRow(int row) override { rows.erase(rows.begin() + row); }
  void SelectRow(int row) override { selected = row; }
  int SelectedRow() const override { return selected; }
  void ScrollStepListToEnd() override {}
  void ScrollRowIntoViewSoon(int) override {}
  std::u16string DefaultDelayText() const override { return default_delay_text; }
  void SetRecordButton(std::string_view key, bool checked) override {
    record_text = key;
    record_checked = checked;
  }
  void SetMacroNameText(std::u16string_view name) override { name_text = name; }
  void ShowMacroNotes(const MacroNotes& n) override { notes = n; }
};

// 'A'..'Z' are the HID letters 4..29; every other virtual key is unknown.
inline UsageLookup LetterUsage(uint32_t vk) {
  if (vk >= 'A' && vk <= 'Z') return {true, vk - 'A' + 4};
  return {};
}

class EditorTest : public TempDirTest {
 protected:
  MacroList macros;
  int saves = 0, failed_saves = 0;
  DataFolderStores stores{dir,
                          [this](const StoreSaveResult& r) { ++(r.saved ? saves : failed_saves); }};
  FakeEditorView view;
  InputHookTable hook = LoggingHookTable();
  RecorderMemory memory;
  uint32_t now = 1000;
  int window_marker = 0;
  MacroEditorModel model{{macros, stores, hook, Ms1WindowHandle{&window_marker, nullptr}, view,
                          LetterUsage, [this] { return now; }, memory}};

  void SetUp() override { hook_calls.clear(); }

  // A stored macro of `count` steps (MacroOfSteps), made current.
  void LoadStoredMacro(int count, uint16_t delay = 10) {
    macros.push_back(MacroOfSteps(u"M1", count, delay));
    model.SelectMacro(static_cast<int>(macros.size()) - 1);
  }

  // The user picks a row of the step list.
  void UserSelectsStep(int row) {
    view.selected = row;
    model.SelectStep(row);
  }

  const ActionBuffer& buffer() const { return model.Buffer(); }
  const MacroRecord& stored() const { return *macros.back(); }

  // The list shows the buffer's steps and its selection.
  void ExpectViewMirrorsBuffer() const {
    ASSERT_EQ(view.rows.size(), static_cast<std::size_t>(buffer().action_count));
    for (int i = 0; i < buffer().action_count; ++i) EXPECT_EQ(view.rows[i], StepRowAt(buffer(), i));
    EXPECT_EQ(view.selected, buffer().iActionIndex);
  }
};

}  // namespace ms1::test
