#include "platform/dialog_keys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QWidget>

namespace ms1 {
namespace {

class DialogKeyKeeper final : public QObject {
 public:
  explicit DialogKeyKeeper(QWidget* field) : QObject(field) { field->installEventFilter(this); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) {
      return false;
    }
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Escape:
      case Qt::Key_Tab:
      case Qt::Key_Backtab:
        event->accept();
        return true;
      default:
        return false;
    }
  }
};

}  // namespace

void KeepDialogKeys(QWidget* field) {
  new DialogKeyKeeper(field);
}

}  // namespace ms1
