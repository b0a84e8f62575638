#pragma once
// One kalvor at a time per user: the first instance holds a lock file; a second
// start finds it held and ends at once. A lock left by an instance that crashed
// is recognised by its dead process and taken over, so a crash never keeps the
// editor from starting again.
#include <memory>
#include <string>

class QLockFile;

namespace kalvor {

// The lock file: in the user's runtime folder (on Windows the user's temporary
// folder), else the shared temporary folder with the user's name in the file name.
std::string DefaultInstanceLockPath();

class SingleInstance {
   public:
    explicit SingleInstance(std::string lockPath = DefaultInstanceLockPath());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // true when this process now holds the lock (or held it already); false when
    // another running instance holds it.
    bool TryAcquire();
    // Gives the lock up (also done on destruction).
    void Release();
    bool Held() const { return held_; }

   private:
    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
};

// The process-wide instance guard the main window uses: AcquireSingleInstance at
// start (false: another kalvor runs, end at once) and ReleaseSingleInstance at the end.
bool AcquireSingleInstance();
void ReleaseSingleInstance();

}  // namespace kalvor
