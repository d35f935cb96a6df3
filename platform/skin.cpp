#include "platform/skin.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPalette>
#include <QStyleFactory>
#include <cstdio>

#include "platform/color_palette.h"
#include "platform/elided_text.h"
#include "platform/ring_progress.h"

namespace ms1 {
namespace {
QString& Folder() {
  static QString folder;
  return folder;
}
}  // namespace

void SetSkinFolder(const QString& folder) {
  Folder() = folder.endsWith(u'/') ? folder : folder + u'/';
}

QString SkinFolder() {
  return Folder();
}

QString SkinFile(const QString& relative) {
  return Folder() + relative;
}

// QUiLoader's constructor loads the plugins of "designer/" under every library
// path; while the paths are hidden it finds none. Nothing else loads plugins on
// this thread meanwhile, and a plugin folder once read is not read again.
class LibraryPathsHidden {
 public:
  LibraryPathsHidden() : saved_(QCoreApplication::libraryPaths()) {
    QCoreApplication::setLibraryPaths({});
  }
  ~LibraryPathsHidden() { QCoreApplication::setLibraryPaths(saved_); }
  LibraryPathsHidden(const LibraryPathsHidden&) = delete;
  LibraryPathsHidden& operator=(const LibraryPathsHidden&) = delete;

 private:
  QStringList saved_;
};

// The hiding lasts until the delegated constructor has returned.
SkinLoader::SkinLoader(QObject* parent) : SkinLoader(LibraryPathsHidden{}, parent) {}

SkinLoader::SkinLoader(const LibraryPathsHidden&, QObject* parent) : QUiLoader(parent) {
  setWorkingDirectory(QDir(SkinFolder()));
}

QWidget* SkinLoader::createWidget(const QString& className, QWidget* parent, const QString& name) {
  QWidget* widget = nullptr;
  if (className == u"ColorPalette") {
    widget = new ColorPalette(parent);
  } else if (className == u"RingProgress") {
    widget = new RingProgress(parent);
  } else {
    return QUiLoader::createWidget(className, parent, name);
  }
  widget->setObjectName(name);
  return widget;
}

QWidget* SkinLoader::LoadForm(const QString& relative, QWidget* parent) {
  QFile file(SkinFile(relative));
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "skin: cannot open %s\n", qPrintable(file.fileName()));
    return nullptr;
  }
  QWidget* form = load(&file, parent);
  if (form == nullptr) {
    std::fprintf(stderr, "skin: %s: %s\n", qPrintable(file.fileName()), qPrintable(errorString()));
  }
  return form;
}

QString ExpandSkinPaths(QString styleSheet) {
  return styleSheet.replace(QStringLiteral("${SKIN}"), SkinFolder());
}

QString SkinStyleSheet() {
  QFile file(SkinFile(QStringLiteral("style.qss")));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return ExpandSkinPaths(QString::fromUtf8(file.readAll()));
}

}  // namespace ms1

namespace ms1 {

void ApplySkinStyle() {
  ApplySkinPalette();
  ApplySkinStyleSheet();
}

void ApplySkinPalette() {
  QApplication::setStyle(new ElidingStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(0x12, 0x14, 0x18));
  dark.setColor(QPalette::WindowText, QColor(0xe6, 0xe9, 0xef));
  dark.setColor(QPalette::Base, QColor(0x2c, 0x31, 0x3a));
  dark.setColor(QPalette::AlternateBase, QColor(0x1a, 0x1d, 0x23));
  dark.setColor(QPalette::Text, QColor(0xe6, 0xe9, 0xef));
  dark.setColor(QPalette::Button, QColor(0x22, 0x26, 0x2e));
  dark.setColor(QPalette::ButtonText, QColor(0xe6, 0xe9, 0xef));
  dark.setColor(QPalette::Highlight, QColor(0x18, 0xc6, 0xf0));
  dark.setColor(QPalette::HighlightedText, QColor(0x0d, 0x0f, 0x12));
  dark.setColor(QPalette::ToolTipBase, QColor(0x22, 0x26, 0x2e));
  dark.setColor(QPalette::ToolTipText, QColor(0xe6, 0xe9, 0xef));
  QApplication::setPalette(dark);
}

void ApplySkinStyleSheet() {
  qApp->setStyleSheet(SkinStyleSheet());
}

}  // namespace ms1
