// The named lock inside one process and across processes, and the private folder it
// lives in.
#include "platform/headless/named_lock.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "platform/headless/runtime_dir.h"
#include "probe_process.h"
#include "temp_folder.h"
#ifdef _WIN32
#include "platform/headless/wide_path.h"
#endif

namespace {

using namespace std::chrono_literals;

// The variable's value in UTF-8; nullopt when it is not set.
std::optional<std::string> Variable(const char* name) {
#ifdef _WIN32
  const wchar_t* value = ::_wgetenv(WidePath(name).c_str());
  if (value == nullptr) return std::nullopt;
  return Utf8Path(value);
#else
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return value;
#endif
}

// Sets the variable, or removes it for nullopt.
void SetVariable(const char* name, const std::optional<std::string>& value) {
#ifdef _WIN32
  ::_wputenv_s(WidePath(name).c_str(), value ? WidePath(*value).c_str() : L"");
#else
  if (value) {
    ::setenv(name, value->c_str(), 1);
  } else {
    ::unsetenv(name);
  }
#endif
}

// Makes `link` a symbolic link to the folder `target`; false where the system does not
// let this user make one that it then reports as a link.
bool MakeFolderLink(const std::filesystem::path& target, const std::filesystem::path& link) {
#ifdef _WIN32
  if (!::CreateSymbolicLinkW(link.c_str(), target.c_str(),
                             SYMBOLIC_LINK_FLAG_DIRECTORY |
                                 SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE)) {
    return false;
  }
  const DWORD attributes = ::GetFileAttributesW(link.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
#else
  std::filesystem::create_directory_symlink(target, link);
  return true;
#endif
}

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
      {u"a/b", "a%2Fb"},
      {u"..", "%2E%2E"},
      {u"\u732B", "%E7%8C%AB"},
#ifdef _WIN32
      // Names differing only in case stay apart on a file system that ignores case, and
      // device names do not open the device.
      {u"Zelvotta_Mutex", "%5Aelvotta_%4Dutex"},
      {u"Local\\x y", "%4Cocal%5Cx%20y"},
      {u"con", "%63on"},
      {u"CON", "%43%4F%4E"},
      {u"lpt1", "%6Cpt1"},
      {u"nul2", "nul2"},
#else
      {u"Zelvotta_Mutex", "Zelvotta_Mutex"},
      {u"Local\\x y", "Local%5Cx%20y"},
      {u"con", "con"},
#endif
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
  // A different name is a different lock, also when it differs only in case.
  EXPECT_FALSE(OpenNamedLock(dir.NativeString(), u"other", false).alreadyExisted);
  EXPECT_FALSE(OpenNamedLock(dir.NativeString(), u"Guard", false).alreadyExisted);

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
#ifdef _WIN32
  // The folder keeps the ACL it inherits; one that exists is taken as it is.
  EXPECT_TRUE(std::filesystem::is_directory(dir.Native() / "fresh"));
  ASSERT_TRUE(EnsurePrivateDir(fresh));
#else
  struct stat info {};
  ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  ASSERT_EQ(::chmod(fresh.c_str(), 0777), 0);
  ASSERT_TRUE(EnsurePrivateDir(fresh));
  ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
#endif
  EXPECT_EQ(ResolveRuntimeDir(fresh), fresh);
}

TEST(RuntimeDir, RefusesLinksFilesAndMissingParents) {
  CTempFolder dir;
  const std::string file = dir.NativeString() + "/file";
  dir.WriteBytes("file", "");
  EXPECT_FALSE(EnsurePrivateDir(file));
  EXPECT_FALSE(EnsurePrivateDir(dir.NativeString() + "/missing/child"));

  ASSERT_TRUE(EnsurePrivateDir(dir.NativeString() + "/target"));
  if (!MakeFolderLink(dir.Native() / "target", dir.Native() / "link")) {
    GTEST_SKIP() << "this user cannot make a folder link here";
  }
  const std::string link = dir.NativeString() + "/link";
  EXPECT_FALSE(EnsurePrivateDir(link));
  EXPECT_EQ(ResolveRuntimeDir(link), "");
}

TEST(RuntimeDir, DefaultIsUnderTheUsersRuntimeFolderWhenThatIsUsable) {
  CTempFolder dir;
  const std::optional<std::string> saved = Variable("XDG_RUNTIME_DIR");
#ifdef _WIN32
  const std::string fallback = Variable("LOCALAPPDATA").value_or("") + "\\Zelvotta\\run";
  const std::string own = dir.NativeString() + "\\zelvotta";
#else
  const std::string fallback = "/tmp/zelvotta-" + std::to_string(::geteuid());
  const std::string own = dir.NativeString() + "/zelvotta";
#endif
  struct {
    std::optional<std::string> value;
    std::string expected;
  } cases[] = {
      {dir.NativeString(), own},
      {"relative/path", fallback},
      {dir.NativeString() + "/missing", fallback},
      {std::nullopt, fallback},
  };
  for (const auto& c : cases) {
    SetVariable("XDG_RUNTIME_DIR", c.value);
    EXPECT_EQ(ResolveRuntimeDir(""), c.expected) << c.value.value_or("(unset)");
  }
  SetVariable("XDG_RUNTIME_DIR", saved);
}

}  // namespace
