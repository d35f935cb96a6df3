// main() of the test programs that run real windows on a private Xvfb: the
// X server is started before the QApplication exists (listing the tests, at
// build time, needs none), and without Xvfb, xdotool or setxkbmap the tests
// run off screen and skip what needs X.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "platform/language.h"
#include "platform/skin.h"
#include "support/test_paths.h"
#include "support/x_session.h"

namespace ms1::test {

// `x_server` is set while the tests run, when the private X server started.
inline int RunTestsOnPrivateX(int argc, char** argv, XSession*& x_server) {
  setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
  ::testing::InitGoogleTest(&argc, argv);
  std::unique_ptr<XSession> x;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!::testing::GTEST_FLAG(list_tests) && Installed("Xvfb") && Installed("xdotool") &&
      Installed("setxkbmap")) {
    x = std::make_unique<XSession>();
    if (x->Start()) {
      setenv("DISPLAY", x->Display().c_str(), 1);
      setenv("QT_QPA_PLATFORM", "xcb", 1);
      x_server = x.get();
    }
  }
  int result = 0;
  {
    QApplication app(argc, argv);
    SetSkinFolder(QString::fromStdString(paths::SkinFolder()));
    Lan().Load(SkinFile(QStringLiteral("lan.xml")));
    ApplySkinStyle();  // the windows as the program shows them
    result = RUN_ALL_TESTS();
  }
  x_server = nullptr;
  return result;
}

}  // namespace ms1::test
