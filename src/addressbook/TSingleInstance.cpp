#include "addressbook/TSingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace qm::addressbook {
namespace {

constexpr char kRaiseRequest[] = "raise\n";
constexpr char kRaiseAnswer[] = "ok\n";

} // namespace

TSingleInstance::TSingleInstance(const QString& homeDir, QObject* parent)
    : QObject(parent), mHomeDir(QDir(homeDir).absolutePath()),
      mLock(QDir(homeDir).filePath(QStringLiteral("quillmark.lock")))
{
    mLock.setStaleLockTime(0); // only a dead owner makes the lock stale, never its age
}

TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::ServerName() const
{
    const QByteArray hash =
        QCryptographicHash::hash(mHomeDir.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("quillmark-") + QString::fromLatin1(hash);
}

bool TSingleInstance::Acquire()
{
    if (!mLock.tryLock(0))
        return false;
    mServer = std::make_unique<QLocalServer>();
    mServer->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(ServerName()); // a socket file left by a copy that died
    mServer->listen(ServerName());
    connect(mServer.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = mServer->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                if (socket->readLine() == kRaiseRequest) {
                    socket->write(kRaiseAnswer);
                    socket->flush();
                    emit RaiseRequested();
                }
                socket->disconnectFromServer();
            });
        }
    });
    return true;
}

bool TSingleInstance::AskRunningCopyToRaise(int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kRaiseRequest);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    return socket.readLine() == kRaiseAnswer;
}

} // namespace qm::addressbook
