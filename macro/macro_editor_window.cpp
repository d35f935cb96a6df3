#include "macro/macro_editor_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>

#include "keys/key_names.h"
#include "keys/one_key_capture.h"
#include "macro/delay_text.h"
#include "macro/macro_list_commands.h"
#include "macro/recording_input_guard.h"
#include "platform/input_capture.h"
#include "platform/language.h"
#include "platform/notification_pump.h"
#include "platform/resource_text.h"

namespace ms1 {
namespace {

const QString kMacroList = QStringLiteral("ms_1_macro_list");
const QString kNameEdit = QStringLiteral("ms_1_macro_name_edit");
const QString kRecordButton = QStringLiteral("ms_1_macro_record_btn");
const QString kInsertMouseCheck = QStringLiteral("ms_1_macro_insert_mouse_btn");
const QString kNameTab = QStringLiteral("ms_1_macro_name_tab");
const QString kMouseEventTab = QStringLiteral("ms_1_macro_mouse_event_tab");
const QString kDefaultDelayEdit = QStringLiteral("ms_1_default_delay_edit");
const QString kStepList = QStringLiteral("ms_1_macro_action_list");
const QString kStepEditCheck = QStringLiteral("ms_1_macro_action_edit_check");
const QString kStepEditTab = QStringLiteral("ms_1_macro_action_edit_tab");
const QString kKeyEdit = QStringLiteral("ms_1_macro_action_edit");
const QString kKeyDelayEdit = QStringLiteral("ms_1_macro_delay_edit");
const QString kMouseCombo = QStringLiteral("ms_1_macro_mouse_action_combo");
const QString kMouseDelayEdit = QStringLiteral("ms_1_macro_mouseaction_delay_edit");
const QString kExitButton = QStringLiteral("btn_exit");
const QString kStepsNote = QStringLiteral("macro_steps_note");

// One-shot timers that scroll the step list once it has laid out new rows:
// 6 after an insertion, 28 after a cancel reloaded the macro.
constexpr int kInsertScrollTimer = 6;
constexpr int kCancelScrollTimer = 28;
constexpr int kScrollDelayMs = 50;

const std::pair<const char*, DelayMode> kDelayOptions[] = {
    {"ms_1_record_delay_btn", DelayMode::kRecordDelay},
    {"ms_1_default_delay_btn", DelayMode::kDefaultDelay},
    {"ms_1_no_delay_btn", DelayMode::kNoDelay},
};

QString MouseClickButton(int button) {
  return QStringLiteral("ms_1_macro_key%1_btn").arg(button);
}

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

void SetFieldQuietly(QLineEdit* field, const QString& text) {
  if (field == nullptr) return;
  const QSignalBlocker quiet(field);
  field->setText(text);
}

// The limit in words, with the mouse's own numbers.
QString FitText(MacroFit fit) {
  const auto text = [](const char* key, auto... numbers) {
    return Lan().Text(QString::fromLatin1(key)).arg(QString::number(numbers)...);
  };
  switch (fit) {
    case MacroFit::kFits:
      break;
    case MacroFit::kTooManySteps:
      return text("macro_fit_steps_text", kMaxMacroActions);
    case MacroFit::kTooManyPairs:
      return text("macro_fit_pairs_text", kMacroPairCapacity, kLongestDirectDelayMs);
    case MacroFit::kTooManyLongDelays:
      return text("macro_fit_long_pauses_text", kMaxLongDelayPairs, kLongestDirectDelayMs);
    case MacroFit::kDelayTooLong:
      return text("macro_fit_pause_length_text", kLongestDelayMs);
  }
  return {};
}

// Where an editor given no store saves: nowhere.
class NoMacroStore final : public MacroStoreWriter {
 public:
  bool SaveMacros(const MacroList&, std::string&) override { return true; }
};

}  // namespace

CMS_1_Macro::CMS_1_Macro(QWidget* owner) : SkinDialog(owner) {}

MacroStoreWriter& CMS_1_Macro::Store() {
  static NoMacroStore nowhere;
  return store != nullptr ? *store : nowhere;
}

CMS_1_Macro::~CMS_1_Macro() {
  if (model_) model_->ReleaseHookForClose();
}

void CMS_1_Macro::done(int result) {
  if (model_) model_->ReleaseHookForClose();
  SkinDialog::done(result);
}

// ---------------------------------------------------------------- set-up

void CMS_1_Macro::InitWindow() {
  macro_list_ = FindControl<QListWidget>(kMacroList);
  step_list_ = FindControl<QListWidget>(kStepList);
  // Enter in a field confirms that field; it must never press some button.
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
  if (QWidget* key_field = FindControl(kKeyEdit)) {
    new OneKeyCapture(key_field, [this](uint32_t virtual_key, bool released) {
      return CaptureKey(virtual_key, released);
    });
  }
  ConfirmFieldsOnEnter();
  if (auto* option = FindControl<QAbstractButton>(QString::fromLatin1(kDelayOptions[1].first))) {
    const QSignalBlocker quiet(option);
    option->setChecked(true);  // the delay mode the model starts with
  }
  ShowInputCaptureNote(FindControl<QLabel>(QStringLiteral("macro_capture_note")),
                       CanCaptureKeys(hook));
  model_ = std::make_unique<MacroEditorModel>(MacroEditorContext{
      List(), Store(), hook != nullptr ? *hook : no_hook_, MessageHandle(), *this,
      [](uint32_t virtual_key) { return VirtualKeyToUsage(virtual_key); }});
  list_commands_ = std::make_unique<MacroListCommands>(MacroListCommands::Editor{
      List(), Store(), macro_list_, FindControl<QLineEdit>(kNameEdit), this,
      QString::fromStdString(file_folder.string()), [this] { return model_->CurrentMacroIndex(); },
      [this](int row) { OnMacroRowSelected(row); }});
  model_->LoadMacro(-1);
}

void CMS_1_Macro::ConfirmFieldsOnEnter() {
  const std::pair<QString, std::function<void()>> fields[] = {
      {kNameEdit, [this] { list_commands_->Rename(); }},
      {kKeyDelayEdit, [this] { SetStepDelay(kKeyDelayEdit); }},
      {kMouseDelayEdit, [this] { SetStepDelay(kMouseDelayEdit); }},
      {kDefaultDelayEdit, [this] { FixDefaultDelay(); }},
  };
  for (const auto& [name, confirm] : fields) {
    if (auto* field = FindControl<QLineEdit>(name)) {
      QObject::connect(field, &QLineEdit::returnPressed, this, confirm);
    }
  }
}

// ---------------------------------------------------------------- notifications

void CMS_1_Macro::Notify(const Notification& notification) {
  if (!model_) return;
  if (notification.Is(notify::kClick)) {
    OnClick(notification);
  } else if (notification.Is(notify::kCheckClick)) {
    OnCheckClick(notification);
  } else if (notification.Is(notify::kKillFocus)) {
    OnKillFocus(notification);
  } else if (notification.Is(notify::kItemSelect)) {
    OnItemSelect(notification);
  } else if (notification.Is(notify::kMouseEnter) || notification.Is(notify::kMouseLeave)) {
    // Neither the click that stops a recording nor the one that closes the
    // window is a step.
    if (notification.From(kRecordButton) || notification.From(kExitButton)) {
      model_->PointerOverRecordButton(notification.Is(notify::kMouseEnter));
    }
  } else if (notification.Is(notify::kTimer)) {
    OnTimer(notification);
  }
}

void CMS_1_Macro::OnClick(const Notification& notification) {
  if (list_commands_->OnClick(notification)) return;
  if (notification.From(kExitButton)) {
    Close(1);
  } else if (notification.From(QStringLiteral("ms_1_macro_up_btn"))) {
    model_->MoveStepUp();
  } else if (notification.From(QStringLiteral("ms_1_macro_down_btn"))) {
    model_->MoveStepDown();
  } else if (notification.From(QStringLiteral("ms_1_macro_delete_action_btn"))) {
    model_->DeleteStep();
  } else if (notification.From(QStringLiteral("ms_1_macro_clear_action_btn"))) {
    model_->ClearAllSteps();
  } else if (notification.From(QStringLiteral("ms_1_macro_save_btn"))) {
    SaveStep();
  } else if (notification.From(QStringLiteral("ms_1_macro_cancel_btn"))) {
    CancelStep();
  }
  for (int button = 1; button <= 5; ++button) {
    if (notification.From(MouseClickButton(button))) model_->InsertMouseClick(button);
  }
  for (const auto& [name, mode] : kDelayOptions) {
    if (notification.From(QString::fromLatin1(name))) model_->SetDelayMode(mode);
  }
}

void CMS_1_Macro::OnCheckClick(const Notification& notification) {
  if (notification.From(kRecordButton)) {
    ToggleRecording();
  } else if (notification.From(kStepEditCheck)) {
    OpenStepEditor(notification.param != 0);
  } else if (notification.From(kInsertMouseCheck)) {
    ShowMousePanel(notification.param != 0);
  }
}

void CMS_1_Macro::OnKillFocus(const Notification& notification) {
  if (notification.From(kNameEdit)) {
    list_commands_->Rename();
  } else if (notification.From(kKeyDelayEdit) || notification.From(kMouseDelayEdit)) {
    SetStepDelay(notification.sender);
  } else if (notification.From(kDefaultDelayEdit)) {
    FixDefaultDelay();
  }
}

void CMS_1_Macro::OnItemSelect(const Notification& notification) {
  const int row = static_cast<int>(notification.param);
  if (notification.From(kMacroList)) {
    OnMacroRowSelected(row);
  } else if (notification.From(kStepList)) {
    OnStepRowSelected(row);
  } else if (notification.From(kMouseCombo)) {
    model_->SetStepMouseButton(row);
  }
}

void CMS_1_Macro::OnTimer(const Notification& notification) {
  if (notification.param != kInsertScrollTimer && notification.param != kCancelScrollTimer) return;
  pump()->KillTimer(notification.control, static_cast<int>(notification.param));
  if (step_list_ != nullptr && scroll_row_soon_ >= 0 && scroll_row_soon_ < step_list_->count()) {
    step_list_->scrollToItem(step_list_->item(scroll_row_soon_));
  }
}

// A key typed while one of the program's windows has the focus is taken from
// that window's own key events (RecordingInputGuard): the hook sees such a key
// only where the window is an X11 client, and then a second time.
bool CMS_1_Macro::HandleCustomMessage(const WindowMessage& m) {
  if (m.message != MS1_HOOK_EVENT_MESSAGE || !model_) return false;
  const bool key = m.wParam < MS1_HOOK_LEFT_DOWN;
  if (!key || QApplication::activeWindow() == nullptr) {
    model_->HandleHookEvent(m.wParam, m.lParam);
  }
  return false;
}

// The step editor's key field: the key pressed there is the step's key.
bool CMS_1_Macro::CaptureKey(uint32_t virtual_key, bool released) {
  if (released || !model_) return false;
  const uint8_t code = model_->CaptureKey(virtual_key);
  SetFieldQuietly(FindControl<QLineEdit>(kKeyEdit), UsageDisplayName(code));
  return true;
}

// ---------------------------------------------------------------- macros

void CMS_1_Macro::OnMacroRowSelected(int row) {
  model_->SelectMacro(row);
  if (!model_->HasCurrentMacro()) SetMacroNameText(u"");
}

// ---------------------------------------------------------------- steps

void CMS_1_Macro::ToggleRecording() {
  if (!model_->HasCurrentMacro()) list_commands_->Add();  // records into a new macro
  model_->ToggleRecording();
}

void CMS_1_Macro::OnStepRowSelected(int row) {
  model_->SelectStep(row);
  if (editor_open_) ShowStepEditor(true);
}

void CMS_1_Macro::OpenStepEditor(bool open) {
  editor_open_ = open;
  if (open && model_->Buffer().iActionIndex < 0) {
    editor_open_ = false;
    if (auto* check = FindControl<QCheckBox>(kStepEditCheck)) {
      const QSignalBlocker quiet(check);
      check->setChecked(false);
    }
    return;
  }
  ShowStepEditor(open);
}

void CMS_1_Macro::ShowStepEditor(bool open) {
  const StepEditorContent content = StepEditorFor(model_->Buffer(), open);
  if (auto* pages = FindControl<QStackedWidget>(kStepEditTab)) {
    pages->setCurrentIndex(static_cast<int>(content.page));
  }
  const QString delay = QString::number(content.delay_shown);
  if (content.page == StepEditorPage::kMouse) {
    if (auto* combo = FindControl<QComboBox>(kMouseCombo)) {
      const QSignalBlocker quiet(combo);
      combo->setCurrentIndex(content.mouse_item);
    }
    SetFieldQuietly(FindControl<QLineEdit>(kMouseDelayEdit), delay);
  } else if (content.page == StepEditorPage::kKeyboard) {
    SetFieldQuietly(FindControl<QLineEdit>(kKeyEdit), UsageDisplayName(content.key));
    SetFieldQuietly(FindControl<QLineEdit>(kKeyDelayEdit), delay);
  }
}

void CMS_1_Macro::CloseStepEditor() {
  editor_open_ = false;
  if (auto* pages = FindControl<QStackedWidget>(kStepEditTab)) pages->setCurrentIndex(0);
  if (auto* check = FindControl<QCheckBox>(kStepEditCheck)) {
    const QSignalBlocker quiet(check);
    check->setChecked(false);
  }
}

void CMS_1_Macro::SaveStep() {
  model_->CommitMacro();
  CloseStepEditor();
}

void CMS_1_Macro::CancelStep() {
  CloseStepEditor();
  cancelling_ = true;
  model_->ReloadForCancel();
  cancelling_ = false;
}

void CMS_1_Macro::ShowMousePanel(bool mouse_buttons) {
  if (QWidget* names = FindControl(kNameTab)) names->setVisible(!mouse_buttons);
  if (QWidget* buttons = FindControl(kMouseEventTab)) buttons->setVisible(mouse_buttons);
}

// Afterwards the step editor shows what is stored: the delay limited to what
// the mouse can play, the last step's fixed one, or, when the change broke the
// step budget, the step as it was.
void CMS_1_Macro::SetStepDelay(const QString& field_name) {
  const auto* field = FindControl<QLineEdit>(field_name);
  if (field == nullptr) return;
  model_->SetStepDelay(field->text().toStdU16String());
  if (editor_open_) ShowStepEditor(true);
}

void CMS_1_Macro::FixDefaultDelay() {
  auto* field = FindControl<QLineEdit>(kDefaultDelayEdit);
  if (field == nullptr) return;
  if (const auto fixed = DefaultDelayTextOnFocusLoss(field->text().toStdU16String())) {
    SetFieldQuietly(field, ToQString(*fixed));
  }
}

// ---------------------------------------------------------------- MacroEditorView

void CMS_1_Macro::RebuildStepList(const std::vector<StepRow>& rows) {
  step_rows_.Show(step_list_, rows);
}

void CMS_1_Macro::RefreshStepRow(int row, const StepRow& content) {
  step_rows_.Refresh(step_list_, row, content);
}

void CMS_1_Macro::RemoveStepRow(int row) {
  if (step_list_ == nullptr || row < 0 || row >= step_list_->count()) return;
  const QSignalBlocker quiet(step_list_);
  delete step_list_->takeItem(row);
}

void CMS_1_Macro::SelectRow(int row) {
  if (step_list_ != nullptr) {
    const QSignalBlocker quiet(step_list_);
    step_list_->setCurrentRow(row);
  }
  OnStepRowSelected(row);
}

int CMS_1_Macro::SelectedRow() const {
  return step_list_ != nullptr ? step_list_->currentRow() : -1;
}

void CMS_1_Macro::ScrollStepListToEnd() {
  if (step_list_ != nullptr) step_list_->scrollToBottom();
}

void CMS_1_Macro::ScrollRowIntoViewSoon(int row) {
  if (step_list_ == nullptr || pump() == nullptr) return;
  scroll_row_soon_ = row;
  pump()->SetTimer(step_list_, cancelling_ ? kCancelScrollTimer : kInsertScrollTimer,
                   kScrollDelayMs);
}

std::u16string CMS_1_Macro::DefaultDelayText() const {
  const auto* field = FindControl<QLineEdit>(kDefaultDelayEdit);
  return field != nullptr ? field->text().toStdU16String() : std::u16string(u"10");
}

void CMS_1_Macro::SetRecordButton(std::string_view text_key, bool checked) {
  if (auto* record = FindControl<QCheckBox>(kRecordButton)) {
    SetControlText(record,
                   QString::fromUtf8(text_key.data(), static_cast<qsizetype>(text_key.size())));
    const QSignalBlocker quiet(record);
    record->setChecked(checked);
  }
  GuardRecordingInput(checked);
}

void CMS_1_Macro::SetMacroNameText(std::u16string_view name) {
  SetFieldQuietly(FindControl<QLineEdit>(kNameEdit), ToQString(name));
}

void CMS_1_Macro::ShowMacroNotes(const MacroNotes& notes) {
  auto* note = FindControl<QLabel>(kStepsNote);
  if (note == nullptr) return;
  QStringList lines;
  if (notes.refused != MacroFit::kFits) {
    lines << Lan()
                 .Text(notes.recording_stopped ? QStringLiteral("macro_recording_stopped_text")
                                               : QStringLiteral("macro_change_refused_text"))
                 .arg(FitText(notes.refused));
  }
  if (notes.stored != MacroFit::kFits) {
    lines << Lan().Text(QStringLiteral("macro_too_large_text")).arg(FitText(notes.stored));
  }
  if (!notes.held_keys.empty()) {
    QStringList names;
    for (uint8_t key : notes.held_keys) names << UsageDisplayName(key);
    lines
        << Lan().Text(QStringLiteral("macro_keys_held_text")).arg(names.join(QStringLiteral(", ")));
  }
  note->setText(lines.join(u'\n'));
  note->setVisible(!lines.isEmpty());
}

std::vector<MacroRename> CMS_1_Macro::Renames() const {
  return list_commands_ ? list_commands_->Renames() : std::vector<MacroRename>{};
}

void CMS_1_Macro::GuardRecordingInput(bool recording) {
  if (!recording) {
    input_guard_.reset();
  } else if (!input_guard_) {
    input_guard_ = std::make_unique<RecordingInputGuard>(
        this, std::vector<QWidget*>{FindControl(kRecordButton), FindControl(kExitButton)},
        [this](uint32_t virtual_key, bool released) {
          model_->HandleHookEvent(virtual_key, released ? 1 : 0);
        });
  }
}

}  // namespace ms1
