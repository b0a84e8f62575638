#include "services/qt/single_instance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include "services/fault_trap.h"

namespace kalvor {

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
        const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
        name = QStringLiteral("kalvor-%1.lock").arg(user);
    }
    return QDir(folder).filePath(name).toStdString();
}

SingleInstance::SingleInstance(std::string lockPath)
    : lock_(std::make_unique<QLockFile>(QString::fromStdString(lockPath))) {
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
    return held_;
}

void SingleInstance::Release() {
    if (!held_) return;
    lock_->unlock();
    held_ = false;
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

}  // namespace kalvor
