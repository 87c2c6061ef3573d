#include "app/singleinstance.h"

#include "app/resource.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kWriteTimeoutMs = 2000;
constexpr int kReadTimeoutMs = 2000;
// A path longer than this is no path; the line is dropped.
constexpr qint64 kMaxMessage = 64 * 1024;

} // namespace

CSingleInstance::CSingleInstance(const QString& key, QObject* parent)
    : QObject(parent), m_key(key.isEmpty() ? DefaultKey() : key) {}

CSingleInstance::~CSingleInstance() = default;

QString CSingleInstance::DefaultKey() {
  // Per user: two users on one machine each run their own program.
  const QByteArray user = QByteArray::number(static_cast<qulonglong>(::getuid()));
  const QByteArray hash = QCryptographicHash::hash(QByteArray(kAppTitle) + '/' + user, QCryptographicHash::Sha1);
  return QStringLiteral("qzmax-librarian-") + QString::fromLatin1(hash.toHex().left(16));
}

bool CSingleInstance::Claim(const QStringList& paths) {
  // One connection per file, as the running program takes one line from each.
  if (HandOver(paths.value(0))) {
    for (qsizetype i = 1; i < paths.size(); ++i)
      HandOver(paths.at(i));
    return false;
  }
  m_server = new QLocalServer(this);
  m_server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!m_server->listen(m_key)) {
    // A socket left behind by a program that crashed answers nobody; take its place.
    QLocalServer::removeServer(m_key);
    if (!m_server->listen(m_key))
      return true; // run without the guard rather than not at all
  }
  connect(m_server, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
  return true;
}

bool CSingleInstance::HandOver(const QString& path) {
  QLocalSocket socket;
  socket.connectToServer(m_key);
  if (!socket.waitForConnected(kConnectTimeoutMs))
    return false;
  QByteArray message = path.toUtf8();
  message.append('\n');
  socket.write(message);
  if (!socket.waitForBytesWritten(kWriteTimeoutMs))
    return false;
  // The running program answers once it has the line, so it is not lost when this process ends.
  socket.waitForReadyRead(kReadTimeoutMs);
  socket.disconnectFromServer();
  return true;
}

void CSingleInstance::OnNewConnection() {
  while (QLocalSocket* socket = m_server->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket]() {
      if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxMessage)
          socket->abort();
        return;
      }
      const QByteArray line = socket->readLine(kMaxMessage).trimmed();
      socket->write("ok\n");
      socket->flush();
      socket->disconnectFromServer();
      emit FileReceived(QString::fromUtf8(line));
    });
  }
}
