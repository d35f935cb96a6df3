// One running copy per user: the first start holds a lock file and listens on a
// local socket named after the instance; a later start finds the lock taken,
// asks the first to come forward over that socket and leaves. A copy that is
// ending stops listening before it lets go of the lock, so a start meanwhile
// waits for the lock instead. The socket is a plain abstract one: Qt's
// network module would cost memory all session.
#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <set>

class QSocketNotifier;

namespace ms1 {

enum class InstanceClaim {
  kFirst,           // this is the only copy; it serves later starts
  kAnotherRuns,     // the lock is held by a running copy
  kFailed,          // the lock could not be taken at all (see FailureReason)
  kAnotherIsStuck,  // held by a copy that neither came forward nor ended in time
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
  // What a start does: takes the lock, or asks the copy holding it to come
  // forward (kAnotherRuns once it has). A holder that does not answer is
  // ending, or stuck: its lock is waited for, `waiting` told once, until
  // `patience` has passed.
  InstanceClaim ClaimOrBringForward(std::chrono::milliseconds patience,
                                    const std::function<void()>& waiting);
  // This copy is ending: later starts no longer ask it to come forward but
  // wait for its lock, which it keeps until it has ended.
  void StopAnswering();
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
