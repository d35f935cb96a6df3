#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/abstract_socket.h"

namespace ms1 {
namespace {
constexpr char kShowRequest[] = "show\n";
constexpr char kShowAnswer[] = "ok\n";

QString RuntimeFolder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return folder;
}

// The lock's name carries the user: in a folder shared by all users (the
// temporary folder, without a runtime folder) one user's file must not stand
// for another's.
QString LockNameFor(const QString& instanceName) {
  return instanceName + u'-' + QString::number(geteuid()) + QStringLiteral(".lock");
}

// What was opened must be this user's own, and not writable by others: a file
// another user planted under our name would otherwise decide our start.
QString StrangerLockProblem(int fd) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return QString::fromLocal8Bit(std::strerror(errno));
  if (!S_ISREG(info.st_mode)) return QStringLiteral("the lock is not a plain file");
  if (info.st_uid != geteuid()) {
    return QStringLiteral("the lock file belongs to another user (uid %1)").arg(info.st_uid);
  }
  if ((info.st_mode & 0022) != 0) return QStringLiteral("the lock file is writable by others");
  return {};
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
    : SingleInstance(instanceName, RuntimeFolder(), parent) {}

SingleInstance::SingleInstance(const QString& instanceName, const QString& lockFolder,
                               QObject* parent)
    : QObject(parent),
      lock_path_(lockFolder + u'/' + LockNameFor(instanceName)),
      socket_name_(SocketNameFor(instanceName, lock_path_)) {}

SingleInstance::~SingleInstance() {
  StopAnswering();
  if (lock_ >= 0) close(lock_);
}

void SingleInstance::StopAnswering() {
  // The notifiers go before their sockets: a closed number may be reused.
  qDeleteAll(findChildren<QSocketNotifier*>(Qt::FindDirectChildrenOnly));
  listening_ = nullptr;
  for (const int client : clients_) close(client);
  clients_.clear();
  if (listener_ >= 0) close(listener_);
  listener_ = -1;
}

InstanceClaim SingleInstance::Acquire() {
  // The file's lock, not its contents, is the claim: the kernel lets go of it
  // however its holder ends, so a copy that crashed never leaves a stale one,
  // and nothing needs writing or flushing to disk at start. Without a runtime
  // folder the lock lies in the shared temporary folder, where another user
  // could plant a link to make us create a file elsewhere, or a file of their
  // own to hold us up: links are refused, and so is a file not ours alone.
  const int fd = open(QFile::encodeName(lock_path_).constData(),
                      O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd >= 0) {
    const QString problem = StrangerLockProblem(fd);
    if (!problem.isEmpty()) {
      close(fd);
      failure_ = lock_path_ + QStringLiteral(": ") + problem;
      return InstanceClaim::kFailed;
    }
  }
  if (fd < 0 || flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    if (fd >= 0) close(fd);
    if (error == EWOULDBLOCK) return InstanceClaim::kAnotherRuns;
    failure_ = QString::fromLocal8Bit(std::strerror(error));
    return InstanceClaim::kFailed;
  }
  lock_ = fd;
  listener_ = ListenAbstract(socket_name_.toStdString());
  if (listener_ < 0) {
    // Still the only copy; later starts just cannot bring it forward.
    std::fprintf(stderr, "single instance: cannot listen: %s\n", std::strerror(errno));
    return InstanceClaim::kFirst;
  }
  listening_ = new QSocketNotifier(listener_, QSocketNotifier::Read, this);
  connect(listening_, &QSocketNotifier::activated, this, &SingleInstance::ServeNextConnection);
  return InstanceClaim::kFirst;
}

InstanceClaim SingleInstance::ClaimOrBringForward(std::chrono::milliseconds patience,
                                                  const std::function<void()>& waiting) {
  using Clock = std::chrono::steady_clock;
  // flock has no timed wait; the ending copy lets go within a second.
  constexpr auto kRetry = std::chrono::milliseconds(20);
  const Clock::time_point deadline = Clock::now() + patience;
  for (bool told = false;;) {
    const InstanceClaim claim = Acquire();
    if (claim != InstanceClaim::kAnotherRuns) return claim;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return InstanceClaim::kAnotherIsStuck;
    if (AskFirstToComeForward(static_cast<int>(left.count()))) return InstanceClaim::kAnotherRuns;
    if (!told && waiting) waiting();
    told = true;
    std::this_thread::sleep_for(kRetry);
  }
}

// The abstract socket can be reached by every user of the machine: only
// requests from this copy's own user are served.
void SingleInstance::ServeNextConnection() {
  int client = -1;
  while ((client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0) {
    if (!PeerIsThisUser(client)) {
      close(client);
      continue;
    }
    clients_.insert(client);
    auto* readable = new QSocketNotifier(client, QSocketNotifier::Read, this);
    connect(readable, &QSocketNotifier::activated, this, [this, client, readable] {
      readable->deleteLater();
      readable->setEnabled(false);
      ServeRequest(client);
    });
  }
}

// The request is one short line, sent at once after connecting: whatever the
// first read brings decides.
void SingleInstance::ServeRequest(int client) {
  char request[sizeof kShowRequest] = {};
  const ssize_t got = recv(client, request, sizeof request - 1, MSG_DONTWAIT);
  if (got == static_cast<ssize_t>(sizeof kShowRequest - 1) &&
      std::memcmp(request, kShowRequest, sizeof kShowRequest - 1) == 0) {
    // Answer first: coming forward may open a modal warning, and the later
    // copy must not wait for the user to close it.
    WriteAll(client, kShowAnswer);
    Drop(client);
    emit showRequested();
    return;
  }
  Drop(client);
}

void SingleInstance::Drop(int client) {
  clients_.erase(client);
  close(client);
}

// Any user can bind a name in the abstract namespace first: only a copy of
// this user's own is asked, and believed.
bool SingleInstance::AskFirstToComeForward(int timeoutMs) {
  const int socket = ConnectAbstract(socket_name_.toStdString(), timeoutMs);
  if (socket < 0) return false;
  if (!PeerIsThisUser(socket)) {
    close(socket);
    std::fprintf(stderr, "single instance: %s is held by another user; not asked\n",
                 socket_name_.toLocal8Bit().constData());
    return false;
  }
  const bool answered = WriteAll(socket, kShowRequest) && ReadLine(socket) == kShowAnswer;
  close(socket);
  return answered;
}

}  // namespace ms1
