// The profile-name dialog: asks for a new name and refuses an empty one or one
// that a profile already has. Result 1 with the entered name, 0 when cancelled.
#pragma once

#include <QString>
#include <functional>

#include "platform/skin_form.h"

namespace ms1 {

class CMS_1_ConfigName : public SkinDialog {
 public:
  // Profile names keep at most this many UTF-16 units.
  static constexpr int kMaxNameLength = 49;

  explicit CMS_1_ConfigName(QWidget* owner = nullptr) : SkinDialog(owner) {}

  // Inputs, set before Create(): the title key and the duplicate check (true
  // when a profile already has the name, compared without regard to case).
  QString title;
  std::function<bool(const QString&)> nameExists;

  // Output: the entered name; empty unless the result is 1.
  QString name;

  QString WindowClassName() const override { return QStringLiteral("MS_1_ConfigName"); }
  QString SkinFileName() const override { return QStringLiteral("MS/MS_1/profilename.xml"); }

 protected:
  void InitWindow() override;
  void OnClick(const Notification& n) override;

 private:
  void Confirm();
};

// At most kMaxNameLength UTF-16 units, never ending in half a surrogate pair.
QString ClipProfileName(const QString& text);

}  // namespace ms1
