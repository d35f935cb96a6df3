// The real main window with the device page on the real skin, its data in a
// folder of its own and the virtual mouse as its driver libraries; the mouse
// has the links a test asks for when the program starts ("" for none).
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <string>

#include "../libs/sim_instance.h"
#include "app/main_wnd.h"
#include "macro/macro_editor_window.h"
#include "model/profile.h"
#include "model/profile_store.h"
#include "model/text_field.h"
#include "platform/list_entry.h"
#include "support/qt_wait.h"
#include "support/test_paths.h"
#include "ui/ms1_page.h"

namespace ms1::test {

class DevicePageTest : public ::testing::Test {
 protected:
  // `plugged`: the links the mouse has when the program starts.
  void Start(const std::string& plugged) {
    sim = std::make_unique<SimInstance>(
        ::testing::UnitTest::GetInstance()->current_test_info()->name(), plugged);
    StartWindow();
  }
  // The program again, on the same mouse and data folder.
  void Restart() {
    window.reset();
    StartWindow();
  }
  void StartWindow() {
    auto page = std::make_unique<CMS_1_Page>(
        PageFolders{paths::VirtualDriversFolder() + "/", data.path().toStdString()});
    this->page = page.get();
    window = std::make_unique<CMainWnd>(std::move(page));
    window->quit = [] {};
    ASSERT_TRUE(window->Create());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QCoreApplication::processEvents();
  }
  void TearDown() override {
    window.reset();  // the page closes its drivers before the simulator stops
    sim.reset();
  }

  template <class T = QWidget>
  T* Control(const char* name) {
    return qobject_cast<T*>(window->FindControl(QString::fromLatin1(name)));
  }
  // One of a numbered row of controls: Control("ms_1_label_dpi_", 2).
  template <class T = QWidget>
  T* Control(const char* prefix, int n) {
    return qobject_cast<T*>(window->FindControl(QString::fromLatin1(prefix) + QString::number(n)));
  }
  ProfileRecord Current() {
    return page->model().With([](PageState& s) { return *s.Current(); });
  }
  int Accepted() { return static_cast<int>(sim->Log()["accepted"].size()); }
  bool Steer(const std::string& request) { return sim->Request(request).value("ok", false); }
  // Shown by the page (the no-device tab may cover the whole page).
  bool Shown(const char* name) { return !Control(name)->isHidden(); }
  int32_t StoredActiveMode() { return Stored().active_mode; }
  ProfileRecord Stored() {
    int32_t selected = -1;
    return *LoadStored(selected).at(static_cast<size_t>(selected));
  }
  ProfileList LoadStored(int32_t& selected) {
    ProfileList stored;
    LoadProfileStore(data.path().toStdString(), stored, selected, u"P");
    return stored;
  }
  // The store the program starts with.
  void SaveProfiles(const ProfileList& profiles, int selected = 0) {
    std::string error;
    ASSERT_TRUE(SaveProfileStore(data.path().toStdString(), profiles, selected, error)) << error;
  }
  void StoreProfiles(std::initializer_list<std::u16string_view> names, int selected) {
    ProfileList profiles;
    for (const auto name : names) profiles.push_back(CreateProfile(name));
    SaveProfiles(profiles, selected);
  }
  // The profile list as the window shows it and as the store holds it:
  // names and the selected index, "A,B *1".
  QString Entries() {
    auto* list = Control<QListWidget>("ms_1_list_profile");
    QStringList names;
    for (int i = 0; i < list->count(); ++i) {
      names << list->item(i)->text();
      EXPECT_EQ(list->item(i)->sizeHint().height(), kListEntryHeight);
    }
    return names.join(u',');
  }
  int Row() { return Control<QListWidget>("ms_1_list_profile")->currentRow(); }
  QString Listed() { return Entries() + QStringLiteral(" *%1").arg(Row()); }
  QString StoredList() {
    int32_t selected = -1;
    QStringList names;
    for (const auto& p : LoadStored(selected))
      names << QString::fromStdU16String(FieldText(p->name));
    return names.join(u',') + QStringLiteral(" *%1").arg(selected);
  }
  QString CurrentName() { return QString::fromStdU16String(FieldText(Current().name)); }
  // Opens the macro editor from the page and lets `edit` work in it before
  // it is closed.
  void InMacroEditor(const std::function<void(CMS_1_Macro*)>& edit) {
    bool done = false;
    test::WhenModal([&](QWidget* modal) {
      auto* editor = dynamic_cast<CMS_1_Macro*>(modal);
      ASSERT_NE(editor, nullptr);
      edit(editor);
      done = true;
      QTest::mouseClick(editor->FindControl(QStringLiteral("btn_exit")), Qt::LeftButton);
    });
    QTest::mouseClick(Control("ms_1_btn_macro"), Qt::LeftButton);
    ASSERT_TRUE(done);
  }
  // The lighting report the mouse holds for a mode record.
  nlohmann::json MouseLighting(int mode) { return sim->State()["modes"][mode]["lighting"]; }
  void Click(const char* name) { QTest::mouseClick(Control(name), Qt::LeftButton); }
  void ClickApply() { Click("ms_1_apply_btn"); }

  QTemporaryDir data;
  std::unique_ptr<SimInstance> sim;
  std::unique_ptr<CMainWnd> window;
  CMS_1_Page* page = nullptr;
};

}  // namespace ms1::test
