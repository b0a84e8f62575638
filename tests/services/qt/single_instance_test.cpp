// One kalvor at a time: a running first instance keeps the lock, a crashed one
// does not keep the editor from starting again.
#include <QLockFile>
#include <QProcess>
#include <QtTest>

#include <chrono>
#include <filesystem>
#include <sstream>

#include "services/qt/single_instance.h"
#include "support/test_support.h"
#include "support/text_file.h"

using namespace kalvor;

namespace {

// The lock file this process writes, with the first line (the process number)
// and the second (the program's name) replaced: a lock as another process left it.
std::string ForeignLockText(const std::string& scratchPath, qint64 pid, const std::string& name) {
    std::string own;
    {
        QLockFile real(QString::fromStdString(scratchPath));
        if (!real.tryLock(0)) return {};
        own = test::ReadText(scratchPath);
    }
    std::istringstream lines(own);
    std::string line, out;
    for (int number = 0; std::getline(lines, line); ++number) {
        if (number == 0) line = std::to_string(pid);
        if (number == 1) line = name;
        out += line + "\n";
    }
    return out;
}

// The number of a process that has ended.
qint64 DeadPid() {
    QProcess process;
    process.start("true", {});
    if (!process.waitForStarted()) return 0;
    const qint64 pid = process.processId();
    process.waitForFinished();
    return pid;
}

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

   private slots:
    void aSecondInstanceIsRefusedWhileTheFirstRuns() {
        test::TempDir dir;
        SingleInstance first(dir.file("kalvor.lock"));
        SingleInstance second(dir.file("kalvor.lock"));
        QVERIFY(first.TryAcquire());
        QVERIFY(first.TryAcquire());
        QVERIFY(!second.TryAcquire());
        first.Release();
        QVERIFY(second.TryAcquire());
    }

    void aCrashedInstanceLeavesNoLockBehind() {
        test::TempDir dir;
        const std::string path = dir.file("kalvor.lock");
        const qint64 gone = DeadPid();
        QVERIFY(gone > 0);
        test::WriteText(path, ForeignLockText(dir.file("scratch.lock"), gone, "kalvor"));
        SingleInstance next(path);
        QVERIFY(next.TryAcquire());
    }

    void aLockOfARunningProcessStands() {
        test::TempDir dir;
        const std::string path = dir.file("kalvor.lock");
        QProcess running;
        running.start("sleep", {"30"});
        QVERIFY(running.waitForStarted());
        test::WriteText(path, ForeignLockText(dir.file("scratch.lock"), running.processId(), "sleep"));
        // However old, the lock of a running holder stands.
        std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() - std::chrono::hours(2));
        SingleInstance next(path);
        QVERIFY(!next.TryAcquire());

        running.kill();
        QVERIFY(running.waitForFinished());
        QVERIFY(next.TryAcquire());
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
