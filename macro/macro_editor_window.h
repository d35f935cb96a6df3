// The macro editor: the macro list beside the steps of the macro chosen in it.
// Macros are added, deleted, renamed, imported and exported here (the list's
// commands are macro_list_commands.h); steps are recorded from the live
// keyboard and mouse, inserted as mouse clicks, moved, deleted, cleared and
// edited one at a time. Every change reaches the macro list and the macro
// store at once. The window runs modally; closing it ends a recording or key
// capture, so no hook outlives it.
#pragma once

#include <QString>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "device/driver/input_hook_table.h"
#include "macro/macro_editor_model.h"
#include "macro/macro_editor_view.h"
#include "macro/step_row_widgets.h"
#include "model/macro_store.h"
#include "platform/skin_form.h"

class QListWidget;

namespace ms1 {

class MacroListCommands;
class RecordingInputGuard;

class CMS_1_Macro : public SkinDialog, private MacroEditorView {
 public:
  explicit CMS_1_Macro(QWidget* owner = nullptr);
  ~CMS_1_Macro() override;

  // Inputs, set before Create(): the macro list it edits and the store every
  // change is saved to (both must outlive the window), the hook's entry
  // points (null entries are skipped) and the folder the file dialogs open in.
  MacroList* macros = nullptr;
  MacroStoreWriter* store = nullptr;
  const InputHookTable* hook = nullptr;
  std::filesystem::path file_folder;

  QString WindowClassName() const override { return QStringLiteral("MS_1_Macro"); }
  QString SkinFileName() const override { return QStringLiteral("MS/MS_1/ms_1_macropage.xml"); }

  void done(int result) override;

  // The macros renamed in the window since it opened, for the buttons that
  // play them to follow; read after it closed.
  std::vector<MacroRename> Renames() const;

  // For tests: the model behind the window, from Create() on.
  const MacroEditorModel* Model() const { return model_.get(); }

 protected:
  void InitWindow() override;
  void Notify(const Notification& notification) override;
  void OnClick(const Notification& notification) override;
  bool HandleCustomMessage(const WindowMessage& m) override;

 private:
  // MacroEditorView
  void RebuildStepList(const std::vector<StepRow>& rows) override;
  void RefreshStepRow(int row, const StepRow& content) override;
  void RemoveStepRow(int row) override;
  void SelectRow(int row) override;
  int SelectedRow() const override;
  void ScrollStepListToEnd() override;
  void ScrollRowIntoViewSoon(int row) override;
  std::u16string DefaultDelayText() const override;
  void SetRecordButton(std::string_view text_key, bool checked) override;
  void SetMacroNameText(std::u16string_view name) override;
  void ShowMacroNotes(const MacroNotes& notes) override;

  MacroList& List() { return macros != nullptr ? *macros : no_macros_; }
  MacroStoreWriter& Store();
  const MacroList& List() const { return macros != nullptr ? *macros : no_macros_; }

  void OnCheckClick(const Notification& notification);
  void OnKillFocus(const Notification& notification);
  void OnItemSelect(const Notification& notification);
  void OnTimer(const Notification& notification);
  void ConfirmFieldsOnEnter();

  void OnMacroRowSelected(int row);
  void OnStepRowSelected(int row);
  void ToggleRecording();
  void ShowStepEditor(bool open);
  void OpenStepEditor(bool open);
  void CloseStepEditor();
  void SaveStep();
  void CancelStep();
  void ShowMousePanel(bool mouse_buttons);
  void SetStepDelay(const QString& field_name);
  void FixDefaultDelay();
  bool CaptureKey(uint32_t virtual_key, bool released);
  void GuardRecordingInput(bool recording);

  InputHookTable no_hook_;
  MacroList no_macros_;
  std::unique_ptr<MacroEditorModel> model_;
  std::unique_ptr<MacroListCommands> list_commands_;
  StepRowWidgets step_rows_;
  QListWidget* macro_list_ = nullptr;
  QListWidget* step_list_ = nullptr;
  bool editor_open_ = false;
  bool cancelling_ = false;   // a cancel reloads the macro: its scroll uses timer 28
  int scroll_row_soon_ = -1;  // the row a scroll timer brings into view
  std::unique_ptr<RecordingInputGuard> input_guard_;
};

}  // namespace ms1
