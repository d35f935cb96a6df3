// Every language on the skin's fixed sizes: each label and caption of the main
// window (on the virtual mouse) and of the dialogs, with the longest texts
// they are given at run time, shows whole, or elided with its whole text as
// tool tip, and stays within its panel. A screenshot of the window per
// language is left in the test artifacts.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <array>

#include "device_page_fixture.h"
#include "platform/language.h"
#include "platform/language_choice.h"
#include "platform/resource_text.h"
#include "platform/skin.h"
#include "support/form_window.h"

namespace ms1 {
namespace {

// What is wrong with how the control shows its text; empty when nothing.
std::string Clipped(QWidget* control, QWidget& window) {
  auto* label = qobject_cast<QLabel*>(control);
  if (label == nullptr && qobject_cast<QAbstractButton*>(control) == nullptr) return {};
  // A key button fits its caption itself, and keeps the whole of it.
  const QVariant caption = control->property("fullcaption");
  const QString whole = caption.isValid() ? caption.toString() : ControlText(control);
  for (QWidget* parent = control->parentWidget(); parent != &window && !whole.isEmpty();
       parent = parent->parentWidget()) {
    const int left = control->mapTo(parent, QPoint()).x();
    if (left < 0 || left + control->width() > parent->width()) return "sticks out of its panel";
  }
  control->grab();  // painted, as when it comes into view
  if (whole.isEmpty() || control->toolTip() == whole) return {};
  if (label != nullptr && label->wordWrap()) {
    return label->heightForWidth(label->width()) <= label->height() ? "" : "wraps too tall";
  }
  if (control->height() < control->minimumSizeHint().height()) return "lower than its text";
  return control->width() >= control->sizeHint().width() ? "" : "narrower than its text";
}

void ExpectNothingClipped(QWidget& window, const char* where) {
  window.show();
  QCoreApplication::processEvents();  // laid out
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (!control->isVisibleTo(&window)) continue;
    EXPECT_EQ(Clipped(control, window), "") << where << ": " << control->objectName().toStdString()
                                            << " \"" << ControlText(control).toStdString() << "\"";
  }
}

// Each dialog as its form shows it, then with the longest texts the windows
// set at run time (each placeholder a path).
constexpr std::array<const char*, 3> kDialogs[] = {
    {"msg.xml", "warning", "store_changed_kept_text"},
    {"msg.xml", "warning", "no_access_text"},
    {"MS/MS_1/profilename.xml", "title_string", "profile_name_2_text"},
    {"shortcut.xml"},
    {"DpiColorDialog.xml", "dpicolor_title", "dpi_color_title_text"},
    {"DpiColorDialog.xml", "dpicolor_title", "light_color_title_text"},
    {"MS/MS_1/ms_1_macropage.xml", "ms_1_macro_record_btn", "stop_recording_text"},
    {"MS/MS_1/ms_1_macropage.xml", "macro_capture_note", "input_capture_no_record_text"},
    {"MS/MS_1/ms_1_macropage.xml", "macro_steps_note", "macro_too_large_text"},
    {"MS/MS_1/selectmacro.xml"},
    {"DPImsg.xml"},
};

using LanguageFit = test::DevicePageTest;

TEST_F(LanguageFit, EveryTextOfTheWindowAndTheDialogsShowsWholeOrElidedWithATip) {
  ApplySkinStyle();
  QStringList languages = {QStringLiteral("en")};
  for (const QString& file : QDir(SkinFolder()).entryList({QStringLiteral("lan_*.xml")})) {
    languages << file.mid(4, file.size() - 8);
  }
  for (const QString& language : languages) {
    SCOPED_TRACE(language.toStdString());
    LoadLanguage(language == u"en" ? QString() : language);
    Start("wired");
    ExpectNothingClipped(*window, "main window");
    window->grab().save(QString::fromStdString(test::paths::ArtifactFolder()) +
                        QStringLiteral("window_%1.png").arg(language));
    TearDown();
    for (const auto& [form, name, key] : kDialogs) {
      test::FormWindow dialog{QString::fromLatin1(form)};
      ASSERT_TRUE(dialog.Create());
      if (QWidget* control = dialog.FindControl(QString::fromLatin1(name))) {
        SetResourceText(control, false);
        SetControlText(control, Lan()
                                    .Text(QString::fromLatin1(key))
                                    .replace(QRegularExpression(QStringLiteral("%[1-9]")),
                                             QStringLiteral("/home/user/.local/share/ms1-config")));
        control->show();
      }
      ExpectNothingClipped(dialog, key != nullptr ? key : form);
    }
  }
  LoadLanguage({});
}

}  // namespace
}  // namespace ms1
