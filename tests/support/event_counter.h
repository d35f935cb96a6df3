// Test helper: counts the events of one type that the objects it watches
// receive, so that a state which lasts only a moment is seen however late the
// test, on a busy machine, gets to look.
#pragma once

#include <QEvent>
#include <QObject>
#include <map>

namespace ms1::test {

class EventCounter : public QObject {
 public:
  explicit EventCounter(QEvent::Type type) : type_(type) {}
  void Watch(QObject* object) {
    object->installEventFilter(this);
    counts[object] = 0;
  }
  std::map<QObject*, int> counts;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == type_) ++counts[watched];
    return false;
  }

 private:
  QEvent::Type type_;
};

}  // namespace ms1::test
