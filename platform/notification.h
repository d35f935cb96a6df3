// One notification raised by a control of a loaded form, with the names the
// handlers are written against.
#pragma once

#include <QString>
#include <QtGlobal>

class QWidget;

namespace ms1 {

namespace notify {
inline constexpr char kClick[] = "click";
inline constexpr char kSelectChanged[] = "selectchanged";
inline constexpr char kItemSelect[] = "itemselect";
inline constexpr char kCheckClick[] = "checkclick";
inline constexpr char kValueChanged[] = "valuechanged";
inline constexpr char kTextChanged[] = "textchanged";
inline constexpr char kSetFocus[] = "setfocus";
inline constexpr char kKillFocus[] = "killfocus";
inline constexpr char kTimer[] = "timer";
inline constexpr char kMouseEnter[] = "mouseenter";
inline constexpr char kMouseLeave[] = "mouseleave";
inline constexpr char kColorChanged[] = "colorchanged";
}  // namespace notify

struct Notification {
  QString type;
  QString sender;    // the control's name
  qint64 param = 0;  // index, value, check state, timer id or colour
  QWidget* control = nullptr;

  bool Is(const char* t) const { return type == QLatin1String(t); }
  bool From(const QString& name) const { return sender == name; }
};

}  // namespace ms1
