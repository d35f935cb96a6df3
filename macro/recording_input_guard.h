// While a recording runs, what the user types and clicks belongs to the
// recorder. Inside the editor's own window the same keys and clicks would also
// act on its controls: Space would switch the focused check box, Escape close
// the window, a click pick another step. The guard keeps them from the
// window's controls, except for the clicks on the controls that must still
// work, such as the button that stops the recording. The keys it keeps go to
// the recorder: the window's own key events are the one source that sees them
// on every platform (the input hook sees the clicks).
#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <vector>

class QWidget;

namespace ms1 {

class RecordingInputGuard final : public QObject {
 public:
  using KeySink = std::function<void(uint32_t virtual_key, bool released)>;

  RecordingInputGuard(QWidget* window, std::vector<QWidget*> clickable, KeySink keys);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool IsClickable(const QWidget* target) const;

  QPointer<QWidget> window_;
  std::vector<QPointer<QWidget>> clickable_;
  KeySink keys_;
};

}  // namespace ms1
