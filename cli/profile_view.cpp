#include "cli/profile_view.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "model/function_table.h"
#include "model/profile.h"
#include "model/protocol/dpi_steps.h"
#include "model/protocol/polling_rate.h"
#include "model/text_field.h"

namespace ms1::cli {

namespace {

using nlohmann::json;

std::string ColorText(int32_t bgr) {
  const auto v = static_cast<uint32_t>(bgr);
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
  return text;
}

std::string Hex2(unsigned value) {
  char text[5];
  std::snprintf(text, sizeof text, "0x%02X", value & 0xFF);
  return text;
}

// A key by its name, or by its number when it has none.
std::string KeyText(const std::string& name, unsigned key_code) {
  return name.empty() ? "key " + Hex2(key_code) : name;
}

void AddShortcut(const ButtonRecord& b, const KeyNames& names, json& out) {
  static const char* const kModifierIds[] = {"ctrl", "shift", "alt", "win"};
  json modifiers = json::array();
  std::string text;
  for (int bit = 0; bit < 4; ++bit) {
    if ((b.shortcut_modifiers & (1u << bit)) == 0) continue;
    modifiers.push_back(kModifierIds[bit]);
    text += names.modifiers[static_cast<std::size_t>(bit)] + "+";
  }
  const std::string key_name = names.key(b.shortcut_key);
  out["shortcut"] = text + KeyText(key_name, b.shortcut_key);
  out["shortcut_modifiers"] = modifiers;
  out["shortcut_key"] = b.shortcut_key;
  out["shortcut_key_name"] = key_name;
}

json MacroJson(const ButtonRecord& b, const KeyNames& names) {
  return {{"name", Utf16ToUtf8(FieldText(b.macro_name))},
          {"repeat_mode", b.macro_repeat_mode},
          {"loop_count", b.macro_loop_count},
          {"steps", MacroStepsToJson(b.macro_actions, b.macro_action_count, names)}};
}

json ButtonJson(const ButtonRecord& b, int i, const KeyNames& names) {
  json out = {{"button", i + 1}, {"code", b.function_code}};
  if (b.function_code == kFunctionShortcut) {
    out["function"] = "shortcut";
    AddShortcut(b, names, out);
  } else if (b.function_code == kFunctionMacro) {
    out["function"] = "macro";
    out["macro"] = MacroJson(b, names);
  } else {
    const std::string key(LabelKeyFor(b.function_code));
    out["function"] = key;
    if (!key.empty()) out["function_text"] = names.text ? names.text(key) : key;
  }
  return out;
}

json PollingJson(int32_t index) {
  const std::optional<int> hz = PollingHzForIndex(index);
  if (hz) return *hz;
  return nullptr;
}

json ModeJson(const ModeRecord& m, int k, const KeyNames& names) {
  json levels = json::array();
  for (int n = 0; n < kDpiLevelCount; ++n) {
    levels.push_back({{"level", n + 1},
                      {"dpi", DisplayedDpi(m.dpi_value[n])},
                      {"enabled", m.dpi_enabled[n] == 1},
                      {"color", ColorText(m.dpi_color[n])}});
  }
  json buttons = json::array();
  for (int i = 0; i < kButtonCount; ++i) buttons.push_back(ButtonJson(m.buttons[i], i, names));
  return {{"mode", k + 1},
          {"dpi_levels", levels},
          {"current_dpi_level", static_cast<int64_t>(m.dpi_level) + 1},
          {"lighting",
           {{"effect", m.light_effect},
            {"brightness", m.light_brightness},
            {"speed", m.light_speed},
            {"color", ColorText(m.light_color)}}},
          {"polling_rate_hz", PollingJson(m.polling_rate)},
          {"polling_rate_index", m.polling_rate},
          {"sleep_timer", m.sleep_timer * 0.5},
          {"move_mode", m.move_mode},
          {"buttons", buttons}};
}

std::string ButtonLine(const json& b) {
  std::ostringstream out;
  out << "    button " << b["button"].get<int>() << ": ";
  const std::string function = b["function"];
  if (function == "shortcut") {
    out << "shortcut " << b["shortcut"].get<std::string>();
  } else if (function == "macro") {
    const json& m = b["macro"];
    out << "macro \"" << m["name"].get<std::string>() << "\" (repeat mode "
        << m["repeat_mode"].get<int>() << ", loops " << m["loop_count"].get<int>() << ")";
    for (const json& s : m["steps"]) out << "\n      " << MacroStepLine(s);
  } else if (function.empty()) {
    out << "(code " << b["code"].get<int>() << ")";
  } else {
    out << b.value("function_text", function);
  }
  return out.str();
}

}  // namespace

json MacroStepsToJson(const MacroAction* actions, int count, const KeyNames& names) {
  json steps = json::array();
  count = std::clamp(count, 0, kMaxMacroActions);
  for (int s = 0; s < count; ++s) {
    const MacroAction& a = actions[s];
    steps.push_back({{"key", a.key},
                     {"key_name", names.key(a.key)},
                     {"action", a.state == kActionPress ? "press" : "release"},
                     {"delay_ms", a.delay_ms}});
  }
  return steps;
}

std::string MacroStepLine(const json& step) {
  const unsigned key = step["key"].get<unsigned>();
  const std::string name = step.value("key_name", std::string());
  return step["action"].get<std::string>() + " " +
         (name.empty() ? "key " + Hex2(key) : name + " (" + Hex2(key) + ")") + ", wait " +
         std::to_string(step["delay_ms"].get<int>()) + " ms";
}

json ProfileToJson(const ProfileRecord& profile, const KeyNames& names) {
  json modes = json::array();
  for (int k = 0; k < kModeCount; ++k) modes.push_back(ModeJson(profile.modes[k], k, names));
  return {{"name", Utf16ToUtf8(FieldText(profile.name))},
          {"active_mode", static_cast<int64_t>(profile.active_mode) + 1},
          {"modes", modes}};
}

std::string ProfileJsonToText(const json& view) {
  std::ostringstream out;
  out << "Profile \"" << view["name"].get<std::string>() << "\", active mode "
      << view["active_mode"].get<int64_t>() << "\n";
  for (const json& m : view["modes"]) {
    out << "  Mode " << m["mode"].get<int>() << "\n    DPI levels:";
    for (const json& l : m["dpi_levels"]) {
      out << " " << l["level"].get<int>() << "=" << l["dpi"].get<int64_t>() << " "
          << l["color"].get<std::string>() << (l["enabled"].get<bool>() ? "" : " (off)") << ";";
    }
    const json& light = m["lighting"];
    out << "\n    current DPI level " << m["current_dpi_level"].get<int64_t>()
        << "\n    lighting: effect " << light["effect"].get<int>() << ", brightness "
        << light["brightness"].get<int>() << ", speed " << light["speed"].get<int>()
        << ", colour " << light["color"].get<std::string>() << "\n    polling rate: ";
    if (m["polling_rate_hz"].is_null()) {
      out << "unknown (index " << m["polling_rate_index"].get<int>() << ")";
    } else {
      out << m["polling_rate_hz"].get<int>() << " Hz";
    }
    char sleep[32];
    std::snprintf(sleep, sizeof sleep, "%.1f", m["sleep_timer"].get<double>());
    out << "\n    sleep timer: " << sleep << "\n    move mode: " << m["move_mode"].get<int>()
        << "\n";
    for (const json& b : m["buttons"]) out << ButtonLine(b) << "\n";
  }
  return out.str();
}

}  // namespace ms1::cli
