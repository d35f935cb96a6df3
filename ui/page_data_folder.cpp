#include "ui/page_data_folder.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "device/messages.h"
#include "dialogs/msg_wnd.h"
#include "platform/language.h"
#include "ui/device_page.h"

namespace ms1 {
namespace {

// Shown once the window is up, not in the middle of its start-up or a save.
void PostWarning(PageHost& host, const QString& text_key, const std::vector<std::string>& args) {
  host.Messages().PostWork([&host, text_key, args] {
    QStringList texts;
    for (const std::string& arg : args) texts << QString::fromStdString(arg);
    ShowWarning(host.HostWindow(), text_key, texts);
  });
}

std::string HolderText(const std::filesystem::path& data_folder) {
  const std::optional<LockHolder> holder = DataFolderLock::HolderOf(data_folder);
  if (!holder) return Lan().Text(QStringLiteral("data_folder_holder_unknown_text")).toStdString();
  return Lan()
      .Text(QStringLiteral("data_folder_holder_text"))
      .arg(QString::fromStdString(holder->command), QString::number(holder->pid))
      .toStdString();
}

}  // namespace

PageDataFolder::PageDataFolder(std::filesystem::path folder, PageHost& host)
    : folder_(std::move(folder)),
      host_(host),
      owner_(folder_),
      stores_(folder_, [&host](const StoreSaveResult& result) {
        host.Messages().Post(msg::kStoreSaveResult, result.saved ? 1 : 0,
                             static_cast<intptr_t>(result.store),
                             QString::fromStdString(result.error));
      }) {}

bool PageDataFolder::Load(PageModel& model) {
  Own();
  const StoreAccess access = owner_.owned() ? StoreAccess::kReadWrite : StoreAccess::kReadOnly;
  const std::u16string add_text = Lan().Text(QStringLiteral("add_profile_text")).toStdU16String();
  loads_.clear();
  model.With([&](PageState& state) {
    state.force_full_apply = true;
    state.profiles.clear();
    state.macros.clear();
    int32_t selected = 0;
    loads_.push_back(stores_.LoadProfiles(state.profiles, selected, add_text, access));
    loads_.push_back(stores_.LoadMacros(state.macros, access));
    state.selected = selected;
  });
  // Only an edit makes the next save worth writing.
  const bool unsent_marked = stores_.UnsentEditsMarked();
  if (loads_.front().ok()) model.RememberLoaded(unsent_marked);
  return unsent_marked;
}

void PageDataFolder::Own() {
  // A command of ms1ctl may be writing the store this very moment; it ends soon.
  constexpr std::chrono::seconds kCommandEnds{3};
  owner_.OnKeptAside([&host = host_](const std::filesystem::path& store,
                                     const std::filesystem::path& aside) {
    PostWarning(host, QStringLiteral("store_changed_kept_text"), {store.string(), aside.string()});
  });
  std::string error;
  const auto result = owner_.Take(kCommandEnds, error);
  if (result == DataFolderLock::Result::kBusy) {
    std::fprintf(stderr, "the data folder %s is held by another process\n", folder_.c_str());
    PostWarning(host_, QStringLiteral("data_folder_held_text"),
                {folder_.string(), HolderText(folder_)});
  } else if (result == DataFolderLock::Result::kUnavailable) {
    std::fprintf(stderr, "the data folder cannot be locked: %s\n", error.c_str());
  }
}

void PageDataFolder::TellLoadProblems() {
  const StoreLoadNotice notice = NoticeOf(loads_);
  if (notice.text_key.empty()) return;
  PostWarning(host_, QString::fromStdString(notice.text_key), notice.args);
}

}  // namespace ms1
