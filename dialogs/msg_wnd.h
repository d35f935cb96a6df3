// The message box: a title and a message, both language keys, and OK/Cancel.
// Result 1 when the user confirmed with "btn_ok", 0 otherwise.
#pragma once

#include <QString>
#include <QStringList>

#include "platform/skin_form.h"

namespace ms1 {

class CMsgWnd : public SkinDialog {
 public:
  explicit CMsgWnd(QWidget* owner = nullptr) : SkinDialog(owner) {}

  // Inputs, set before Create().
  QString title;
  QString message;
  QStringList messageArgs;    // fill %1, %2, ... of the message's text
  bool singleButton = false;  // a notice: only "btn_ok"

  QString WindowClassName() const override { return QStringLiteral("MsgWnd"); }
  QString SkinFileName() const override { return QStringLiteral("msg.xml"); }

 protected:
  void InitWindow() override;
  void Notify(const Notification& n) override;
};

// Creates, centres and runs a message box owned by `owner`; its modal result.
int ShowMessageBox(QWidget* owner, const QString& titleKey, const QString& messageKey,
                   bool singleButton = false, const QStringList& messageArgs = {});

// The program's warnings, all under "warning_title_text": one the user must
// confirm (true when they did), and a notice with only "btn_ok".
bool ConfirmWarning(QWidget* owner, const QString& textKey);
void ShowWarning(QWidget* owner, const QString& textKey, const QStringList& messageArgs = {});

}  // namespace ms1
