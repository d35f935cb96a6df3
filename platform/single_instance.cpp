#include "platform/single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <cstdio>

namespace ms1 {
namespace {
constexpr char kShowRequest[] = "show\n";
constexpr char kShowAnswer[] = "ok\n";

QString LockFolder() {
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

}  // namespace

SingleInstance::SingleInstance(const QString& instanceName, QObject* parent)
    : QObject(parent),
      lock_path_(LockFolder() + u'/' + instanceName + QStringLiteral(".lock")),
      socket_name_(SocketNameFor(instanceName, lock_path_)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Acquire() {
  lock_ = std::make_unique<QLockFile>(lock_path_);
  // Never stale by age: only a lock whose process is gone is taken over.
  lock_->setStaleLockTime(0);
  if (!lock_->tryLock(0)) {
    lock_.reset();
    return false;
  }
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::AbstractNamespaceOption);
  if (!server_->listen(socket_name_)) {
    // Still the only copy; later starts just cannot bring it forward.
    std::fprintf(stderr, "single instance: cannot listen: %s\n",
                 qPrintable(server_->errorString()));
    return true;
  }
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::ServeNextConnection);
  return true;
}

void SingleInstance::ServeNextConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
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
