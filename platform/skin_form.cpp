#include "platform/skin_form.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include "platform/resource_text.h"
#include "platform/skin.h"

namespace ms1 {
namespace {

// Frameless windows are moved by dragging a control marked `caption` (their
// title bar) with the left button.
class CaptionDrag : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonPress) return false;
    if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
    QWindow* window = static_cast<QWidget*>(watched)->window()->windowHandle();
    return window != nullptr && window->startSystemMove();
  }
};

void HookCaptions(QWidget* form) {
  auto* drag = new CaptionDrag(form);
  for (QWidget* child : form->findChildren<QWidget*>()) {
    if (child->property("caption").toBool()) child->installEventFilter(drag);
  }
}

}  // namespace

bool SkinForm::Load(QWidget* host, const QString& file, NotificationPump::Handler handler) {
  SkinLoader loader;
  form_ = loader.LoadForm(file, host);
  pump_ = new NotificationPump(std::move(handler), host);
  if (form_ == nullptr) return false;
  auto* layout = new QVBoxLayout(host);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(form_);
  host->resize(form_->size());
  host->setMinimumSize(form_->minimumSize());
  host->setMaximumSize(form_->maximumSize());
  host->setWindowTitle(form_->windowTitle());
  ApplyResourceTexts(form_);
  pump_->Attach(form_);
  HookCaptions(form_);
  return true;
}

QWidget* SkinForm::Find(const QString& name) const {
  if (form_ == nullptr || name.isEmpty()) return nullptr;
  if (form_->objectName() == name) return form_;
  return form_->findChild<QWidget*>(name);
}

SkinDialog::SkinDialog(QWidget* owner) : SkinHost<QDialog>(owner) {
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
}

SkinDialog::~SkinDialog() = default;

Ms1WindowHandle SkinDialog::MessageHandle() {
  if (!messages_) {
    messages_ = std::make_unique<WindowMessages>(
        [this](const WindowMessage& m) { return HandleCustomMessage(m); });
  }
  return messages_->Handle();
}

int SkinDialog::ShowModal() {
  setWindowModality(Qt::ApplicationModal);
  return exec();
}

void SkinDialog::CenterWindow() {
  const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  QRect area;
  if (owner != nullptr && owner->isVisible() && !owner->isMinimized()) {
    area = owner->frameGeometry();
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    area = screen->availableGeometry();
  } else {
    return;
  }
  const QSize own = size();
  move(area.center() - QPoint(own.width() / 2, own.height() / 2));
}

}  // namespace ms1
