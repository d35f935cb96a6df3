// One running copy per user: the first start holds a lock file and listens on a
// local socket named after the instance; a later start finds the lock taken,
// asks the first to come forward over that socket and leaves.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace ms1 {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  explicit SingleInstance(const QString& instanceName, QObject* parent = nullptr);
  ~SingleInstance() override;

  // True when this is the first copy; it then serves requests of later ones.
  // A lock left by a copy that died is taken over.
  bool Acquire();

  // From a later copy: asks the first to come forward and waits for its answer.
  // True when it answered within `timeoutMs`.
  bool AskFirstToComeForward(int timeoutMs = 5000);

  QString LockPath() const { return lock_path_; }
  QString SocketName() const { return socket_name_; }

 signals:
  // A later copy asked this one to come forward.
  void showRequested();

 private:
  void ServeNextConnection();

  QString lock_path_;
  QString socket_name_;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer* server_ = nullptr;
};

}  // namespace ms1
