#include "ui/button_text.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

#include "model/button_assignment.h"
#include "model/function_table.h"
#include "model/text_field.h"
#include "platform/language.h"
#include "platform/resource_text.h"

namespace ms1 {
namespace {

QString ModifierNames(uint8_t modifiers) {
  static const char* const keys[] = {"keyboard_ctrl_text", "keyboard_shift_text",
                                     "keyboard_alt_text", "keyboard_win_text"};
  QString names;
  for (int bit = 0; bit < 4; ++bit) {
    if ((modifiers & (1u << bit)) != 0) names += Lan().Text(QLatin1String(keys[bit])) + "+";
  }
  return names;
}

constexpr char kFullCaption[] = "fullcaption";
constexpr char kFitterName[] = "ms1-caption-fitter";

// The width the button's label may take: inside its frame and padding, beside
// its icon.
int CaptionRoom(const QAbstractButton& button) {
  int room = button.contentsRect().width();
  if (const auto* push = qobject_cast<const QPushButton*>(&button)) {
    QStyleOptionButton option;
    option.initFrom(push);
    option.features = push->isFlat() ? QStyleOptionButton::Flat : QStyleOptionButton::None;
    room = push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push).width();
  }
  if (!button.icon().isNull()) room -= button.iconSize().width() + 4;
  return std::max(room, 0);
}

void FitCaption(QAbstractButton& button) {
  const QString full = button.property(kFullCaption).toString();
  button.ensurePolished();  // the style sheet's font and padding count
  const QString shown =
      button.fontMetrics().elidedText(full, Qt::ElideRight, CaptionRoom(button));
  button.setText(shown);
  button.setToolTip(shown == full ? QString() : full);
}

// Fits the caption again when the room for it changes.
class CaptionFitter final : public QObject {
 public:
  explicit CaptionFitter(QAbstractButton& button) : QObject(&button) {
    setObjectName(QLatin1String(kFitterName));
    // An elided caption must not shrink its button in turn.
    QSizePolicy policy = button.sizePolicy();
    policy.setHorizontalPolicy(QSizePolicy::Ignored);
    button.setSizePolicy(policy);
    button.installEventFilter(this);
  }

  static void AttachTo(QAbstractButton& button) {
    const QString name = QLatin1String(kFitterName);
    if (button.findChild<QObject*>(name, Qt::FindDirectChildrenOnly) == nullptr) {
      new CaptionFitter(button);
    }
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::Resize:
      case QEvent::FontChange:
      case QEvent::StyleChange:
        FitCaption(*static_cast<QAbstractButton*>(watched));
        break;
      default:
        break;
    }
    return false;
  }
};

}  // namespace

ButtonText ButtonTextOf(const ButtonRecord& button, const KeyNamer& key_name) {
  switch (button.function_code) {
    case kFunctionShortcut:
      return {ModifierNames(button.shortcut_modifiers) + key_name(button.shortcut_key), false};
    case kFunctionMacro:
      return {Lan()
                  .Text(QStringLiteral("macro_caption_text"))
                  .arg(QString::fromStdU16String(FieldText(button.macro_name))),
              false};
    default: {
      const std::string_view key = LabelKeyFor(button.function_code);
      return {QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())), true};
    }
  }
}

void ShowButtonText(QAbstractButton* control, const ButtonText& text) {
  if (control == nullptr) return;
  SetResourceText(control, text.is_language_key);
  SetControlText(control, text.text);
  control->setProperty(kFullCaption, ControlText(control));
  CaptionFitter::AttachTo(*control);
  FitCaption(*control);
}

}  // namespace ms1
