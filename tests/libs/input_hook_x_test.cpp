// Hook.so as the program loads it, on a private Xvfb, with input injected by
// xdotool as a user would type and click.
#include <xcb/xcb.h>
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/hook_library.h"
#include "support/scoped_env.h"
#include "support/test_paths.h"
#include "support/x_session.h"
#include "test_window.h"

namespace ms1::test {
namespace {

constexpr uint32_t kHookMessage = 1034;

PostedMessage Key(uint32_t virtual_key, bool released) {
  return {kHookMessage, virtual_key, released ? 1 : 0};
}

// A press and a release of each key, in order.
std::vector<PostedMessage> Taps(const std::vector<uint32_t>& virtual_keys) {
  std::vector<PostedMessage> messages;
  for (const uint32_t key : virtual_keys) {
    messages.push_back(Key(key, false));
    messages.push_back(Key(key, true));
  }
  return messages;
}

std::vector<PostedMessage> Button(uintptr_t down, uintptr_t up, intptr_t l_param) {
  return {{kHookMessage, down, l_param}, {kHookMessage, up, l_param}};
}

std::vector<PostedMessage> Concat(std::vector<std::vector<PostedMessage>> parts) {
  std::vector<PostedMessage> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The program folder the hook is loaded from, as the program loads it.
const std::string kProgramFolder = paths::ProgramFolder() + "/";
const std::string kHookFile = FolderLibraryPath(kProgramFolder, kInputHookFile);

bool StillLoaded() {
  void* handle = ::dlopen(kHookFile.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) ::dlclose(handle);
  return handle != nullptr;
}

// X key codes of the keys a test presses.
constexpr char kKeyA[] = "38", kKeyQ[] = "24";

class InputHookOnX : public KeyboardOnX {
 protected:
  void SetUp() override {
    KeyboardOnX::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    hook_ = std::make_unique<HookLibrary>(kProgramFolder);
    ASSERT_TRUE(hook_->Loaded());
  }
  void TearDown() override {
    if (hook_ != nullptr) hook_->Stop();
  }
  std::vector<std::string> Tools() const override { return {"Xvfb", "xdotool", "setxkbmap"}; }

  void XDoTool(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv = {"/usr/bin/xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    ASSERT_EQ(x_.X(argv).exit_code, 0);
  }
  void PressKeys(std::vector<std::string> key_codes) {
    key_codes.insert(key_codes.begin(), "key");
    XDoTool(key_codes);
  }
  // Waits for `expected.size()` messages and compares them all.
  static void ExpectMessages(TestWindow& window, const std::vector<PostedMessage>& expected) {
    ASSERT_TRUE(window.WaitForCount(expected.size()));
    EXPECT_EQ(window.Messages(), expected);
  }

  TestWindow window_;
  std::unique_ptr<HookLibrary> hook_;
};

TEST_F(InputHookOnX, KeysArriveAsTheVirtualKeysOfEachLayout) {
  struct Case {
    std::string layout;
    std::vector<std::string> key_codes;
    std::vector<uint32_t> virtual_keys;
  } const cases[] = {
      {"us",
       // A, Q, 1, 0, F1, F10, F11, F12, then Shift, Control, Alt, Super left and right
       {"38", "24", "10", "19", "67", "76", "95", "96", "50", "62", "37", "105", "64", "108",
        "133", "134"},
       {'A', 'Q', '1', '0', 0x70, 0x79, 0x7A, 0x7B, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0x5B,
        0x5C}},
      {"fr",
       {"24", "38", "25", "52", "47", "10", "19", "67", "108", "62"},
       {'A', 'Q', 'Z', 'W', 'M', '1', '0', 0x70, 0xA5, 0xA1}},
      {"de",
       {"29", "52", "38", "10", "69", "105", "134"},
       {'Z', 'Y', 'A', '1', 0x72, 0xA3, 0x5C}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout);
    SetLayout(c.layout);
    window_.Clear();
    hook_->Start(window_.Handle(), false);
    PressKeys(c.key_codes);
    ExpectMessages(window_, Taps(c.virtual_keys));
    hook_->Stop();
  }
}

TEST_F(InputHookOnX, ALayoutChangeWhileInstalledIsFollowed) {
  hook_->Start(window_.Handle(), false);
  std::size_t posted = 0;
  for (const auto& [layout, key] : std::initializer_list<std::pair<const char*, const char*>>{
           {"", kKeyQ}, {"fr", kKeyQ}, {"de", "52"}, {"us,fr", kKeyQ}}) {
    if (*layout != '\0') SetLayout(layout);
    PressKeys({key});
    ASSERT_TRUE(window_.WaitForCount(posted += 2));
  }

  // The group switches to the second layout, as a layout-switch key would.
  xcb_connection_t* connection = xcb_connect(x_.Display().c_str(), nullptr);
  std::free(xcb_xkb_use_extension_reply(connection, xcb_xkb_use_extension(connection, 1, 0),
                                        nullptr));
  xcb_generic_error_t* error = xcb_request_check(
      connection, xcb_xkb_latch_lock_state_checked(connection, XCB_XKB_ID_USE_CORE_KBD, 0, 0, 1,
                                                   1, 0, 0, 0));
  EXPECT_EQ(error, nullptr);
  std::free(error);
  xcb_disconnect(connection);
  PressKeys({kKeyQ});

  ExpectMessages(window_, Taps({'Q', 'A', 'Y', 'Q', 'A'}));
}

TEST_F(InputHookOnX, MouseButtonsArriveWithTheirMessagesAndTheWheelNever) {
  hook_->Start(window_.Handle(), true);
  XDoTool({"click", "1", "click", "2", "click", "3", "click", "4", "click", "5", "click", "6",
           "click", "7", "click", "8", "click", "9", "key", kKeyA});
  ExpectMessages(window_, Concat({Button(0x201, 0x202, 0), Button(0x207, 0x208, 0),
                                  Button(0x204, 0x205, 0), Button(0x20B, 0x20C, 2),
                                  Button(0x20B, 0x20C, 1), Taps({'A'})}));
}

// Each case injects a click of the left button and the wheel, and a key; the
// last key (Q) is injected once the case's `then` has run, and its arrival
// shows that everything injected before it has been dealt with.
TEST_F(InputHookOnX, TheEnableFlagsGateWhatIsReported) {
  using Setup = std::function<void(HookLibrary&, Ms1WindowHandle)>;
  struct Case {
    std::string name;
    Setup before, then;
    std::vector<PostedMessage> expected;
  } const cases[] = {
      {"keys only",
       [](HookLibrary& h, Ms1WindowHandle w) { h.Start(w, false); }, {},
       Taps({'A', 'Q'})},
      {"keys and mouse",
       [](HookLibrary& h, Ms1WindowHandle w) { h.Start(w, true); }, {},
       Concat({Button(0x201, 0x202, 0), Taps({'A', 'Q'})})},
      {"mouse switched off again",
       [](HookLibrary& h, Ms1WindowHandle w) {
         h.Start(w, true);
         h.enablemousehook(0);
       },
       {}, Taps({'A', 'Q'})},
      {"mouse flag set before the window",
       [](HookLibrary& h, Ms1WindowHandle w) {
         h.enablemousehook(1);
         h.enablehook(1);
         h.installhook(w);
       },
       {}, Concat({Button(0x201, 0x202, 0), Taps({'A', 'Q'})})},
      {"the wheel flag changes nothing",
       [](HookLibrary& h, Ms1WindowHandle w) {
         h.Start(w, false);
         h.mousewheelenable(1);
       },
       {}, Taps({'A', 'Q'})},
      {"reports off, then on",
       [](HookLibrary& h, Ms1WindowHandle w) {
         h.Start(w, true);
         h.enablehook(0);
       },
       [](HookLibrary& h, Ms1WindowHandle) { h.enablehook(1); }, Taps({'Q'})},
      {"no window, then one",
       [](HookLibrary& h, Ms1WindowHandle w) {
         h.Start(w, true);
         h.removehook();
       },
       [](HookLibrary& h, Ms1WindowHandle w) { h.installhook(w); }, Taps({'Q'})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestWindow window;
    c.before(*hook_, window.Handle());
    XDoTool({"click", "1", "click", "4", "key", kKeyA});
    if (c.then) c.then(*hook_, window.Handle());
    PressKeys({kKeyQ});
    ExpectMessages(window, c.expected);
    hook_->Stop();
  }
}

TEST_F(InputHookOnX, AnotherWindowTakesOverAtOnce) {
  TestWindow second;
  hook_->Start(window_.Handle(), false);
  PressKeys({kKeyA});
  ASSERT_TRUE(window_.WaitForCount(2));
  hook_->installhook(second.Handle());
  PressKeys({kKeyQ});
  ExpectMessages(second, Taps({'Q'}));
  EXPECT_EQ(window_.Messages(), Taps({'A'}));
  hook_->Stop();
}

// Keys are typed without pause while the hook is removed; the window is gone
// right after removehook, as a dialog would be (AddressSanitizer sees any
// later post).
TEST_F(InputHookOnX, AfterRemovehookReturnsNothingMoreIsPosted) {
  auto window = std::make_unique<TestWindow>();
  hook_->Start(window->Handle(), true);
  std::vector<std::string> typing = {"/usr/bin/xdotool", "key", "--delay", "1"};
  typing.insert(typing.end(), 600, kKeyA);
  const pid_t typist = Spawn(typing, {"DISPLAY=" + x_.Display()});
  ASSERT_TRUE(window->WaitForCount(20));
  hook_->removehook();
  const std::size_t posted = window->Messages().size();
  EXPECT_EQ(CaptureThreads(), 0);
  window->Clear();
  window.reset();
  EXPECT_EQ(WaitExit(typist, 60000), 0);

  TestWindow next;
  hook_->installhook(next.Handle());
  PressKeys({kKeyQ});
  ExpectMessages(next, Taps({'Q'}));
  hook_->Stop();
  EXPECT_LT(posted, 1200u);  // typing was still going on when the hook went
}

TEST_F(InputHookOnX, TwoHundredInstallRemoveCyclesLeaveNoThreadBehind) {
  for (int cycle = 0; cycle < 200; ++cycle) {
    if (cycle % 3 == 0) {
      hook_->enablehook(1);  // any order works
      hook_->installhook(window_.Handle());
      hook_->installhook(window_.Handle());
    } else {
      hook_->Start(window_.Handle(), cycle % 2 == 0);
    }
    if (cycle % 50 == 49) {
      window_.Clear();
      PressKeys({kKeyA});
      ExpectMessages(window_, Taps({'A'}));
    }
    hook_->Stop();
    if (cycle % 7 == 0) hook_->removehook();
  }
  EXPECT_EQ(CaptureThreads(), 0);
}

TEST_F(InputHookOnX, UnloadingEndsCaptureWithOrWithoutRemovehook) {
  hook_.reset();
  for (int cycle = 0; cycle < 20; ++cycle) {
    {
      HookLibrary hook(kProgramFolder);
      ASSERT_TRUE(hook.Loaded());
      hook.Start(window_.Handle(), true);
      EXPECT_EQ(CaptureThreads(), 1);
      if (cycle % 2 == 0) {
        hook.removemousehook();
        hook.removehook();
      }
    }
    EXPECT_EQ(CaptureThreads(), 0) << cycle;
    EXPECT_FALSE(StillLoaded()) << cycle;
  }
  window_.Clear();
  HookLibrary hook(kProgramFolder);
  hook.Start(window_.Handle(), false);
  PressKeys({kKeyA});
  ExpectMessages(window_, Taps({'A'}));
  hook.Stop();
}

TEST_F(InputHookOnX, AServerThatDiesLeavesEveryEntryPointWorking) {
  hook_->Start(window_.Handle(), true);
  PressKeys({kKeyA});
  ASSERT_TRUE(window_.WaitForCount(2));
  x_.KillServer();
  hook_->Stop();
  EXPECT_EQ(CaptureThreads(), 0);
  hook_->Start(window_.Handle(), true);
  EXPECT_EQ(CaptureThreads(), 0);
  hook_->Stop();
  EXPECT_EQ(window_.Messages(), Taps({'A'}));
}

class InputHookWithoutRecord : public InputHookOnX {
 protected:
  std::vector<std::string> ServerArguments() const override { return {"-extension", "RECORD"}; }
};

TEST_F(InputHookWithoutRecord, NothingRunsAndNothingIsReported) {
  hook_->Start(window_.Handle(), true);
  EXPECT_EQ(CaptureThreads(), 0);
  PressKeys({kKeyA});
  hook_->Stop();
  EXPECT_TRUE(window_.Messages().empty());
}

TEST(InputHookWithoutDisplay, EveryEntryPointReturnsAndNothingIsReported) {
  const char* const displays[] = {"", "no-such-display", nullptr};
  for (const char* display : displays) {
    SCOPED_TRACE(display ? display : "unset");
    ScopedEnv env;
    if (display == nullptr) {
      env.Clear("DISPLAY");
    } else {
      env.Set("DISPLAY", display);
    }
    TestWindow window;
    HookLibrary hook(kProgramFolder);
    ASSERT_TRUE(hook.Loaded());
    hook.enablehook(1);
    hook.enablemousehook(1);
    hook.installhook(window.Handle());
    EXPECT_EQ(CaptureThreads(), 0);
    hook.installmousehook();
    hook.Stop();
    hook.Start(window.Handle(), true);
    hook.removehook();
    hook.removehook();
    EXPECT_TRUE(window.Messages().empty());
  }
}

}  // namespace
}  // namespace ms1::test
