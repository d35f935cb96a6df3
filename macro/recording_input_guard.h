// While a recording runs, what the user types and clicks belongs to the
// recorder. Inside the editor's own window the same keys and clicks would also
// act on its controls: Space would switch the focused check box, Escape close
// the window, a click pick another step. The guard keeps them from the
// window's controls (the input hook sees them all the same), except for the
// controls that must still work, such as the button that stops the recording.
#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class QWidget;

namespace ms1 {

class RecordingInputGuard final : public QObject {
 public:
  RecordingInputGuard(QWidget* window, std::vector<QWidget*> clickable);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool IsClickable(const QWidget* target) const;

  QPointer<QWidget> window_;
  std::vector<QPointer<QWidget>> clickable_;
};

}  // namespace ms1
