#include "bench/soak_driver/page_access.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace ms1::soak {

void PageAccess::Click(QAbstractButton* button) {
  const bool indicator =
      qobject_cast<QRadioButton*>(button) != nullptr || qobject_cast<QCheckBox*>(button) != nullptr;
  const QPoint at = indicator ? QPoint(8, button->height() / 2) : button->rect().center();
  QTest::mouseClick(button, Qt::LeftButton, {}, at);
}

std::unique_ptr<ProfileRecord> PageAccess::CurrentProfile() {
  return page_.model().With([](PageState& s) -> std::unique_ptr<ProfileRecord> {
    return s.Current() != nullptr ? CopyProfile(*s.Current()) : nullptr;
  });
}

bool PageAccess::Settled() {
  const QWidget* ring = Control(QStringLiteral("apply_ring"));
  return !page_.apply_debounce().isActive() && (ring == nullptr || ring->isHidden()) &&
         !page_.model().HasUnsentEdits();
}

void PageAccess::RunFor(int ms) {
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents,
                                    static_cast<int>(deadline.remainingTime()));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

}  // namespace ms1::soak
