// Writes the seed corpora of the fuzz targets from the program's own
// encoders and writers, so that the seeds are what the program really makes:
//   ms1_fuzz_seeds <corpus folder> <skin folder>
// Run once by hand after a format change; the seeds are kept in the repository.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "model/apply_plan.h"
#include "model/button_assignment.h"
#include "model/macro_report.h"
#include "model/macro_store.h"
#include "model/profile.h"
#include "model/profile_store.h"
#include "model/protocol/events.h"
#include "model/text_field.h"

namespace {

using namespace ms1;
namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void Write(const fs::path& file, const Bytes& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

template <typename T>
Bytes BytesOfRecord(const T& record) {
  const auto* p = reinterpret_cast<const uint8_t*>(&record);
  return Bytes(p, p + sizeof(T));
}

// A recorded macro: key presses and releases, one long pause among them.
MacroRecord RecordedMacro(const char16_t* name, int steps) {
  MacroRecord macro{};
  SetFieldText(macro.name, name);
  macro.loop_count = 2;
  macro.action_count = steps;
  for (int s = 0; s < steps; ++s) {
    macro.actions[s] = {static_cast<uint8_t>(0x04 + s / 2 % 26),
                        static_cast<uint8_t>(s % 2 == 0 ? kActionPress : kActionRelease),
                        static_cast<uint16_t>(s == 3 ? 1400 : s % 7 == 6 ? 60000 : 30 + s)};
  }
  return macro;
}

std::unique_ptr<ProfileRecord> ProfileWithMacros() {
  auto profile = CreateProfile(u"Work");
  const MacroRecord short_macro = RecordedMacro(u"Copy", 4);
  const MacroRecord long_macro = RecordedMacro(u"Long", kMaxMacroActions);
  for (int k = 0; k < kModeCount; ++k) {
    ButtonRecord& copy_button = profile->modes[k].buttons[3];
    ButtonRecord& long_button = profile->modes[k].buttons[5];
    copy_button.function_code = long_button.function_code = kFunctionMacro;
    AssignMacro(copy_button, short_macro, 0, 1, 3);
    AssignMacro(long_button, long_macro, 1, 0, 0);
  }
  profile->active_mode = 1;
  return profile;
}

void ProfileFileSeeds(const fs::path& to) {
  Write(to / "work-with-macros.pro", BytesOfRecord(*ProfileWithMacros()));
  Write(to / "short.pro", Bytes(1000, 0));
  Write(to / "empty.pro", {});
}

void MacroFileSeeds(const fs::path& to) {
  Write(to / "recorded.macro", BytesOfRecord(RecordedMacro(u"Copy", 6)));
  Write(to / "full.macro", BytesOfRecord(RecordedMacro(u"Macro 1", kMaxMacroActions)));
  Write(to / "empty.macro", BytesOfRecord(RecordedMacro(u"", 0)));
  MacroRecord too_long = RecordedMacro(u"Too long", kMaxMacroActions);
  too_long.action_count = kMaxMacroActions + 1;
  Write(to / "too-many-steps.macro", BytesOfRecord(too_long));
}

void StoreSeeds(const fs::path& corpus) {
  const fs::path data = fs::temp_directory_path() / "ms1-fuzz-seeds";
  std::error_code ec;
  fs::remove_all(data, ec);
  ProfileList profiles;
  profiles.push_back(ProfileWithMacros());
  std::string error;
  SaveProfileStore(data, profiles, 0, error);
  const Bytes one = ReadAll(ProfileStorePath(data));
  Write(corpus / "profile_store" / "one-profile.data", one);
  Write(corpus / "profile_store" / "cut-short.data", Bytes(one.begin(), one.begin() + 600));
  Write(corpus / "profile_store" / "index-only.data", Bytes{2, 0, 0, 0});

  MacroList macros;
  for (const char16_t* name : {u"Copy", u"Paste", u"Long"}) {
    macros.push_back(std::make_unique<MacroRecord>(RecordedMacro(name, name[0] == u'L' ? 46 : 8)));
  }
  SaveMacroStore(data, macros, error);
  const Bytes three = ReadAll(MacroStorePath(data));
  Write(corpus / "macro_store" / "three-macros.data", three);
  Write(corpus / "macro_store" / "cut-short.data", Bytes(three.begin(), three.begin() + 600));
  Write(corpus / "macro_store" / "empty.data", {});
  fs::remove_all(data, ec);
}

// The device events target's messages: an op byte, then its fields.
void Event(Bytes& to, uint8_t op, DeviceEvent e) {
  to.push_back(op);
  if (op == 2 || op == 3) {  // a data message: wParam and lParam
    for (uint32_t part : {uint32_t{e.code}, uint32_t{e.value}}) {
      for (int b = 0; b < 4; ++b) to.push_back(static_cast<uint8_t>(part >> (8 * b)));
    }
    return;
  }
  const auto bytes = EncodeDeviceEvent(e);  // a raw report or a notification
  to.push_back(static_cast<uint8_t>(bytes.size()));
  to.insert(to.end(), bytes.begin(), bytes.end());
}

void DeviceEventSeeds(const fs::path& to) {
  Bytes wired{0, 1};  // the cable plugged in
  Event(wired, 2, {event::kDpiLevel, 3});
  Event(wired, 4, {event::kMode, 1});
  Event(wired, 2, {event::kPollingRate, 2});
  Event(wired, 4, {event::kConfigChanged, 0});
  wired.insert(wired.end(), {0, 2});  // and pulled
  Write(to / "wired.events", wired);

  Bytes receiver{1, 1};
  Event(receiver, 3, {event::kStatus, StatusValue(7, true)});
  Event(receiver, 5, {event::kAcknowledge, kAckAccepted});
  Event(receiver, 3, {event::kBattery, 6});
  Event(receiver, 5, {event::kStatus, StatusValue(7, false)});
  receiver.push_back(8);  // heartbeat timeout
  Write(to / "receiver.events", receiver);

  Bytes ble{7, 1};
  Event(ble, 6, {event::kStatus, StatusValue(9, true)});
  Event(ble, 6, {event::kDpiLevel, 8});
  Event(ble, 6, {event::kMode, 4});
  ble.insert(ble.end(), {6, 0, 6, 2, 0x10, 0x40, 7, 0});  // empty and short notifications
  Write(to / "bluetooth.events", ble);
}

// The report checker target's messages: op = link + 3 x action.
void Deliver(Bytes& to, int link, const Report& report) {
  to.push_back(static_cast<uint8_t>(link));
  to.push_back(static_cast<uint8_t>(report.size()));
  to.insert(to.end(), report.begin(), report.end());
}

void ReportCheckSeeds(const fs::path& to) {
  const auto profile = ProfileWithMacros();
  const auto never_sent = std::make_unique<ProfileRecord>();
  const ApplyPlan plan = PlanApply(*profile, *never_sent, true);
  Bytes receiver{3 * 3 + 1, 1};
  for (const Report& report : plan.reports) Deliver(receiver, 1, report);
  Write(to / "receiver-apply.reports", receiver);

  Bytes wired{3 * 3 + 0, 1};
  for (const Report& report : plan.reports) {
    if (report[0] != command::kMacro) {
      Deliver(wired, 0, report);
      continue;
    }
    for (const Report& chunk : WiredMacroChunks(report)) Deliver(wired, 0, chunk);
  }
  Write(to / "wired-apply.reports", wired);

  Bytes ble{3 * 3 + 2, 1, 3 * 4 + 2, 0};  // plugged, awake
  for (const Report& report : plan.reports) {
    if (report[0] != command::kPollingRate) Deliver(ble, 2, report);
  }
  Write(to / "bluetooth-apply.reports", ble);
}

void SkinSeeds(const fs::path& corpus, const fs::path& skin) {
  Write(corpus / "skin_menu" / "traymenu.xml", ReadAll(skin / "traymenu.xml"));
  Write(corpus / "skin_menu" / "ms_1_menu.xml", ReadAll(skin / "MS" / "MS_1" / "ms_1_menu.xml"));
  const std::string nested =
      "<Menu><Item name=\"a\" text=\"a_text\" checkable=\"true\"/><Separator/>"
      "<Menu text=\"m_text\" name=\"m\"><Item name=\"b\" text=\"b_text\" icon=\"images/x.svg\"/>"
      "<Menu text=\"n_text\"><Item name=\"c\"/></Menu></Menu><Other/></Menu>";
  Write(corpus / "skin_menu" / "nested.xml", Bytes(nested.begin(), nested.end()));

  // The language file's head, closed, stands for the whole.
  const Bytes lan = ReadAll(skin / "lan.xml");
  std::string head(lan.begin(), lan.begin() + std::min<std::size_t>(lan.size(), 1500));
  head = head.substr(0, head.rfind("</Text>") + 7) + "\n</Language>\n";
  Write(corpus / "language_file" / "lan-head.xml", Bytes(head.begin(), head.end()));
  const std::string escapes =
      "<?xml version=\"1.0\"?><!-- comment --><Language>"
      "<Text key=\"a_text\">Fish &amp; chips &lt;b&gt; &#233;&#xE9; &quot;q&apos;</Text>"
      "<Text key='b_text'/><Text key=\"\">no key</Text><Other>x</Other>"
      "<Text key=\"c_text\">line\r\nnext</Text></Language>";
  Write(corpus / "language_file" / "escapes.xml", Bytes(escapes.begin(), escapes.end()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <corpus folder> <skin folder>\n", argv[0]);
    return 2;
  }
  const fs::path corpus = argv[1];
  ProfileFileSeeds(corpus / "profile_file");
  MacroFileSeeds(corpus / "macro_file");
  StoreSeeds(corpus);
  DeviceEventSeeds(corpus / "device_events");
  ReportCheckSeeds(corpus / "report_check");
  SkinSeeds(corpus, argv[2]);
  return 0;
}
