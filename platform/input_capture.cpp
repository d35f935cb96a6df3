#include "platform/input_capture.h"

#include <QLabel>

#include "platform/language.h"

namespace ms1 {

void ShowInputCaptureNote(QLabel* note, bool hook_bound) {
  if (note == nullptr) return;
  std::string limit = hook_bound ? InputCaptureProblem() : std::string(kInputCaptureNoHookKey);
  if (limit.empty() && WaylandSession()) limit = kInputCaptureWaylandKey;
  const QString problem = QString::fromStdString(limit);
  note->setText(problem.isEmpty() ? QString() : Lan().Text(problem));
  note->setVisible(!problem.isEmpty());
}

}  // namespace ms1
