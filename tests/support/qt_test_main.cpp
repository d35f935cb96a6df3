// main() of the widget test programs: an off-screen QApplication with the real
// skin folder and language file of the source tree.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/language.h"
#include "platform/skin.h"
#include "support/test_paths.h"

int main(int argc, char** argv) {
  // Before the QApplication exists: gtest_discover_tests runs this at build time.
  // MS1_TEST_PLATFORM runs the same tests on another of Qt's platforms (the
  // Wayland tests use it); a QT_QPA_PLATFORM of the session never does.
  const char* platform = std::getenv("MS1_TEST_PLATFORM");
  setenv("QT_QPA_PLATFORM", platform != nullptr ? platform : "offscreen", 1);
  setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  ms1::SetSkinFolder(QString::fromStdString(ms1::test::paths::SkinFolder()));
  ms1::Lan().Load(ms1::SkinFile(QStringLiteral("lan.xml")));
  return RUN_ALL_TESTS();
}
