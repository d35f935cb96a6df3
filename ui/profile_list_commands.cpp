#include "ui/profile_list_commands.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QSignalBlocker>

#include "dialogs/config_name.h"
#include "dialogs/msg_wnd.h"
#include "model/macro_store.h"
#include "model/profile.h"
#include "model/profile_commands.h"
#include "model/text_field.h"
#include "platform/list_entry.h"
#include "ui/page_controls.h"
#include "ui/profile_file_dialog.h"

namespace ms1 {
namespace {

const QString kWarningTitle = QStringLiteral("warning_title_text");

QString NameOf(const ProfileRecord& profile) {
  return QString::fromStdU16String(FieldText(profile.name));
}

}  // namespace

bool ProfileListCommands::OnClick(const PageControls& controls, const QWidget* control) {
  const std::pair<QAbstractButton*, void (ProfileListCommands::*)()> commands[] = {
      {controls.profile_add, &ProfileListCommands::Add},
      {controls.profile_delete, &ProfileListCommands::Delete},
      {controls.profile_rename, &ProfileListCommands::Rename},
      {controls.profile_reset, &ProfileListCommands::Reset},
      {controls.profile_export, &ProfileListCommands::Export},
      {controls.profile_import, &ProfileListCommands::Import},
  };
  for (const auto& [button, command] : commands) {
    if (button != nullptr && button == control) {
      (this->*command)();
      return true;
    }
  }
  return false;
}

void ProfileListCommands::Add() {
  const std::optional<QString> name = AskName(QStringLiteral("profile_name_1_text"));
  if (!name) return;
  const int added = page_.model.With([&](PageState& state) {
    if (CheckProfileName(state.profiles, name->toStdU16String()) != ProfileNameCheck::kOk)
      return -1;
    AddNamedProfile(state.profiles, state.selected, name->toStdU16String());
    return state.selected;
  });
  if (added < 0) return;
  AppendEntry(*name);
  SaveStore();
  SelectEntry(added);
}

void ProfileListCommands::Delete() {
  const auto count = page_.model.With([](const PageState& state) { return state.profiles.size(); });
  if (count <= 1) {
    Tell(QStringLiteral("one_profile_text"));
    return;
  }
  if (!Confirm(QStringLiteral("delete_profile_text"))) return;
  int removed = -1;
  const int now = page_.model.With([&removed](PageState& state) {
    removed = state.selected;
    return DeleteProfileAt(state.profiles, state.selected, static_cast<std::size_t>(state.selected))
               ? state.selected
               : -1;
  });
  if (now < 0) return;
  if (page_.list != nullptr) {
    const QSignalBlocker quiet(page_.list);
    delete page_.list->takeItem(removed);
  }
  SaveStore();
  SelectEntry(now);
}

void ProfileListCommands::Rename() {
  const std::optional<QString> name = AskName(QStringLiteral("profile_name_2_text"));
  if (!name) return;
  const int renamed = page_.model.With([&](PageState& state) {
    if (state.Current() == nullptr ||
        CheckProfileName(state.profiles, name->toStdU16String()) != ProfileNameCheck::kOk) {
      return -1;
    }
    RenameProfileAt(state.profiles, static_cast<std::size_t>(state.selected),
                    name->toStdU16String());
    return state.selected;
  });
  if (renamed < 0) return;
  if (page_.list != nullptr && page_.list->item(renamed) != nullptr) {
    page_.list->item(renamed)->setText(*name);
  }
  SaveStore();
}

void ProfileListCommands::Reset() {
  if (!Confirm(QStringLiteral("restore_text"))) return;
  const int reset = page_.model.With([](PageState& state) {
    ProfileRecord* current = state.Current();
    if (current == nullptr) return -1;
    ResetProfile(*current);
    return state.selected;
  });
  if (reset < 0) return;
  SaveStore();
  page_.select(reset);
}

void ProfileListCommands::Export() {
  const QString file = AskProfileFile(page_.owner, ProfileFileUse::kExport);
  if (file.isEmpty()) return;
  // As it is in memory now, with edits not yet sent.
  const auto current = page_.model.With([](const PageState& state) {
    return state.Current() == nullptr ? nullptr : CopyProfile(*state.Current());
  });
  if (!current) return;
  std::string error;
  if (!ExportProfile(file.toStdString(), *current, error)) {
    Tell(QStringLiteral("export_failed_text"), QString::fromStdString(error));
  }
}

void ProfileListCommands::Import() {
  const QString file = AskProfileFile(page_.owner, ProfileFileUse::kImport);
  if (file.isEmpty()) return;
  // The import works on copies of the lists, so that the macro store is
  // written outside the model's lock; the model takes the lists only once
  // they are saved. Nothing else changes the lists meanwhile: only this
  // thread does.
  struct Lists {
    ProfileList profiles;
    MacroList macros;
    int32_t selected = 0;
  };
  Lists lists = page_.model.With([](const PageState& state) {
    return Lists{state.profiles, CopyMacroList(state.macros), state.selected};
  });
  ProfileImport result;
  std::string error;
  if (!ImportProfileSelected(file.toStdString(), page_.stores, lists.profiles, lists.selected,
                             lists.macros, result, error)) {
    Tell(QStringLiteral("import_failed_text"), QString::fromStdString(error));
    return;
  }
  const QString name = NameOf(*lists.profiles[result.index]);
  page_.model.With([&lists, &result](PageState& state) {
    state.profiles.push_back(std::move(lists.profiles[result.index]));
    state.macros = std::move(lists.macros);
    state.selected = lists.selected;
  });
  AppendEntry(name);
  SaveStore();
  SelectEntry(static_cast<int>(result.index));
}

std::optional<QString> ProfileListCommands::AskName(const QString& title_key) {
  CMS_1_ConfigName dialog(page_.owner);
  dialog.title = title_key;
  // A rename counts the profile's own name as taken too.
  dialog.nameExists = [this](const QString& name) {
    return page_.model.With([&name](const PageState& state) {
      return CheckProfileName(state.profiles, name.toStdU16String()) == ProfileNameCheck::kTaken;
    });
  };
  dialog.Create();
  dialog.CenterWindow();
  if (dialog.ShowModal() != 1) return std::nullopt;
  return dialog.name;
}

bool ProfileListCommands::Confirm(const QString& text_key) {
  return ShowMessageBox(page_.owner, kWarningTitle, text_key) == 1;
}

void ProfileListCommands::Tell(const QString& text_key, const QString& detail) {
  ShowMessageBox(page_.owner, kWarningTitle, text_key, true,
                 detail.isEmpty() ? QStringList() : QStringList{detail});
}

void ProfileListCommands::AppendEntry(const QString& name) {
  if (page_.list == nullptr) return;
  const QSignalBlocker quiet(page_.list);
  AddListEntry(page_.list, name);
}

void ProfileListCommands::SelectEntry(int index) {
  if (page_.list != nullptr) {
    const QSignalBlocker quiet(page_.list);
    page_.list->setCurrentRow(index);
  }
  page_.select(index);
}

void ProfileListCommands::SaveStore() {
  page_.model.SaveStore(page_.stores);
}

}  // namespace ms1
