// Answers every modal window the random use opens, as a user would: a colour
// dialog gets a swatch (or is cancelled now and then), a message box its OK,
// the profile-name dialog a fresh name; anything else is closed.
#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <string>

namespace ms1::soak {

class ModalAnswers : public QObject {
 public:
  // `draw(n)`: a random number in 0..n-1, from the run's seeded generator.
  explicit ModalAnswers(std::function<int(int)> draw) : draw_(std::move(draw)) {}

  // Looks for a modal window every few milliseconds until Stop().
  void Start();
  void Stop() { running_ = false; }

  // How many windows of each kind were answered.
  const std::map<std::string, int>& Answered() const { return answered_; }

 private:
  void Look();
  void Answer(QWidget* modal);

  std::function<int(int)> draw_;
  bool running_ = false;
  int names_given_ = 0;
  std::map<std::string, int> answered_;
};

}  // namespace ms1::soak
