// The soak's hands on the running window: controls by name, used the way a
// user can use them (only while shown and enabled), and what the page holds.
#pragma once

#include <QString>
#include <memory>

#include "app/main_wnd.h"
#include "model/records.h"
#include "ui/ms1_page.h"

class QAbstractButton;

namespace ms1::soak {

class PageAccess {
 public:
  PageAccess(CMainWnd& window, CMS_1_Page& page) : window_(window), page_(page) {}

  CMainWnd& window() { return window_; }
  CMS_1_Page& page() { return page_; }

  QWidget* Control(const QString& name) const { return window_.FindControl(name); }
  template <class T>
  T* Control(const QString& name) const {
    return qobject_cast<T*>(Control(name));
  }
  // A control the user could reach now: on the window's current page, shown, enabled.
  template <class T = QWidget>
  T* Usable(const QString& name) const {
    T* control = Control<T>(name);
    return control != nullptr && control->isVisibleTo(&window_) && control->isEnabled() ? control
                                                                                         : nullptr;
  }

  // A press of a push button, or of a radio button's or check box's indicator.
  static void Click(QAbstractButton* button);

  // A copy of the current profile; null while there is none.
  std::unique_ptr<ProfileRecord> CurrentProfile();

  // Nothing left to send: no debounce running, no apply shown as running,
  // and nothing the next apply would send.
  bool Settled();

  // Runs the event loop for `ms` (the pace of the random use, not a wait for anything).
  static void RunFor(int ms);

 private:
  CMainWnd& window_;
  CMS_1_Page& page_;
};

}  // namespace ms1::soak
