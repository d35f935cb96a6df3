#include "platform/single_instance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ms1 {
namespace {
constexpr char kShowRequest[] = "show\n";
constexpr char kShowAnswer[] = "ok\n";

QString RuntimeFolder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return folder;
}

// The abstract socket namespace is shared by every user and session of the
// machine: the name carries the user and the lock's place, so each session's
// copy is found only by starts of the same session.
QString SocketNameFor(const QString& instanceName, const QString& lockPath) {
  const QByteArray place =
      QCryptographicHash::hash(lockPath.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
  return instanceName + u'.' + QString::number(getuid()) + u'.' + QString::fromLatin1(place);
}

// Why files cannot be made in `folder`: an errno value, 0 when they can.
int FolderUnusable(const QByteArray& folder) {
  struct stat status {};
  if (stat(folder.constData(), &status) != 0) return errno;
  if (!S_ISDIR(status.st_mode)) return ENOTDIR;
  return access(folder.constData(), W_OK | X_OK) != 0 ? errno : 0;
}

// QLockFile tells only its kind of failure; the folder usually tells why.
QString ExplainLockFailure(const QString& lockPath, QLockFile::LockError error) {
  int cause = FolderUnusable(QFile::encodeName(QFileInfo(lockPath).absolutePath()));
  if (cause == 0 && error == QLockFile::PermissionError) cause = EACCES;
  if (cause == 0) return QStringLiteral("the lock file cannot be created");
  return QString::fromLocal8Bit(std::strerror(cause));
}

// The abstract socket can be reached by every user of the machine: only
// requests from this copy's own user are served.
bool FromThisUser(qintptr descriptor) {
  ucred peer{};
  socklen_t size = sizeof peer;
  if (getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) {
    return false;
  }
  return peer.uid == geteuid();
}

}  // namespace

SingleInstance::SingleInstance(const QString& instanceName, QObject* parent)
    : SingleInstance(instanceName, RuntimeFolder(), parent) {}

SingleInstance::SingleInstance(const QString& instanceName, const QString& lockFolder,
                               QObject* parent)
    : QObject(parent),
      lock_path_(lockFolder + u'/' + instanceName + QStringLiteral(".lock")),
      socket_name_(SocketNameFor(instanceName, lock_path_)) {}

SingleInstance::~SingleInstance() = default;

InstanceClaim SingleInstance::Acquire() {
  lock_ = std::make_unique<QLockFile>(lock_path_);
  // Never stale by age: only a lock whose process is gone is taken over.
  lock_->setStaleLockTime(0);
  if (!lock_->tryLock(0)) {
    const QLockFile::LockError error = lock_->error();
    lock_.reset();
    if (error == QLockFile::LockFailedError) return InstanceClaim::kAnotherRuns;
    failure_ = ExplainLockFailure(lock_path_, error);
    return InstanceClaim::kFailed;
  }
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::AbstractNamespaceOption);
  if (!server_->listen(socket_name_)) {
    // Still the only copy; later starts just cannot bring it forward.
    std::fprintf(stderr, "single instance: cannot listen: %s\n",
                 qPrintable(server_->errorString()));
    return InstanceClaim::kFirst;
  }
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::ServeNextConnection);
  return InstanceClaim::kFirst;
}

void SingleInstance::ServeNextConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    if (!FromThisUser(socket->socketDescriptor())) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (!socket->canReadLine()) return;
      const QByteArray request = socket->readLine();
      if (request == kShowRequest) {
        // Answer first: coming forward may open a modal warning, and the later
        // copy must not wait for the user to close it.
        socket->write(kShowAnswer);
        socket->flush();
        emit showRequested();
      }
      socket->disconnectFromServer();
    });
  }
}

bool SingleInstance::AskFirstToComeForward(int timeoutMs) {
  QLocalSocket socket;
  socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
  socket.connectToServer(socket_name_);
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(kShowRequest);
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  while (!socket.canReadLine()) {
    if (!socket.waitForReadyRead(timeoutMs)) return false;
  }
  return socket.readLine() == kShowAnswer;
}

}  // namespace ms1
