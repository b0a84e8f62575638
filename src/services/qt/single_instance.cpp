#include "services/qt/single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <filesystem>

#include "services/fault_trap.h"

namespace kalvor {
namespace {

// How long a second start waits for the first to listen: the first listens
// right after taking the lock, so only a start in that very moment waits.
constexpr int kHandOverWaitMs = 3000;
constexpr int kConnectRetryMs = 50;
// A hand-over is one path; anything longer is not a kalvor start talking.
constexpr qsizetype kHandOverLimit = 64 * 1024;

QString UserName() {
    return qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
}

}  // namespace

std::string DefaultInstanceLockPath() {
#ifdef _WIN32
    // Windows gives every user a temporary folder of their own.
    QString folder = QDir::tempPath();
#else
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
#endif
    QString name = QStringLiteral("kalvor.lock");
    if (folder.isEmpty()) {
        // The temporary folder is shared between users: keep each user's lock apart.
        folder = QDir::tempPath();
        name = QStringLiteral("kalvor-%1.lock").arg(UserName());
    }
    return QDir(folder).filePath(name).toStdString();
}

std::string InstanceServerName(const std::string& lockPath) {
#ifdef _WIN32
    // A pipe name, which may not hold a backslash.
    (void)lockPath;
    return QStringLiteral("kalvor-%1").arg(UserName()).toStdString();
#else
    return std::filesystem::path(lockPath).replace_extension(".socket").string();
#endif
}

SingleInstance::SingleInstance(std::string lockPath)
    : serverName_(InstanceServerName(lockPath)), lock_(std::make_unique<QLockFile>(QString::fromStdString(lockPath))) {
    // Only a dead holder makes a lock stale: however long the first instance
    // runs, its lock stands.
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    Release();
}

bool SingleInstance::TryAcquire() {
    if (held_) return true;
    held_ = Trapped(false, [&] { return lock_->tryLock(0); });
    if (held_) TrappedRun([&] { Listen(); });
    return held_;
}

void SingleInstance::Listen() {
    const QString name = QString::fromStdString(serverName_);
    // Holding the lock makes this the one instance: a socket still there was
    // left by one that crashed, and would refuse the name.
    QLocalServer::removeServer(name);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // Without the socket this is still the one instance; later starts only
    // cannot hand their files over.
    if (!server_->listen(name)) {
        server_.reset();
        return;
    }
    QLocalServer* server = server_.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [this, server] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            // The message is the path's UTF-8 text; the sender closing ends it.
            auto received = std::make_shared<QByteArray>();
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, received] {
                received->append(socket->readAll());
                if (received->size() > kHandOverLimit) socket->abort();
            });
            QObject::connect(socket, &QLocalSocket::disconnected, socket, [this, socket, received] {
                received->append(socket->readAll());
                socket->deleteLater();
                if (received->size() <= kHandOverLimit) Deliver(QString::fromUtf8(*received).toStdString());
            });
        }
    });
}

void SingleInstance::Release() {
    server_.reset();
    if (!held_) return;
    lock_->unlock();
    held_ = false;
}

bool SingleInstance::HandOver(const std::string& path, int timeoutMs) const {
    return Trapped(false, [&] {
        QLocalSocket socket;
        const QDeadlineTimer deadline(timeoutMs);
        for (;;) {
            socket.connectToServer(QString::fromStdString(serverName_));
            if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) break;
            if (deadline.hasExpired()) return false;
            QThread::msleep(kConnectRetryMs);
        }
        socket.write(QByteArray::fromStdString(path));
        while (socket.bytesToWrite() > 0) {
            if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return false;
        }
        socket.disconnectFromServer();
        if (socket.state() != QLocalSocket::UnconnectedState)
            socket.waitForDisconnected(static_cast<int>(deadline.remainingTime()));
        return true;
    });
}

void SingleInstance::SetReceiver(HandOverReceiver receiver) {
    receiver_ = std::move(receiver);
    if (!receiver_) return;
    const std::vector<std::string> waiting = std::move(waiting_);
    waiting_.clear();
    for (const std::string& path : waiting) receiver_(path);
}

void SingleInstance::Deliver(const std::string& path) {
    if (receiver_)
        TrappedRun([&] { receiver_(path); });
    else
        waiting_.push_back(path);
}

namespace {
std::unique_ptr<SingleInstance>& Guard() {
    static std::unique_ptr<SingleInstance> guard;
    return guard;
}
}  // namespace

bool AcquireSingleInstance() {
    if (!Guard()) Guard() = std::make_unique<SingleInstance>();
    return Guard()->TryAcquire();
}

void ReleaseSingleInstance() {
    Guard().reset();
}

bool HandOverToRunningInstance(const std::string& path) {
    if (!Guard()) Guard() = std::make_unique<SingleInstance>();
    return Guard()->HandOver(path, kHandOverWaitMs);
}

void SetHandOverReceiver(HandOverReceiver receiver) {
    if (Guard()) Guard()->SetReceiver(std::move(receiver));
}

}  // namespace kalvor
