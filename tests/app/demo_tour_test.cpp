// The demo characters we ship, Hopper and Walker, on their one-minute tour: every
// function, balloon function and hit event they declare is reached, and between them
// they play sounds on all seven channels.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "temp_folder.h"
#include "tool_process.h"

namespace {

namespace fs = std::filesystem;

const fs::path kCharacters = fs::path(ZV_TEST_DATA_DIR) / ".." / ".." / "characters";

// What a trace or a script names: character, kind ("function", "balloon" or "hit") and
// name, as "Hopper function dropDown".
using SNames = std::set<std::string>;

// The functions, balloon functions and hit events the characters' scripts declare.
SNames DeclaredNames() {
  const std::map<std::string, std::string> kinds = {
      {"<FUNC_ORDER_REG>", "function"}, {"<FUNC_BALLOON_ORDER_REG>", "balloon"}, {"<FUNC_HIT_EVENT_REG>", "hit"}};
  const std::regex funcName(R"(^\s*FuncName\s*=\s*(\S+))");
  SNames names;
  for (const fs::directory_entry& chara : fs::directory_iterator(kCharacters)) {
    for (const fs::directory_entry& file : fs::recursive_directory_iterator(chara.path() / "Scripts")) {
      if (file.path().extension() != ".func") continue;
      std::ifstream in(file.path());
      std::string kind;
      for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find("##"));
        std::smatch match;
        if (line.starts_with("<FUNC_")) {
          const auto found = kinds.find(line.substr(0, line.find('>') + 1));
          kind = found != kinds.end() ? found->second : "";
        } else if (!kind.empty() && std::regex_search(line, match, funcName)) {
          names.insert(chara.path().filename().string() + " " + kind + " " + match[1].str());
        }
      }
    }
  }
  return names;
}

// A string field of a JSON trace line; empty when it has none.
std::string Field(const std::string& line, const std::string& key) {
  const std::string start = "\"" + key + "\":\"";
  const size_t at = line.find(start);
  if (at == std::string::npos) return {};
  const size_t from = at + start.size();
  return line.substr(from, line.find('"', from) - from);
}

// A number field of a JSON trace line; -1 when it has none.
long Number(const std::string& line, const std::string& key) {
  const size_t at = line.find("\"" + key + "\":");
  return at == std::string::npos ? -1 : std::stol(line.substr(at + key.size() + 3));
}

TEST(DemoTour, EveryFunctionBalloonAndHitEventIsReachedAndEverySoundChannelPlays) {
  CTempFolder app;
  CTempFolder work;
  fs::copy(kCharacters, app.Native() / "Characters", fs::copy_options::recursive);
  const fs::path trace = work.Native() / "tour.jsonl";
  const SToolResult result =
      ToolProcess(work.Native() / "run", work.Native() / "tool.err")
          .Run({"run", "--app-dir", app.NativeString(), "--screen", "800x600", "--seed", "11", "--frames", "1900",
                "--input", (fs::path(ZV_TEST_DATA_DIR) / "demo_tour.input").string(), "--trace", trace.string()});
  ASSERT_EQ(result.exitCode, 0) << result.standardError;
  // Every command of the tour found what it was meant for.
  EXPECT_EQ(result.standardError.find("ignored"), std::string::npos) << result.standardError;

  SNames reached;
  std::set<std::string> channels;
  bool quit = false;
  std::ifstream in(trace);
  for (std::string line; std::getline(in, line);) {
    const std::string event = Field(line, "event");
    const std::string chara = Field(line, "chara");
    if (event == "function" || event == "balloon") reached.insert(chara + " " + event + " " + Field(line, "function"));
    if (event == "hit") reached.insert(chara + " hit " + Field(line, "name"));
    if (event == "sound") channels.insert(std::to_string(Number(line, "channel")));
    // The exits end the program before the frame limit would.
    if (event == "quit") quit = Number(line, "code") == 0 && Number(line, "frame") < 1900;
  }

  const SNames declared = DeclaredNames();
  ASSERT_GE(declared.size(), 40u);  // both characters were found
  std::string never;
  for (const std::string& name : declared) {
    if (!reached.contains(name)) never += "\n  " + name;
  }
  EXPECT_EQ(never, "") << "never reached on the tour (rerun scripts/make_demo_tour.py after changing the "
                          "characters):" << never;
  EXPECT_EQ(channels, (std::set<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
  EXPECT_TRUE(quit) << "the program did not end through the characters' exits before the frame limit";
}

}  // namespace
