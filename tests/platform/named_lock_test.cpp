// The named lock inside one process and across processes, and the private folder it
// lives in.
#include "platform/headless/named_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/headless/runtime_dir.h"
#include "probe_process.h"
#include "temp_folder.h"

namespace {

using namespace std::chrono_literals;

// Waits on `lock` on a thread of its own, so a test can see whether the wait blocks.
class CWaiter {
 public:
  explicit CWaiter(INamedLock& lock)
      : thread_([this, &lock] {
          lock.Wait();
          acquired_ = true;
          while (!done_) std::this_thread::sleep_for(1ms);
          lock.Release();
        }) {}
  ~CWaiter() {
    done_ = true;
    thread_.join();
  }
  bool Acquired() const { return acquired_; }
  // True once the wait has succeeded, false if it is still blocked after `limit`.
  bool AcquiredWithin(std::chrono::milliseconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!acquired_ && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
    return acquired_;
  }

 private:
  std::atomic<bool> acquired_{false};
  std::atomic<bool> done_{false};
  std::thread thread_;
};

// The folder of the locks as the platform lays it out, where the probe looks.
std::string LocksDir(const CTempFolder& dir) {
  const std::string path = dir.NativeString() + "/locks";
  EnsurePrivateDir(path);
  return path;
}

TEST(NamedLockFileName, KeepsSafeCharactersAndEscapesTheRest) {
  struct {
    std::u16string name;
    std::string expected;
  } cases[] = {
      {u"Zelvotta_Mutex", "Zelvotta_Mutex"},
      {u"a/b", "a%2Fb"},
      {u"..", "%2E%2E"},
      {u"Local\\x y", "Local%5Cx%20y"},
      {u"\u732B", "%E7%8C%AB"},
  };
  for (const auto& c : cases) EXPECT_EQ(EncodeLockFileName(c.name), c.expected);
}

TEST(NamedLockFileName, LongNamesFitAndStayDistinct) {
  const std::u16string longA(300, u'a');
  std::u16string longB = longA;
  longB.back() = u'b';
  EXPECT_LE(EncodeLockFileName(longA).size(), 200u);
  EXPECT_NE(EncodeLockFileName(longA), EncodeLockFileName(longB));
}

TEST(NamedLock, EmptyNameOrFolderGivesNoLock) {
  CTempFolder dir;
  EXPECT_EQ(OpenNamedLock(dir.NativeString(), u"", true).lock, nullptr);
  EXPECT_EQ(OpenNamedLock("", u"name", true).lock, nullptr);
}

TEST(NamedLock, SecondOpenInTheSameProcessSeesItExisting) {
  CTempFolder dir;
  SNamedLockResult first = OpenNamedLock(dir.NativeString(), u"guard", true);
  ASSERT_NE(first.lock, nullptr);
  EXPECT_FALSE(first.alreadyExisted);
  SNamedLockResult second = OpenNamedLock(dir.NativeString(), u"guard", true);
  ASSERT_NE(second.lock, nullptr);
  EXPECT_TRUE(second.alreadyExisted);
  // A different name is a different lock.
  EXPECT_FALSE(OpenNamedLock(dir.NativeString(), u"other", false).alreadyExisted);

  first.lock.reset();
  second.lock.reset();
  EXPECT_FALSE(OpenNamedLock(dir.NativeString(), u"guard", false).alreadyExisted);
}

TEST(NamedLock, OwnershipIsRecursiveAndReleasedLevelByLevel) {
  CTempFolder dir;
  SNamedLockResult owner = OpenNamedLock(dir.NativeString(), u"guard", true);
  SNamedLockResult other = OpenNamedLock(dir.NativeString(), u"guard", true);
  owner.lock->Wait();  // second level on top of the initial ownership
  CWaiter waiter(*other.lock);
  EXPECT_FALSE(waiter.AcquiredWithin(100ms));
  owner.lock->Release();
  EXPECT_FALSE(waiter.AcquiredWithin(100ms));
  owner.lock->Release();
  EXPECT_TRUE(waiter.AcquiredWithin(5s));
  // A release without ownership does nothing.
  owner.lock->Release();
}

TEST(NamedLock, DestroyingTheOwningHandleGivesOwnershipUp) {
  CTempFolder dir;
  SNamedLockResult owner = OpenNamedLock(dir.NativeString(), u"guard", true);
  SNamedLockResult other = OpenNamedLock(dir.NativeString(), u"guard", false);
  CWaiter waiter(*other.lock);
  EXPECT_FALSE(waiter.AcquiredWithin(100ms));
  owner.lock.reset();
  EXPECT_TRUE(waiter.AcquiredWithin(5s));
}

TEST(NamedLockAcrossProcesses, ExistenceAndOwnershipReachAnotherProcess) {
  CTempFolder dir;
  {
    // This process holds it: the probe sees it existing and gets no ownership.
    SNamedLockResult mine = OpenNamedLock(LocksDir(dir), u"guard", true);
    ASSERT_NE(mine.lock, nullptr);
    CProbeProcess probe({dir.NativeString(), "--lock", "guard"});
    ASSERT_TRUE(probe.Started());
    EXPECT_EQ(probe.Output(), "lock open existed=1\n");
    EXPECT_EQ(probe.Finish(), 0);
  }
  // Nothing holds it now.
  CProbeProcess probe({dir.NativeString(), "--lock", "guard"});
  EXPECT_EQ(probe.Output(), "lock open existed=0\n");
  SNamedLockResult mine = OpenNamedLock(LocksDir(dir), u"guard", true);
  ASSERT_NE(mine.lock, nullptr);
  EXPECT_TRUE(mine.alreadyExisted);
  CWaiter waiter(*mine.lock);
  EXPECT_FALSE(waiter.AcquiredWithin(200ms));
  // A killed owner never blocks anyone.
  probe.Kill();
  EXPECT_TRUE(waiter.AcquiredWithin(5s));
}

TEST(NamedLockAcrossProcesses, KilledHolderLeavesTheNameFree) {
  CTempFolder dir;
  CProbeProcess probe({dir.NativeString(), "--lock", "guard"});
  ASSERT_EQ(probe.Output(), "lock open existed=0\n");
  probe.Kill();
  SNamedLockResult mine = OpenNamedLock(LocksDir(dir), u"guard", true);
  ASSERT_NE(mine.lock, nullptr);
  EXPECT_FALSE(mine.alreadyExisted);
}

TEST(RuntimeDir, CreatesAPrivateFolderAndTightensAnOpenOne) {
  CTempFolder dir;
  const std::string fresh = dir.NativeString() + "/fresh";
  ASSERT_TRUE(EnsurePrivateDir(fresh));
  struct stat info {};
  ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  ASSERT_EQ(::chmod(fresh.c_str(), 0777), 0);
  ASSERT_TRUE(EnsurePrivateDir(fresh));
  ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(ResolveRuntimeDir(fresh), fresh);
}

TEST(RuntimeDir, RefusesLinksFilesAndMissingParents) {
  CTempFolder dir;
  const std::string target = dir.NativeString() + "/target";
  ASSERT_TRUE(EnsurePrivateDir(target));
  const std::string link = dir.NativeString() + "/link";
  std::filesystem::create_directory_symlink(target, link);
  EXPECT_FALSE(EnsurePrivateDir(link));
  EXPECT_EQ(ResolveRuntimeDir(link), "");

  const std::string file = dir.NativeString() + "/file";
  std::FILE* created = std::fopen(file.c_str(), "w");
  ASSERT_NE(created, nullptr);
  std::fclose(created);
  EXPECT_FALSE(EnsurePrivateDir(file));
  EXPECT_FALSE(EnsurePrivateDir(dir.NativeString() + "/missing/child"));
}

TEST(RuntimeDir, DefaultIsUnderTheUsersRuntimeFolderWhenThatIsUsable) {
  CTempFolder dir;
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string restore = saved ? saved : "";
  const std::string fallback = "/tmp/zelvotta-" + std::to_string(::geteuid());
  struct {
    const char* value;
    std::string expected;
  } cases[] = {
      {dir.NativeString().c_str(), dir.NativeString() + "/zelvotta"},
      {"relative/path", fallback},
      {"/nonexistent-runtime-folder", fallback},
      {nullptr, fallback},
  };
  for (const auto& c : cases) {
    if (c.value) {
      ::setenv("XDG_RUNTIME_DIR", c.value, 1);
    } else {
      ::unsetenv("XDG_RUNTIME_DIR");
    }
    EXPECT_EQ(ResolveRuntimeDir(""), c.expected) << (c.value ? c.value : "(unset)");
  }
  if (saved) {
    ::setenv("XDG_RUNTIME_DIR", restore.c_str(), 1);
  } else {
    ::unsetenv("XDG_RUNTIME_DIR");
  }
}

}  // namespace
