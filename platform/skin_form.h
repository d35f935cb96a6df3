// A window or dialog built from a skin form: the form is loaded into the host
// widget, its resource texts resolved, and its named controls' notifications
// delivered to the host's Notify. Controls are found by name.
#pragma once

#include <QDialog>
#include <QString>
#include <QWidget>
#include <memory>

#include "libs/abi/ms1_window_handle.h"
#include "platform/notification.h"
#include "platform/notification_pump.h"
#include "platform/window_messages.h"

namespace ms1 {

class SkinForm {
 public:
  // Loads `file` of the skin folder into `host`, which takes the form's size and
  // title. False when the form cannot be read; the host then stays empty.
  bool Load(QWidget* host, const QString& file, NotificationPump::Handler handler);

  QWidget* Find(const QString& name) const;
  QWidget* form() const { return form_; }
  void Silence() {
    if (pump_ != nullptr) pump_->Silence();
  }
  NotificationPump* pump() const { return pump_; }

 private:
  QWidget* form_ = nullptr;
  NotificationPump* pump_ = nullptr;
};

// The common shape of every window: it names its form and window class, finds
// its controls in InitWindow, and gets notifications in Notify (a "click" goes
// on to OnClick unless Notify is overridden).
template <class Base>
class SkinHost : public Base {
 public:
  using Base::Base;
  ~SkinHost() override { form_.Silence(); }

  // Builds the controls and runs InitWindow. False when the form is missing;
  // InitWindow still runs, so a window copes with controls it did not find.
  bool Create() {
    this->setObjectName(WindowClassName());
    const bool loaded =
        form_.Load(this, SkinFileName(), [this](const Notification& n) { Notify(n); });
    InitWindow();
    return loaded;
  }

  QWidget* FindControl(const QString& name) const { return form_.Find(name); }
  template <class T>
  T* FindControl(const QString& name) const {
    return qobject_cast<T*>(form_.Find(name));
  }
  NotificationPump* pump() const { return form_.pump(); }

  virtual QString WindowClassName() const = 0;
  virtual QString SkinFileName() const = 0;

 protected:
  virtual void InitWindow() {}
  virtual void Notify(const Notification& n) {
    if (n.Is(notify::kClick)) OnClick(n);
  }
  virtual void OnClick(const Notification&) {}

 private:
  SkinForm form_;
};

using SkinWindow = SkinHost<QWidget>;

// A modal window: the caller sets its input fields, runs ShowModal, and reads
// its output fields afterwards. The result is 1 for confirmation, 0 otherwise.
class SkinDialog : public SkinHost<QDialog> {
 public:
  explicit SkinDialog(QWidget* owner = nullptr);
  ~SkinDialog() override;

  void Close(int result) { done(result); }
  int ShowModal();
  void CenterWindow();

  // The dialog as a message target for a library that posts from its own
  // thread (the input hook): messages reach HandleCustomMessage on the
  // interface thread, in order. Whoever was given the handle must stop
  // posting before the dialog is destroyed; messages still waiting then are
  // dropped.
  Ms1WindowHandle MessageHandle();

 protected:
  virtual bool HandleCustomMessage(const WindowMessage&) { return false; }

 private:
  std::unique_ptr<WindowMessages> messages_;  // made when a handle is first asked for
};

}  // namespace ms1
