// Widget-test helpers: wait for a condition while the event loop runs, and act
// on a modal window once it is open.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <functional>

namespace ms1::test {

// Runs the event loop until `done` holds; false after the safety timeout.
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 60000) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return true;
}

// Shows a window and waits until it is the active one; false when it never was.
inline bool ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  return WaitFor([&] { return window.isActiveWindow(); });
}

// Once a modal window of kind `Kind` other than `outer` is active, calls `act`
// with it; a modal of another kind is left to the watch armed for it, as two
// may be armed for one click. When none appears in time, closes whatever is
// modal so the test cannot hang, and `act` gets null.
template <typename Kind = QWidget>
void WhenModal(std::function<void(QWidget*)> act, QWidget* outer = nullptr) {
  auto* poll = new QTimer;
  auto deadline = std::make_shared<QDeadlineTimer>(60000);
  QObject::connect(poll, &QTimer::timeout, [poll, deadline, act, outer] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != outer && modal->isVisible() &&
        dynamic_cast<Kind*>(modal) != nullptr) {
      poll->stop();
      poll->deleteLater();
      act(modal);
    } else if (deadline->hasExpired()) {
      poll->stop();
      poll->deleteLater();
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(-1);
      act(nullptr);
    }
  });
  poll->start(5);
}

// Enters `path` in a file dialog's name field as a user types it. The
// dialog's own selectFile leaves that field alone while it has the focus, so
// what it chose would hang on how soon the dialog was activated.
inline void TypeFileName(QFileDialog* dialog, const QString& path) {
  dialog->selectFile(path);
  if (auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
    field->setText(path);
  }
}

}  // namespace ms1::test
