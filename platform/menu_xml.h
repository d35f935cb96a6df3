// Pop-up menus described in the skin folder:
//   <Menu>
//     <Item name="configuration" text="configuration_text" icon="images/x.svg"/>
//     <Item name="autostart" text="autostart_text" checkable="true"/>
//     <Separator/>
//     <Menu text="assign_macro_text"> ...items... </Menu>
//   </Menu>
// Texts are language keys. Choosing an item reports its name.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QMenu;
class QWidget;

namespace ms1 {

using MenuChosen = std::function<void(const QString& itemName)>;

// Null when the file is missing or not a menu; the reason goes to standard error.
std::unique_ptr<QMenu> BuildMenu(const QString& skinRelativeFile, const MenuChosen& chosen,
                                 QWidget* parent = nullptr);

// The same from XML text; icon paths are relative to the skin folder.
std::unique_ptr<QMenu> BuildMenuFromXml(const QByteArray& xml, const MenuChosen& chosen,
                                        QWidget* parent = nullptr);

}  // namespace ms1
