#include "platform/input_capture.h"

#include <QLabel>

#include "platform/language.h"

namespace ms1 {

void ShowInputCaptureNote(QLabel* note, bool hook_bound) {
  if (note == nullptr) return;
  const QString problem = QString::fromStdString(hook_bound ? InputCaptureProblem()
                                                            : std::string(kInputCaptureNoHookKey));
  note->setText(problem.isEmpty() ? QString() : Lan().Text(problem));
  note->setVisible(!problem.isEmpty());
}

}  // namespace ms1
