// One running copy per user: the first start holds a lock file and listens on a
// local socket named after the instance; a later start finds the lock taken,
// asks the first to come forward over that socket and leaves. The socket is a
// plain abstract one: Qt's network module would cost memory all session.
#pragma once

#include <QObject>
#include <QString>
#include <set>

class QSocketNotifier;

namespace ms1 {

enum class InstanceClaim {
  kFirst,        // this is the only copy; it serves later starts
  kAnotherRuns,  // the lock is held by a running copy
  kFailed,       // the lock could not be taken at all (see FailureReason)
};

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // The lock lies in the user's runtime folder (the temporary folder without one).
  explicit SingleInstance(const QString& instanceName, QObject* parent = nullptr);
  SingleInstance(const QString& instanceName, const QString& lockFolder,
                 QObject* parent = nullptr);
  ~SingleInstance() override;

  // A lock left by a copy that died is taken over.
  InstanceClaim Acquire();
  // Why the last Acquire failed, for the user ("No such file or directory").
  QString FailureReason() const { return failure_; }

  // From a later copy: asks the first to come forward and waits for its answer.
  // True when it answered within `timeoutMs`.
  bool AskFirstToComeForward(int timeoutMs = 5000);

  QString LockPath() const { return lock_path_; }
  QString SocketName() const { return socket_name_; }

 signals:
  // A later copy of this user asked this one to come forward.
  void showRequested();

 private:
  void ServeNextConnection();
  void ServeRequest(int client);
  void Drop(int client);

  QString lock_path_;
  QString socket_name_;
  QString failure_;
  int lock_ = -1;  // the locked file, held while this copy runs
  int listener_ = -1;
  QSocketNotifier* listening_ = nullptr;
  std::set<int> clients_;  // accepted and not yet answered
};

}  // namespace ms1
