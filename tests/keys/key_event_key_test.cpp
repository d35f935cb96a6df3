// Key events of the program's own windows name the key the input hook would:
// by position and layout where the event carries its xkb key code, else by
// the key Qt names.
#include "keys/key_event_key.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QKeyEvent>
#include <cstdio>

#include "keys/key_trace.h"
#include "support/scoped_env.h"

namespace ms1 {
namespace {

TEST(KeyEventKey, GivesTheVirtualKeyTheHookReports) {
  const struct Case {
    const char* layout;
    int key;
    Qt::KeyboardModifiers modifiers;
    quint32 xkb_key;  // 0: none, as in the events Qt makes itself
    uint32_t virtual_key;
  } cases[] = {
      {"us", Qt::Key_C, {}, 0, 'C'},
      {"us", Qt::Key_Control, {}, 0, 0xA2},
      {"us", Qt::Key_Backtab, {}, 0, 0x09},
      {"us", Qt::Key_Enter, Qt::KeypadModifier, 0, 0x6C},
      {"us", Qt::Key_F12, {}, 0, 0x7B},
      {"us", Qt::Key_Minus, Qt::KeypadModifier, 0, 0x6D},
      {"us", Qt::Key_Slash, {}, 0, 0xBF},
      {"us", Qt::Key_Exclam, {}, 0, 0},        // no key of its own
      {"us", Qt::Key_A, {}, 24, 'Q'},          // the position decides
      {"fr", Qt::Key_A, {}, 24, 'A'},          // the French A lies where the US Q does
      {"fr", Qt::Key_Ampersand, {}, 10, '1'},  // AZERTY digits, unshifted
      {"us", Qt::Key_Control, {}, 105, 0xA3},  // the right one
      {"us", Qt::Key_unknown, {}, 255, 0},
  };
  for (const Case& c : cases) {
    test::ScopedEnv env;
    env.Clear("DISPLAY").Set("XKB_DEFAULT_LAYOUT", c.layout).Clear("XKB_DEFAULT_VARIANT");
    const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, c.xkb_key, 0, 0);
    EXPECT_EQ(VirtualKeyOfKeyEvent(event), c.virtual_key) << c.layout << " " << std::hex << c.key;
  }
}

// What a user typed reaches standard error, and so the journal, only when
// asked for.
TEST(KeyTrace, KeysAreTracedOnlyWhenAskedFor) {
  const std::pair<const char*, bool> cases[] = {{nullptr, false}, {"0", false}, {"1", true}};
  for (const auto& [value, traced] : cases) {
    test::ScopedEnv env;
    if (value != nullptr) {
      env.Set("MS1_TRACE_KEYS", value);
    } else {
      env.Clear("MS1_TRACE_KEYS");
    }
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    std::FILE* sink = std::tmpfile();
    dup2(fileno(sink), STDERR_FILENO);
    TraceKey("iUsageID=%d\n", 6);
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    EXPECT_EQ(std::ftell(sink) > 0, traced) << (value ? value : "unset");
    std::fclose(sink);
  }
}

}  // namespace
}  // namespace ms1
