// The colour buttons of the page: the lighting colour, taken by all five mode
// records at once, and the eight DPI level colours, asked for mode record by
// mode record. Each confirmed colour is stored and sent at once.
#pragma once

#include <QPoint>
#include <QRgb>
#include <cstdint>
#include <functional>
#include <optional>

#include "device/page_model.h"

class QAbstractButton;
class QWidget;

namespace ms1 {

struct PageControls;

class PageColorCommands {
 public:
  // What the commands use of the device page.
  struct Page {
    PageModel& model;
    QWidget* owner;  // the main window
    std::function<void()> request_apply;
  };

  explicit PageColorCommands(Page page) : page_(std::move(page)) {}

  // Runs the command whose button `control` is; false when it is none.
  bool OnClick(const PageControls& c, const QWidget* control);

  void ChooseLightColor(QAbstractButton* button);
  // One dialog per mode record; a cancel skips only that record.
  void ChooseDpiColor(QAbstractButton* button, int level);

 private:
  // One colour dialog below `button`, starting from a stored colour; the
  // chosen colour, or nothing when cancelled.
  // `same_for_all`, when given, receives the dialog's "same colour in every
  // mode" answer (offered only when `offer_same_for_all`).
  std::optional<QRgb> Ask(const QAbstractButton* button, int32_t stored, const QString& title,
                          bool offer_same_for_all = false, bool* same_for_all = nullptr);

  Page page_;
};

// Where the colour dialog of `button` opens: its left edge 200 pixels left of
// the button's, its top at the button's bottom, moved as little as needed to
// lie on the screen.
QPoint ColorDialogPosition(const QWidget* button);

}  // namespace ms1
