// The on-screen DPI indicator: a small topmost window near the bottom-right
// corner of the work area that shows the DPI after a level switch on the mouse.
// It never takes the focus. Its owner closes it; it deletes itself then.
#pragma once

#include <QString>

#include "platform/skin_form.h"

namespace ms1 {

class CDPIMsg : public SkinWindow {
 public:
  explicit CDPIMsg(QWidget* owner = nullptr);

  // Input, set before Create(); later changes go through SetText.
  QString text;

  void SetText(const QString& newText);

  // Where the indicator sits for a given work area.
  static QRect PlaceIn(const QRect& workArea);

  QString WindowClassName() const override { return QStringLiteral("DPIWnd"); }
  QString SkinFileName() const override { return QStringLiteral("DPImsg.xml"); }

 protected:
  void InitWindow() override;
  void Notify(const Notification&) override {}
};

}  // namespace ms1
