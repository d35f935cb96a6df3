// Logout, shutdown and `kill` end the program the way its Exit does: SIGTERM,
// SIGINT and SIGHUP are turned into a call on the interface thread, where
// the window can close down and save. The handler itself only writes one
// byte to a pipe; everything else happens in the event loop.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace ms1 {

class QuitSignals final : public QObject {
 public:
  // Installs the handlers. From then on these signals no longer end the
  // program by themselves: they are handled when the event loop runs.
  QuitSignals();
  // Puts the default handlers back and closes the pipe.
  ~QuitSignals() override;
  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;

  // False when the pipe or the handlers could not be set up; the signals then
  // keep their default action.
  bool ok() const { return notifier_ != nullptr; }

  // What a signal does, run on the thread that made the object, at most once
  // (a second signal while the first is handled ends nothing more). Set it
  // once the window exists and clear it before the window goes.
  void SetQuit(std::function<void()> quit) { quit_ = std::move(quit); }

 private:
  void OnSignal();

  std::function<void()> quit_;
  QSocketNotifier* notifier_ = nullptr;
  bool quitting_ = false;
};

}  // namespace ms1
