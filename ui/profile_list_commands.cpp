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
  if (const std::optional<QString> name = AskName(QStringLiteral("profile_name_1_text"))) {
    AddNamed(*name);
  }
}

void ProfileListCommands::Delete() {
  const auto count = page_.model.With([](const PageState& state) { return state.profiles.size(); });
  if (count <= 1) {
    Tell(QStringLiteral("one_profile_text"));
    return;
  }
  if (Confirm(QStringLiteral("delete_profile_text"))) DeleteAt(Selected());
}

void ProfileListCommands::Rename() {
  if (const std::optional<QString> name = AskName(QStringLiteral("profile_name_2_text"))) {
    RenameAt(Selected(), *name);
  }
}

void ProfileListCommands::Reset() {
  if (Confirm(QStringLiteral("restore_text"))) ResetAt(Selected());
}

void ProfileListCommands::Export() {
  const QString file = AskProfileFile(page_.owner, ProfileFileUse::kExport);
  if (file.isEmpty()) return;
  std::string error;
  if (!ExportAt(Selected(), file, error)) {
    Tell(QStringLiteral("export_failed_text"), QString::fromStdString(error));
  }
}

void ProfileListCommands::Import() {
  const QString file = AskProfileFile(page_.owner, ProfileFileUse::kImport);
  if (file.isEmpty()) return;
  ProfileImport result;
  std::string error;
  if (ImportFrom(file, result, error) < 0) {
    Tell(QStringLiteral("import_failed_text"), QString::fromStdString(error));
  }
}

ProfileNameCheck ProfileListCommands::AddNamed(const QString& name) {
  int added = -1;
  const ProfileNameCheck check = page_.model.With([&](PageState& s) {
    const ProfileNameCheck verdict = CheckProfileName(s.profiles, name.toStdU16String());
    if (verdict != ProfileNameCheck::kOk) return verdict;
    AddNamedProfile(s.profiles, s.selected, name.toStdU16String());
    added = s.selected;
    return verdict;
  });
  if (added < 0) return check;
  AppendEntry(name);
  SaveStore();
  SelectEntry(added);
  return check;
}

bool ProfileListCommands::DeleteAt(int index) {
  bool was_selected = false;
  const int now = page_.model.With([&](PageState& s) {
    was_selected = index == s.selected;
    return DeleteProfileAt(s.profiles, s.selected, static_cast<std::size_t>(index)) ? s.selected
                                                                                    : -1;
  });
  if (now < 0) return false;
  if (page_.list != nullptr) {
    const QSignalBlocker quiet(page_.list);
    delete page_.list->takeItem(index);
    if (!was_selected) page_.list->setCurrentRow(now);
  }
  SaveStore();
  // Another profile than the one on the mouse went: it stays as it is.
  if (was_selected) SelectEntry(now);
  return true;
}

std::optional<ProfileNameCheck> ProfileListCommands::RenameAt(int index, const QString& name) {
  const std::optional<ProfileNameCheck> check =
      page_.model.With([&](PageState& s) -> std::optional<ProfileNameCheck> {
        if (index < 0 || static_cast<std::size_t>(index) >= s.profiles.size()) return std::nullopt;
        const ProfileNameCheck verdict = CheckProfileName(s.profiles, name.toStdU16String());
        if (verdict == ProfileNameCheck::kOk) {
          RenameProfileAt(s.profiles, static_cast<std::size_t>(index), name.toStdU16String());
        }
        return verdict;
      });
  if (check != ProfileNameCheck::kOk) return check;
  if (page_.list != nullptr && page_.list->item(index) != nullptr) {
    page_.list->item(index)->setText(name);
  }
  SaveStore();
  return check;
}

void ProfileListCommands::ResetAt(int index) {
  const bool current = page_.model.With([index](PageState& s) {
    if (index < 0 || static_cast<std::size_t>(index) >= s.profiles.size()) return false;
    ResetProfile(*s.profiles[static_cast<std::size_t>(index)]);
    return index == s.selected;
  });
  SaveStore();
  if (current) page_.select(index);
}

bool ProfileListCommands::ExportAt(int index, const QString& file, std::string& error) {
  // As it is in memory now, with edits not yet sent.
  const auto profile = page_.model.With([index](const PageState& s) {
    return index < 0 || static_cast<std::size_t>(index) >= s.profiles.size()
               ? nullptr
               : CopyProfile(*s.profiles[static_cast<std::size_t>(index)]);
  });
  return profile && ExportProfile(file.toStdString(), *profile, error);
}

int ProfileListCommands::ImportFrom(const QString& file, ProfileImport& result,
                                    std::string& error) {
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
  if (!ImportProfileSelected(file.toStdString(), page_.stores, lists.profiles, lists.selected,
                             lists.macros, result, error)) {
    return -1;
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
  return static_cast<int>(result.index);
}

void ProfileListCommands::SelectAndSave(int index) {
  SelectEntry(index);
  SaveStore();
}

int ProfileListCommands::Selected() const {
  return page_.model.With([](const PageState& s) { return s.selected; });
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
  return ConfirmWarning(page_.owner, text_key);
}

void ProfileListCommands::Tell(const QString& text_key, const QString& detail) {
  ShowWarning(page_.owner, text_key, detail.isEmpty() ? QStringList() : QStringList{detail});
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
