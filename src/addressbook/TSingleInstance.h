#pragma once

// Keeps one copy of the program running per home directory: a lock file in the home plus a local
// socket. The first copy holds the lock and listens; a later copy finds the lock held, asks the
// first through the socket to raise its window and then ends with exit code 0.
//
// A lock left behind by a copy that died is taken over (the lock file records the process).

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace qm::addressbook {

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit TSingleInstance(const QString& homeDir, QObject* parent = nullptr);
    ~TSingleInstance() override;

    // True when this process is now the one copy (and listens for others).
    bool Acquire();

    // From a later copy: asks the running one to raise its window. Returns true when it answered.
    bool AskRunningCopyToRaise(int timeoutMs = 3000) const;

    // The socket name, derived from the home directory so separate homes do not meet.
    QString ServerName() const;

signals:
    void RaiseRequested();

private:
    QString mHomeDir;
    QLockFile mLock;
    std::unique_ptr<QLocalServer> mServer;
};

} // namespace qm::addressbook
