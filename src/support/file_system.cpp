#include "support/file_system.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <fstream>
#include <system_error>

#include "support/string_list.h"
#include "support/utf.h"

namespace fs = std::filesystem;

namespace {

constexpr bool kNativeBackslash = fs::path::preferred_separator == '\\';

char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

fs::path PathFromUtf16(std::u16string_view text) {
  if constexpr (kNativeBackslash) {
    return fs::path(std::u16string(text));
  } else {
    return fs::path(ToUtf8(text));
  }
}

std::u16string Utf16FromPath(const fs::path& path) {
  if constexpr (kNativeBackslash) {
    return path.u16string();
  } else {
    return FromUtf8(path.string());  // POSIX: the native narrow string itself
  }
}

// The entry of `folder` whose name matches `name` ignoring ASCII case; when several
// do, the smallest name wins so the choice does not depend on the listing order.
std::optional<fs::path> FindIgnoringCase(const fs::path& folder, std::u16string_view name) {
  std::error_code error;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error);
  if (error) return std::nullopt;
  std::optional<fs::path> best;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) break;
    fs::path candidate = it->path().filename();
    if (!EqualsIgnoringAsciiCase(Utf16FromPath(candidate), name)) continue;
    if (!best || candidate < *best) best = std::move(candidate);
  }
  return best;
}

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

// A name for the temporary file, unique within this process and unlikely to meet one
// of another process writing the same folder.
fs::path TemporarySibling(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path name = target.filename();
  name += "." + std::to_string(ticks) + "-" + std::to_string(counter.fetch_add(1)) + ".tmp";
  return target.parent_path() / name;
}

}  // namespace

fs::path ToNativePath(std::u16string_view enginePath) {
  if constexpr (kNativeBackslash) {
    return PathFromUtf16(enginePath);
  } else {
    std::u16string slashed(enginePath);
    for (char16_t& c : slashed) {
      if (c == u'\\') c = u'/';
    }
    fs::path exact = PathFromUtf16(slashed);
    if (slashed.empty() || Exists(exact)) return exact;

    // Rebuild component by component, looking for a differently cased name wherever
    // the exact one is missing.
    fs::path resolved = slashed.front() == u'/' ? fs::path("/") : fs::path();
    bool folderExists = true;
    std::u16string_view rest(slashed);
    while (!rest.empty()) {
      const size_t slash = rest.find(u'/');
      const std::u16string_view component = rest.substr(0, slash);
      rest.remove_prefix(slash == std::u16string_view::npos ? rest.size() : slash + 1);
      if (component.empty()) continue;
      fs::path next = resolved / PathFromUtf16(component);
      if (folderExists && !Exists(next) && component != u"." && component != u"..") {
        if (auto match = FindIgnoringCase(resolved, component)) next = resolved / *match;
      }
      folderExists = folderExists && Exists(next);
      resolved = std::move(next);
    }
    // Keep a trailing separator: callers append names to folder paths.
    if (slashed.back() == u'/') resolved /= "";
    return resolved;
  }
}

std::u16string FromNativePath(const fs::path& nativePath) {
  std::u16string text = Utf16FromPath(nativePath);
  for (char16_t& c : text) {
    if (c == u'/') c = u'\\';
  }
  return text;
}

namespace {

char16_t AsciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

}  // namespace

// The order Windows file systems list names in: ASCII letters compared without case,
// then code units. Character data is written there, and which character folders are
// used and which of two equally named script blocks wins depend on this order, so every
// system lists the same way.
bool ListedBefore(std::u16string_view a, std::u16string_view b) {
  const auto upperLess = [](char16_t x, char16_t y) { return AsciiUpper(x) < AsciiUpper(y); };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), upperLess)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), upperLess)) return false;
  return a < b;
}

bool SameNameIgnoringCase(std::u16string_view a, std::u16string_view b) { return EqualsIgnoringAsciiCase(a, b); }

std::optional<std::vector<SDirEntry>> ListDirectory(std::u16string_view folder) {
  std::error_code error;
  fs::directory_iterator it(ToNativePath(folder), error);
  if (error) return std::nullopt;
  std::vector<SDirEntry> entries;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) return std::nullopt;
    std::error_code statusError;
    const bool isDirectory = it->is_directory(statusError);
    entries.push_back({Utf16FromPath(it->path().filename()), isDirectory && !statusError});
  }
  std::sort(entries.begin(), entries.end(),
            [](const SDirEntry& a, const SDirEntry& b) { return ListedBefore(a.name, b.name); });
  return entries;
}

bool LiesWithinAny(std::u16string_view path, const std::vector<std::u16string>& folders) {
  std::error_code error;
  const fs::path resolvedPath = fs::canonical(ToNativePath(path), error);
  if (error) return false;
  const auto within = [&resolvedPath](const fs::path& resolvedFolder) {
    auto inner = resolvedPath.begin();
    for (auto outer = resolvedFolder.begin(); outer != resolvedFolder.end(); ++outer, ++inner) {
      if (outer->empty()) continue;  // the empty last element of a folder ending in "/"
      if (inner == resolvedPath.end() || *inner != *outer) return false;
    }
    return true;
  };
  for (const std::u16string& folder : folders) {
    const fs::path resolvedFolder = fs::canonical(ToNativePath(folder), error);
    if (!error && within(resolvedFolder)) return true;
  }
  return false;
}

bool LiesWithin(std::u16string_view path, std::u16string_view folder) {
  return LiesWithinAny(path, {std::u16string(folder)});
}

void ListFiles(std::u16string_view folder, CStringList& out) {
  const auto entries = ListDirectory(folder);
  if (!entries) return;
  const std::u16string prefix = std::u16string(folder) + u'\\';
  for (const SDirEntry& entry : *entries) {
    if (entry.isDirectory) continue;
    std::error_code error;
    if (fs::is_regular_file(ToNativePath(prefix + entry.name), error)) out.Push(prefix + entry.name);
  }
  for (const SDirEntry& entry : *entries) {
    if (!entry.isDirectory) continue;
    // A linked folder may lead back to one of its parents; only real folders are walked.
    std::error_code error;
    if (fs::is_symlink(ToNativePath(prefix + entry.name), error)) continue;
    ListFiles(prefix + entry.name, out);
  }
}

std::size_t MaxFileBytes(EFileKind kind) {
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  switch (kind) {
    case EFileKind::kState: return kMiB;
    case EFileKind::kText: return 64 * kMiB;
    case EFileKind::kMedia: return 256 * kMiB;
  }
  return kMiB;
}

std::optional<std::string> ReadFileBytes(std::u16string_view path, EFileKind kind) {
  try {
    const fs::path native = ToNativePath(path);
    std::error_code error;
    if (!fs::is_regular_file(fs::status(native, error)) || error) return std::nullopt;
    const std::uintmax_t size = fs::file_size(native, error);
    const std::size_t limit = MaxFileBytes(kind);
    if (error || size > limit) return std::nullopt;

    std::ifstream file(native, std::ios::binary);
    if (!file) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    // The file may have grown since its size was taken: take the rest up to the limit.
    char chunk[4096];
    while (file && bytes.size() <= limit) {
      file.read(chunk, sizeof chunk);
      bytes.append(chunk, static_cast<std::size_t>(file.gcount()));
    }
    if (file.bad() || bytes.size() > limit) return std::nullopt;
    return bytes;
  } catch (const std::exception&) {
    // A read error inside the stream buffer, or no memory for the content.
    return std::nullopt;
  }
}

bool WriteFileAtomically(std::u16string_view path, std::string_view bytes) {
  const fs::path target = ToNativePath(path);
  const fs::path temporary = TemporarySibling(target);
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (file.fail()) {
      std::error_code ignored;
      fs::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code error;
  fs::rename(temporary, target, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  }
  return true;
}
