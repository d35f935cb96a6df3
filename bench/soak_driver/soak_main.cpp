// ms1_soak: the program itself (its entry, single instance, skin, main window
// and device page, from the program folder it is copied into) with a soak run
// driving the page once the window is up. bench/soak sets up the folder, the
// display and the virtual mouse, and counts the idle wake-ups.
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "app/entry.h"
#include "app/main_wnd.h"
#include "bench/soak_driver/soak_options.h"
#include "bench/soak_driver/soak_run.h"
#include "ui/ms1_page.h"

namespace {

ms1::CMainWnd* FindMainWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = dynamic_cast<ms1::CMainWnd*>(widget)) return window;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace ms1::soak;
  SoakOptions options;
  std::string error;
  if (!ParseSoakOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "ms1_soak: %s\n", error.c_str());
    return kExitCannotStart;
  }
  std::FILE* report = fdopen(dup(options.report_fd), "w");
  if (report == nullptr) {
    std::perror("ms1_soak: report descriptor");
    return kExitCannotStart;
  }
  int verdict = kExitCannotStart;
  ms1::CMS_1_Page* page = nullptr;
  // The page the program would make, and the run started once the loop runs.
  const auto makePage = [&]() -> std::unique_ptr<ms1::DevicePage> {
    auto made = std::make_unique<ms1::CMS_1_Page>();
    page = made.get();
    QTimer::singleShot(0, [&] {
      ms1::CMainWnd* window = FindMainWindow();
      if (window != nullptr) {
        SoakRun run(*window, *page, options, report);
        verdict = run.Run();
        window->DestroyWindow();
      } else {
        QCoreApplication::quit();
      }
    });
    return made;
  };
  const int code = ms1::RunApplication(argc, argv, makePage);
  std::fclose(report);
  return code == ms1::kExitDone ? verdict : code;
}
