// zelvotta-tool check: loads character folders as the program does and says, for each,
// whether it loads or the message the program would show. --all-errors lists every
// faulty block with where it was written instead of only the last one.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/discovery.h"
#include "chardef/chara_definition.h"
#include "chardef/chara_loader.h"
#include "chardef/definition_validator.h"
#include "commands.h"
#include "platform/headless/headless_platform.h"
#include "script/script_error.h"
#include "support/application_folder.h"
#include "support/file_system.h"
#include "support/utf.h"

namespace {

constexpr char kCheckUsage[] = "usage: zelvotta-tool check [--app-dir DIR] [--all-errors] [NAME...]\n";

int CheckUsageError(const std::string& message) {
  std::fprintf(stderr, "zelvotta-tool check: %s\n%s", message.c_str(), kCheckUsage);
  return 2;
}

void PrintOk(const std::u16string& name) { std::printf("ok %s\n", ToUtf8(name).c_str()); }

void PrintError(const std::u16string& name, const std::u16string& message) {
  std::printf("error %s %s\n", ToUtf8(name).c_str(), ToUtf8(message).c_str());
}

// FILE is written with this system's folder separator, so editors can open FILE:LINE.
void PrintError(const std::u16string& name, const SScriptOrigin& origin, const std::u16string& message) {
  std::string file = ToUtf8(origin.file);
  for (char& c : file) {
    if (c == '\\') c = static_cast<char>(std::filesystem::path::preferred_separator);
  }
  std::printf("error %s %s:%d %s\n", ToUtf8(name).c_str(), file.c_str(), origin.line, ToUtf8(message).c_str());
}

// One character folder, loaded the way the program loads it.
class CCharacterCheck {
 public:
  CCharacterCheck(std::u16string name, CHeadlessPlatform& platform)
      : name_(std::move(name)), platform_(platform), loader_(name_) {}

  // Prints the one line for this character; true when it loads.
  bool CheckAsProgram() {
    CCharaDefinition definition(name_, platform_.Process().DesktopRect(), platform_.Audio());
    try {
      loader_.Load(definition, platform_.Text());
    } catch (const EScriptError& error) {
      PrintError(name_, error.Message());
      return false;
    }
    PrintOk(name_);
    return true;
  }

  // Prints every register error and the first failed check, each with the block it
  // concerns; checks run even after register errors, so one pass shows them all.
  bool CheckAllErrors() {
    CCharaDefinition definition(name_, platform_.Process().DesktopRect(), platform_.Audio());
    bool ok = true;
    try {
      loader_.LoadMetadata(definition.info);
      loader_.LoadMetadataMedia(definition.info, definition.media);
      const CScriptFuncMaps scripts = loader_.ReadScripts();
      if (!loader_.BuildDefinition(definition, scripts, platform_.Text())) {
        for (const SRegisterError& error : definition.registers.Latch().Errors()) {
          PrintError(name_, error.origin, error.message);
        }
        ok = false;
      }
      try {
        loader_.ValidateDefinition(definition);
      } catch (const EDefinitionCheckError& error) {
        PrintCheckFailure(scripts, error);
        ok = false;
      }
    } catch (const EScriptError& error) {
      // Metadata and script-folder failures belong to no block.
      PrintError(name_, error.Message());
      ok = false;
    }
    if (ok) PrintOk(name_);
    return ok;
  }

 private:
  void PrintCheckFailure(const CScriptFuncMaps& scripts, const EDefinitionCheckError& error) const {
    const SCRIPT_TYPE type = error.EntryType();
    const CScriptParam* block = nullptr;
    if (type >= ORDER_REG && type <= TEXT_STYLE_REG) block = scripts.Map(type).Find(error.EntryName());
    if (block != nullptr) {
      PrintError(name_, block->Origin(), error.Message());
    } else {
      PrintError(name_, error.Message());  // a built-in entry: written nowhere
    }
  }

  std::u16string name_;
  CHeadlessPlatform& platform_;
  CCharaLoader loader_;
};

}  // namespace

int RunCheckCommand(const ToolArguments& arguments) {
  std::string appDir = ".";
  bool allErrors = false;
  std::vector<std::u16string> names;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--all-errors") {
      allErrors = true;
    } else if (argument == "--app-dir") {
      if (i + 1 >= arguments.size()) return CheckUsageError("--app-dir needs a folder");
      appDir = arguments[++i];
    } else if (argument.starts_with("--")) {
      return CheckUsageError("unknown option '" + argument + "'");
    } else {
      names.push_back(FromUtf8(argument));
    }
  }

  std::error_code error;
  const std::filesystem::path folder = std::filesystem::absolute(appDir, error).lexically_normal();
  if (error || !std::filesystem::is_directory(folder, error)) {
    return CheckUsageError("'" + appDir + "' is not a folder");
  }
  // The program reads character files relative to the current folder first, then to its
  // own folder; working from the application folder makes both the same files.
  std::filesystem::current_path(folder, error);
  if (error) return CheckUsageError("cannot work in '" + appDir + "'");
  std::u16string applicationFolder = FromNativePath(folder);
  if (!applicationFolder.ends_with(u'\\')) applicationFolder += u'\\';
  SetApplicationFolder(applicationFolder);

  if (names.empty()) {
    names = DiscoverCharacters(applicationFolder).names;
    if (names.empty()) {
      std::fprintf(stderr, "zelvotta-tool check: no character folder in %s\n",
                   (folder / "Characters").string().c_str());
      return 1;
    }
  }

  SHeadlessOptions options;
  options.executablePath = FromUtf8((folder / "zelvotta").string());
  CHeadlessPlatform platform(options);
  // Group and character numbers are handed out across the whole process, in load order,
  // as when the program starts these characters together.
  bool allOk = true;
  for (const std::u16string& name : names) {
    CCharacterCheck check(name, platform);
    allOk = (allErrors ? check.CheckAllErrors() : check.CheckAsProgram()) && allOk;
  }
  return allOk ? 0 : 1;
}
