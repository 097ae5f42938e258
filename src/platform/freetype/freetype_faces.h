#pragma once
// The FreeType library and the faces opened from it, shared by every font of one text
// capability. Faces are opened once per file and found once per name; every use goes
// through one lock, since FreeType objects are not safe across threads.
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>

// FreeType's handles, without its headers.
struct FT_LibraryRec_;
struct FT_FaceRec_;

class CFreeTypeFaces {
 public:
  CFreeTypeFaces();
  ~CFreeTypeFaces();
  CFreeTypeFaces(const CFreeTypeFaces&) = delete;
  CFreeTypeFaces& operator=(const CFreeTypeFaces&) = delete;

  std::mutex& Lock() { return lock_; }

  // With Lock() held. The face for a face name (UTF-8; empty: the fallback), null when
  // there is none; the fallback face, which covers Japanese when any installed face does.
  FT_FaceRec_* FaceFor(const std::string& name);
  FT_FaceRec_* Fallback();
  // The file and index fontconfig resolves `name` to ("" when nothing matched).
  std::pair<std::string, int> Match(const std::string& name);

 private:
  FT_FaceRec_* Open(const std::pair<std::string, int>& file);

  std::mutex lock_;
  FT_LibraryRec_* library_ = nullptr;
  std::map<std::pair<std::string, int>, FT_FaceRec_*> opened_;
  std::map<std::string, FT_FaceRec_*> byName_;
  bool fallbackLooked_ = false;
  FT_FaceRec_* fallback_ = nullptr;
};
