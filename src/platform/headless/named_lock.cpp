#include "platform/headless/named_lock.h"

#include <condition_variable>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/headless/file_lock.h"
#include "support/data_path.h"
#include "support/utf.h"

namespace {

// What every handle of one name in this process shares.
struct SSharedLock {
  CUniqueFd openFile;  // shared flock held while this process has the name open
  CUniqueFd ownFile;   // exclusive flock held while a thread of ours owns the lock
  std::mutex mutex;
  std::condition_variable freed;
  std::thread::id owner;  // the owning (or acquiring) thread; default when free
  int levels = 0;         // recursion depth of the owner over all handles
  int handles = 0;        // guarded by the table's mutex
};

// The names this process has open, so that a second open joins the first one's state:
// flocks belong to open file descriptions, and a second description would conflict
// with our own first one.
class CLockTable {
 public:
  static CLockTable& Instance() {
    static CLockTable table;
    return table;
  }
  std::mutex mutex;
  std::map<std::string, std::shared_ptr<SSharedLock>> open;
};

class CNamedLock final : public INamedLock {
 public:
  CNamedLock(std::string key, std::shared_ptr<SSharedLock> shared)
      : key_(std::move(key)), shared_(std::move(shared)) {}

  ~CNamedLock() override {
    {
      std::lock_guard lock(shared_->mutex);
      if (myLevels_ > 0) {
        shared_->levels -= myLevels_;
        if (shared_->levels == 0) FreeLocked();
      }
    }
    CLockTable& table = CLockTable::Instance();
    std::lock_guard lock(table.mutex);
    if (--shared_->handles == 0) table.open.erase(key_);
  }

  void Wait() override {
    const std::thread::id me = std::this_thread::get_id();
    std::unique_lock lock(shared_->mutex);
    if (shared_->owner == me) {
      ++shared_->levels;
      ++myLevels_;
      return;
    }
    shared_->freed.wait(lock, [&] { return shared_->owner == std::thread::id(); });
    // Claim it inside the process first, then wait for the other processes without
    // holding the mutex, so that other handles stay usable meanwhile.
    shared_->owner = me;
    lock.unlock();
    const bool locked = LockFile(shared_->ownFile, ELockMode::Exclusive);
    lock.lock();
    if (!locked) {
      shared_->owner = std::thread::id();
      shared_->freed.notify_all();
      return;
    }
    shared_->levels = 1;
    myLevels_ = 1;
  }

  void Release() override {
    std::lock_guard lock(shared_->mutex);
    if (shared_->owner != std::this_thread::get_id() || myLevels_ == 0) return;
    --myLevels_;
    if (--shared_->levels == 0) FreeLocked();
  }

  // Marks the lock owned by the calling thread right after creation.
  void TakeInitialOwnership() {
    shared_->owner = std::this_thread::get_id();
    shared_->levels = 1;
    myLevels_ = 1;
  }

 private:
  void FreeLocked() {
    UnlockFile(shared_->ownFile);
    shared_->owner = std::thread::id();
    shared_->freed.notify_all();
  }

  std::string key_;
  std::shared_ptr<SSharedLock> shared_;
  int myLevels_ = 0;  // levels taken through this handle
};

#ifdef _WIN32
// Windows matches file names regardless of letter case, so capitals are escaped there
// to keep "A" and "a" two locks; and a name it keeps for a device (CON, NUL, COM1 and
// so on, also before an extension) would open the device, so such a name gets its
// first letter escaped. Capitals are escaped already: only lower case needs the test.
constexpr bool kEscapeCapitals = true;

bool IsDeviceName(const std::string& encoded) { return IsWindowsDeviceName(FromUtf8(encoded)); }

std::string EscapeFirst(const std::string& encoded) {
  char escape[4];
  std::snprintf(escape, sizeof escape, "%%%02X", static_cast<unsigned char>(encoded[0]));
  return escape + encoded.substr(1);
}
#else
constexpr bool kEscapeCapitals = false;

bool IsDeviceName(const std::string&) { return false; }
std::string EscapeFirst(const std::string& encoded) { return encoded; }
#endif

uint64_t Fnv1a(const std::string& bytes) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

}  // namespace

std::string EncodeLockFileName(const std::u16string& name) {
  const std::string utf8 = ToUtf8(name);
  std::string encoded;
  for (unsigned char c : utf8) {
    if ((!kEscapeCapitals && c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
        (c >= '0' && c <= '9') || c == '_' || c == '-') {
      encoded += static_cast<char>(c);
    } else {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", c);
      encoded += escape;
    }
  }
  // Leave room for the suffixes within the usual 255-byte limit of a file name.
  constexpr size_t kMaxEncoded = 200;
  if (encoded.size() > kMaxEncoded) {
    char hash[20];
    std::snprintf(hash, sizeof hash, "~%016llx", static_cast<unsigned long long>(Fnv1a(utf8)));
    encoded.resize(kMaxEncoded - 17);
    encoded += hash;
  }
  if (IsDeviceName(encoded)) encoded = EscapeFirst(encoded);
  return encoded;
}

SNamedLockResult OpenNamedLock(const std::string& dir, const std::u16string& name,
                               bool initialOwner) {
  if (dir.empty() || name.empty()) return {};
  const std::string base = dir + "/" + EncodeLockFileName(name);

  CLockTable& table = CLockTable::Instance();
  std::lock_guard tableLock(table.mutex);
  if (auto it = table.open.find(base); it != table.open.end()) {
    ++it->second->handles;
    return {std::make_unique<CNamedLock>(base, it->second), true};
  }

  auto shared = std::make_shared<SSharedLock>();
  // The gate makes "test whether anyone has it open, then join the holders" one step
  // among all processes.
  CUniqueFd gate = OpenLockFile(base + ".gate", true);
  shared->openFile = OpenLockFile(base + ".open", true);
  shared->ownFile = OpenLockFile(base + ".own", true);
  if (!gate.Valid() || !shared->openFile.Valid() || !shared->ownFile.Valid() ||
      !LockFile(gate, ELockMode::Exclusive)) {
    return {};
  }
  const bool existed = !TryLockFile(shared->openFile, ELockMode::Exclusive);
  if (!LockFile(shared->openFile, ELockMode::Shared)) return {};

  auto lock = std::make_unique<CNamedLock>(base, shared);
  shared->handles = 1;
  table.open.emplace(base, shared);
  // Nobody else has the name open, so nobody owns it: the exclusive flock is free now
  // and taking it under the gate keeps a newcomer from getting there first.
  if (initialOwner && !existed && TryLockFile(shared->ownFile, ELockMode::Exclusive)) {
    lock->TakeInitialOwnership();
  }
  return {std::move(lock), existed};
}
