#include "bench/soak_driver/modal_answers.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "dialogs/config_name.h"
#include "dialogs/msg_wnd.h"
#include "ui/dpi_color_wnd.h"

namespace ms1::soak {
namespace {

constexpr int kLookEveryMs = 10;
constexpr int kSwatchCount = 16;

void Press(SkinDialog* dialog, const char* name) {
  if (QWidget* control = dialog->FindControl(QString::fromLatin1(name))) {
    QTest::mouseClick(control, Qt::LeftButton);
  }
}

}  // namespace

void ModalAnswers::Start() {
  running_ = true;
  Look();
}

// The next look is armed before answering: an answer may open a window of
// its own, whose nested loop must find it answered too.
void ModalAnswers::Look() {
  if (!running_) return;
  QTimer::singleShot(kLookEveryMs, this, [this] { Look(); });
  QWidget* modal = QApplication::activeModalWidget();
  if (modal != nullptr && modal->isVisible()) Answer(modal);
}

void ModalAnswers::Answer(QWidget* modal) {
  if (auto* color = dynamic_cast<CDpiColorWnd*>(modal)) {
    ++answered_["colour dialog"];
    if (draw_(5) == 0) {
      Press(color, "cancel_btn");
      return;
    }
    const QString swatch = QStringLiteral("mouse_dpi_color_%1").arg(1 + draw_(kSwatchCount));
    if (QWidget* control = color->FindControl(swatch)) QTest::mouseClick(control, Qt::LeftButton);
    Press(color, "confirm_btn");
  } else if (auto* box = dynamic_cast<CMsgWnd*>(modal)) {
    ++answered_["message box"];
    Press(box, "btn_ok");
  } else if (auto* name = dynamic_cast<CMS_1_ConfigName*>(modal)) {
    ++answered_["profile name"];
    if (auto* edit = name->FindControl<QLineEdit>(QStringLiteral("edit_name"))) {
      edit->setText(QStringLiteral("Soak %1").arg(++names_given_));
    }
    Press(name, "btn_ok");
    if (name->isVisible()) Press(name, "btn_cancel");
  } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
    ++answered_["other, closed"];
    dialog->reject();
  }
}

}  // namespace ms1::soak
