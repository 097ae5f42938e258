// Fifty-odd broken characters (tests/data/broken_characters, made by
// scripts/make_broken_characters.py): each one alone in the program ends it with exactly
// its message in an "エラー" box and exit code 0, as every start-up failure does, and
// never with a crash.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "temp_folder.h"
#include "tool_process.h"

namespace {

namespace fs = std::filesystem;

struct SBrokenCase {
  std::string folder;
  std::string message;
};

std::vector<SBrokenCase> Cases() {
  std::ifstream in(fs::path(ZV_TEST_DATA_DIR) / "broken_characters" / "expected.tsv");
  std::vector<SBrokenCase> cases;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    const size_t tab = line.find('\t');
    cases.push_back({line.substr(0, tab), line.substr(tab + 1)});
  }
  return cases;
}

// The "messagebox" records of a trace, as "caption|text".
std::vector<std::string> MessageBoxes(const fs::path& trace) {
  std::ifstream in(trace);
  std::vector<std::string> boxes;
  const auto field = [](const std::string& line, const std::string& key) {
    const std::string start = "\"" + key + "\":\"";
    const size_t from = line.find(start) + start.size();
    return line.substr(from, line.find('"', from) - from);
  };
  for (std::string line; std::getline(in, line);) {
    if (line.find("\"event\":\"messagebox\"") != std::string::npos) {
      boxes.push_back(field(line, "caption") + "|" + field(line, "text"));
    }
  }
  return boxes;
}

TEST(BrokenCharacters, EachEndsTheProgramWithItsExactMessage) {
  const std::vector<SBrokenCase> cases = Cases();
  ASSERT_GE(cases.size(), 50u);
  CTempFolder work;
  for (const SBrokenCase& broken : cases) {
    CTempFolder app;
    app.MakeFolder("Characters");
    fs::copy(fs::path(ZV_TEST_DATA_DIR) / "broken_characters" / broken.folder,
             app.Native() / "Characters" / broken.folder, fs::copy_options::recursive);
    const fs::path trace = work.Native() / (broken.folder + ".jsonl");
    const SToolResult result = ToolProcess(work.Native() / "run", work.Native() / "tool.err")
                                   .Run({"run", "--app-dir", app.NativeString(), "--frames", "60", "--trace",
                                         trace.string()});
    EXPECT_EQ(result.exitCode, 0) << broken.folder << ": " << result.standardError;
    EXPECT_EQ(MessageBoxes(trace), std::vector<std::string>{"エラー|" + broken.message}) << broken.folder;
  }
}

}  // namespace
