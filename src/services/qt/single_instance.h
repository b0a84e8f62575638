#pragma once
// One kalvor at a time per user. The first instance holds a lock file and
// listens on a local socket beside it; a second start finds the lock held,
// hands its file to the first over the socket and ends. A lock left by an
// instance that crashed is recognised by its dead process and taken over, and
// the socket it left is replaced, so a crash never keeps the editor from
// starting again.
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLocalServer;
class QLockFile;

namespace kalvor {

// The lock file: in the user's runtime folder (on Windows the user's temporary
// folder), else the shared temporary folder with the user's name in the file name.
std::string DefaultInstanceLockPath();

// The local socket that belongs to a lock: beside it, named like it with
// ".socket" for its extension (on Windows a pipe named after the user).
std::string InstanceServerName(const std::string& lockPath);

// Receives what a second start hands over: the absolute path of its file, or
// empty text when it was started without one.
using HandOverReceiver = std::function<void(const std::string& path)>;

class SingleInstance {
   public:
    explicit SingleInstance(std::string lockPath = DefaultInstanceLockPath());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // true when this process now holds the lock (or held it already) and
    // listens for hand-overs; false when another running instance holds it.
    bool TryAcquire();
    // Gives the lock and the socket up (also done on destruction).
    void Release();
    bool Held() const { return held_; }

    // Hands path to the instance that holds the lock; true when it was
    // delivered. Waits at most timeoutMs for the holder to listen.
    bool HandOver(const std::string& path, int timeoutMs) const;
    // Where hand-overs go from now on; those that arrived before a receiver
    // was set are passed on at once, in order.
    void SetReceiver(HandOverReceiver receiver);

   private:
    void Listen();
    void Deliver(const std::string& path);

    std::string serverName_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
    HandOverReceiver receiver_;
    std::vector<std::string> waiting_;
    bool held_ = false;
};

// The process-wide instance guard the main window uses: AcquireSingleInstance at
// start (false: another kalvor runs; hand the file over with
// HandOverToRunningInstance and end), ReleaseSingleInstance at the end.
bool AcquireSingleInstance();
void ReleaseSingleInstance();
bool HandOverToRunningInstance(const std::string& path);
void SetHandOverReceiver(HandOverReceiver receiver);

}  // namespace kalvor
