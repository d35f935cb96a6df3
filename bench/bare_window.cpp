// The floor the program's start-up and memory are measured against: the
// smallest Qt Widgets window that still shows something, a label and a button.
// bench/startup.sh starts it interleaved with the program.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare Qt window"));
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(new QLabel(QStringLiteral("A bare Qt Widgets window.")));
  layout->addWidget(new QPushButton(QStringLiteral("OK")));
  window.show();
  return QApplication::exec();
}
