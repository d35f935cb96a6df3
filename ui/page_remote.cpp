#include "ui/page_remote.h"

#include "model/macro_store.h"
#include "model/named_list.h"
#include "model/profile.h"
#include "model/profile_commands.h"
#include "model/profile_exchange.h"
#include "model/text_field.h"

namespace ms1 {
namespace {

using Kind = RemoteOutcome::Kind;

std::string NameOf(const MacroRecord& macro) {
  return Utf16ToUtf8(FieldText(macro.name));
}

RemoteOutcome NameRefusal(ProfileNameCheck check, const std::string& name) {
  return RemoteOutcome::Refused(Kind::kInvalidName, ProfileNameProblem(check, name));
}

}  // namespace

LiveState PageRemote::Live() const {
  LiveState live;
  const LinkState& links = session_.links();
  live.links = links.PresentLinkNames();
  live.connected = links.AnyLinkOpen();
  live.asleep = live.connected && links.mouseAsleep.load() != 0;
  const int level = session_.battery_level();
  if (level >= 1 && level <= 10) live.battery = level * 10;
  live.charging = session_.charging();
  session_.model().With([&live](const PageState& s) {
    for (const auto& profile : s.profiles) live.profiles.push_back(Utf16ToUtf8(profile.Name()));
    live.selected = s.selected;
    if (const ProfileRecord* current = s.Current()) {
      live.active_mode = ActiveModeIndex(*current);
      live.dpi_level = ModeOf(*current, live.active_mode).dpi_level + 1;
    }
  });
  live.edits_waiting = session_.model().MayHaveUnsentEdits();
  return live;
}

RemoteOutcome PageRemote::Run(const RemoteCall& call) {
  using Command = RemoteCall::Command;
  const QString name = QString::fromStdString(call.name);
  if (call.command == Command::kAddProfile) {
    const ProfileNameCheck check = commands_.AddNamed(name);
    return check == ProfileNameCheck::kOk ? RemoteOutcome{} : NameRefusal(check, call.name);
  }
  if (call.command == Command::kImportProfile) return ImportProfileFile(call.file);
  if (call.command == Command::kImportMacro) return ImportMacroFile(call.file);
  if (call.command == Command::kExportMacro) return ExportMacroFile(call.name, call.file);

  const int index = FindProfileNamed(call.name);
  if (index < 0) return RemoteOutcome::Refused(Kind::kNotFound, NoSuchProfileText(call.name));
  switch (call.command) {
    case Command::kSelectProfile:
      commands_.SelectAndSave(index);
      break;
    case Command::kDeleteProfile:
      if (!commands_.DeleteAt(index))
        return RemoteOutcome::Refused(Kind::kRefused, kOnlyProfileText);
      break;
    case Command::kRenameProfile: {
      const auto check = commands_.RenameAt(index, QString::fromStdString(call.other));
      if (!check) return RemoteOutcome::Refused(Kind::kNotFound, NoSuchProfileText(call.name));
      if (*check != ProfileNameCheck::kOk) return NameRefusal(*check, call.other);
      break;
    }
    case Command::kResetProfile:
      commands_.ResetAt(index);
      break;
    case Command::kExportProfile: {
      std::string error;
      if (!commands_.ExportAt(index, QString::fromStdString(call.file), error)) {
        return RemoteOutcome::Refused(Kind::kFailed, error);
      }
      break;
    }
    default:
      break;
  }
  return {};
}

int PageRemote::FindProfileNamed(const std::string& name) const {
  return session_.model().With(
      [&name](const PageState& s) { return FindProfile(s.profiles, Utf8ToUtf16(name)); });
}

RemoteOutcome PageRemote::ImportProfileFile(const std::string& file) {
  ProfileImport result;
  std::string error;
  const int index = commands_.ImportFrom(QString::fromStdString(file), result, error);
  if (index < 0) return RemoteOutcome::Refused(Kind::kFailed, error);
  RemoteOutcome outcome;
  outcome.index = index;
  session_.model().With([&](const PageState& s) {
    outcome.name = Utf16ToUtf8(s.profiles[static_cast<std::size_t>(index)].Name());
    for (std::size_t i = s.macros.size() - result.macros_added; i < s.macros.size(); ++i) {
      outcome.macros_added.push_back(NameOf(*s.macros[i]));
    }
  });
  return outcome;
}

RemoteOutcome PageRemote::ImportMacroFile(const std::string& file) {
  // As the profile import: the store is written from a copy, outside the
  // model's lock, and the model takes the list once it is saved.
  MacroList macros =
      session_.model().With([](const PageState& s) { return CopyMacroList(s.macros); });
  std::size_t index = 0;
  std::string error;
  if (!ImportMacro(file, stores_, macros, index, error)) {
    return RemoteOutcome::Refused(Kind::kFailed, error);
  }
  RemoteOutcome outcome;
  outcome.index = static_cast<int>(index);
  outcome.name = NameOf(*macros[index]);
  session_.model().With([&macros](PageState& s) { s.macros = std::move(macros); });
  return outcome;
}

RemoteOutcome PageRemote::ExportMacroFile(const std::string& name, const std::string& file) {
  std::string error;
  int found = -1;
  const bool exported = session_.model().With([&](const PageState& s) {
    found = FindByName(s.macros, Utf8ToUtf16(name));
    return found >= 0 && ExportMacro(file, *s.macros[static_cast<std::size_t>(found)], error);
  });
  if (found < 0) return RemoteOutcome::Refused(Kind::kNotFound, NoSuchMacroText(name));
  return exported ? RemoteOutcome{} : RemoteOutcome::Refused(Kind::kFailed, error);
}

}  // namespace ms1
