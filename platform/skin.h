// The skin folder and the forms in it. Every window's layout is a Qt Designer
// form in the skin folder, read at run time; our own controls (colour palette,
// ring progress) are created by class name.
#pragma once

#include <QString>
#include <QUiLoader>

namespace ms1 {

// The skin folder, ending with '/'. Set once at start-up.
void SetSkinFolder(const QString& folder);
QString SkinFolder();

// A file of the skin folder, e.g. "MS/MS_1/profilename.xml".
QString SkinFile(const QString& relative);

class LibraryPathsHidden;

// Every class a form names is a Qt widget or one of ours, so the loader starts
// without Qt Designer's widget plugins: they would bring Qt Quick and QML into
// the process for nothing.
class SkinLoader : public QUiLoader {
  Q_OBJECT
 public:
  explicit SkinLoader(QObject* parent = nullptr);
  QWidget* createWidget(const QString& className, QWidget* parent = nullptr,
                        const QString& name = QString()) override;

  // Loads a form of the skin folder under `parent`. Null when it is missing or
  // unreadable; the reason goes to standard error.
  QWidget* LoadForm(const QString& relative, QWidget* parent);

 private:
  SkinLoader(const LibraryPathsHidden&, QObject* parent);
};

// Replaces "${SKIN}" in a style sheet with the skin folder.
QString ExpandSkinPaths(QString styleSheet);

// The dark look: Fusion style (with texts too wide for their controls elided,
// platform/elided_text.h), a dark palette (the ring progress and the palette
// control draw with it) and the skin's style sheet.
void ApplySkinStyle();

// The same in two steps. Every control that exists when the style sheet is
// set, or is moved to another parent afterwards, is matched against it again,
// and building the main window moves many; so the program sets the style and
// palette first and the style sheet once the main window is built, before it
// is shown.
void ApplySkinPalette();
void ApplySkinStyleSheet();

// Reads the skin's style sheet ("style.qss") with its paths expanded; empty
// when there is none.
QString SkinStyleSheet();

}  // namespace ms1
