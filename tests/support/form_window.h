// Test helper: a window that shows any form of the skin folder.
#pragma once

#include "platform/skin_form.h"

namespace ms1::test {

class FormWindow : public SkinWindow {
 public:
  explicit FormWindow(QString file) : file_(std::move(file)) {}
  QString WindowClassName() const override { return QStringLiteral("FormWnd"); }
  QString SkinFileName() const override { return file_; }

 private:
  QString file_;
};

}  // namespace ms1::test
