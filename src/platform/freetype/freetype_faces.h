#pragma once
// The FreeType library and the faces opened from it, shared by every font of one text
// capability. Faces are opened once per file and found once per name; every use goes
// through one lock, since FreeType objects are not safe across threads.
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// FreeType's handles, without its headers.
struct FT_LibraryRec_;
struct FT_FaceRec_;
// fontconfig's character set, without its header.
struct _FcCharSet;

class CFreeTypeFaces {
 public:
  CFreeTypeFaces();
  ~CFreeTypeFaces();
  CFreeTypeFaces(const CFreeTypeFaces&) = delete;
  CFreeTypeFaces& operator=(const CFreeTypeFaces&) = delete;

  std::mutex& Lock() { return lock_; }

  // With Lock() held. The face for a face name (UTF-8; empty, or a face the machine
  // lacks: the fallback), null when there is none. The fallback is the first proportional
  // face that covers Japanese, else the first proportional one, else any; FallbackFor
  // is the first fallback face that has `code`, proportional faces before monospaced.
  // The first use of either asks fontconfig for every face once.
  FT_FaceRec_* FaceFor(const std::string& name);
  FT_FaceRec_* Fallback();
  FT_FaceRec_* FallbackFor(char32_t code);
  // The file and index `name` resolves to, the fallback's for an empty name or a face
  // the machine lacks ("" when fontconfig has no font at all).
  std::pair<std::string, int> Match(const std::string& name);

 private:
  // A face fontconfig offers for unnamed text, with the characters it has (owned).
  struct SFallbackFace {
    std::pair<std::string, int> file;
    _FcCharSet* charset;
    bool proportional;
    bool japanese;
  };

  FT_FaceRec_* Open(const std::pair<std::string, int>& file);
  void LookForFallbacks();

  std::mutex lock_;
  FT_LibraryRec_* library_ = nullptr;
  std::map<std::pair<std::string, int>, FT_FaceRec_*> opened_;
  std::map<std::string, FT_FaceRec_*> byName_;
  bool fallbacksLooked_ = false;
  std::vector<SFallbackFace> fallbacks_;  // in the order they are tried
};
