#include "platform/headless/input_script.h"

#include <charconv>
#include <optional>

namespace {

// What follows a command's name.
enum class EArguments { None, Point, Id, TrayButton, Rect, AreaButton, Percent, DateTime };

struct SCommandForm {
  std::string_view name;
  EInputAction action;
  EArguments arguments;
};

constexpr SCommandForm kCommands[] = {
    {"move", EInputAction::Move, EArguments::Point},
    {"ldown", EInputAction::LeftDown, EArguments::None},
    {"lup", EInputAction::LeftUp, EArguments::None},
    {"rdown", EInputAction::RightDown, EArguments::None},
    {"rup", EInputAction::RightUp, EArguments::None},
    {"menu", EInputAction::ChooseMenuItem, EArguments::Id},
    {"menu-close", EInputAction::CloseMenu, EArguments::None},
    {"tray", EInputAction::TrayLeftClick, EArguments::TrayButton},
    {"command", EInputAction::Command, EArguments::Id},
    {"dialog-ok", EInputAction::DialogOk, EArguments::None},
    {"dialog-link", EInputAction::DialogLink, EArguments::None},
    {"area-move", EInputAction::AreaMove, EArguments::Point},
    {"area-size", EInputAction::AreaSize, EArguments::Rect},
    {"area-button", EInputAction::AreaButton, EArguments::AreaButton},
    {"cpu", EInputAction::CpuUsage, EArguments::Percent},
    {"clock", EInputAction::Clock, EArguments::DateTime},
};

// The move-range window's buttons: confirm, cancel, largest and smallest area.
constexpr int kAreaButtonCount = 4;

size_t ArgumentCount(EArguments arguments) {
  switch (arguments) {
    case EArguments::None: return 0;
    case EArguments::Id:
    case EArguments::TrayButton:
    case EArguments::AreaButton:
    case EArguments::Percent: return 1;
    case EArguments::Point:
    case EArguments::DateTime: return 2;
    case EArguments::Rect: return 4;
  }
  return 0;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> SplitWords(std::string_view line) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    const size_t start = at;
    while (at < line.size() && !IsBlank(line[at])) ++at;
    if (at > start) words.push_back(line.substr(start, at - start));
  }
  return words;
}

// Parses the line's words into `command`; returns the reason when the line is faulty.
class CLineParser {
 public:
  CLineParser(std::vector<std::string_view> words, SInputCommand& command)
      : words_(std::move(words)), command_(command) {}

  std::optional<std::string> Parse(int previousFrame) {
    std::optional<int> frame = Number(words_[0], "a frame number");
    if (!frame) return error_;
    if (*frame < 0) return "frame " + std::string(words_[0]) + " is negative";
    if (*frame < previousFrame) {
      return "frame " + std::to_string(*frame) + " comes after frame " + std::to_string(previousFrame);
    }
    command_.frame = *frame;
    if (words_.size() < 2) return std::string("a command is missing after the frame");

    const std::string_view name = words_[1];
    const SCommandForm* form = nullptr;
    for (const SCommandForm& candidate : kCommands) {
      if (candidate.name == name) form = &candidate;
    }
    if (form == nullptr) return "unknown command '" + std::string(name) + "'";
    const size_t wanted = ArgumentCount(form->arguments);
    if (words_.size() - 2 != wanted) {
      return "'" + std::string(name) + "' takes " + std::to_string(wanted) +
             (wanted == 1 ? " argument, not " : " arguments, not ") + std::to_string(words_.size() - 2);
    }
    command_.action = form->action;
    return ParseArguments(*form);
  }

 private:
  std::optional<std::string> ParseArguments(const SCommandForm& form) {
    switch (form.arguments) {
      case EArguments::None:
        return std::nullopt;
      case EArguments::Point: {
        const std::optional<int> x = Number(words_[2], "a whole number");
        if (!x) return error_;
        const std::optional<int> y = Number(words_[3], "a whole number");
        if (!y) return error_;
        command_.x = *x;
        command_.y = *y;
        return std::nullopt;
      }
      case EArguments::Id: {
        const std::optional<int> id = Number(words_[2], "a command id");
        if (!id) return error_;
        command_.id = *id;
        return std::nullopt;
      }
      case EArguments::Rect: {
        int* edges[] = {&command_.x, &command_.y, &command_.right, &command_.bottom};
        for (size_t i = 0; i < 4; ++i) {
          const std::optional<int> edge = Number(words_[2 + i], "a whole number");
          if (!edge) return error_;
          *edges[i] = *edge;
        }
        return std::nullopt;
      }
      case EArguments::AreaButton: {
        const std::optional<int> button = Number(words_[2], "a button number");
        if (!button) return error_;
        if (*button < 0 || *button >= kAreaButtonCount) {
          return "'area-button' takes 0 to 3, not " + std::to_string(*button);
        }
        command_.id = *button;
        return std::nullopt;
      }
      case EArguments::Percent: {
        const std::optional<int> percent = Number(words_[2], "a percentage");
        if (!percent) return error_;
        if (*percent < 0 || *percent > 100) return "'cpu' takes 0 to 100, not " + std::to_string(*percent);
        command_.id = *percent;
        return std::nullopt;
      }
      case EArguments::DateTime:
        return ParseDateTime(words_[2], words_[3]);
      case EArguments::TrayButton:
        if (words_[2] == "left") {
          command_.action = EInputAction::TrayLeftClick;
        } else if (words_[2] == "right") {
          command_.action = EInputAction::TrayRightClick;
        } else {
          return "'tray' takes left or right, not '" + std::string(words_[2]) + "'";
        }
        return std::nullopt;
    }
    return std::nullopt;
  }

  // "YYYY-MM-DD" and "HH:MM:SS" into the command's time; the fields must have exactly
  // those digits and name a real date and time of day.
  std::optional<std::string> ParseDateTime(std::string_view date, std::string_view time) {
    const auto field = [](std::string_view word, size_t at, size_t length) -> std::optional<int> {
      int value = 0;
      for (size_t i = at; i < at + length; ++i) {
        if (word[i] < '0' || word[i] > '9') return std::nullopt;
        value = value * 10 + (word[i] - '0');
      }
      return value;
    };
    const std::string wanted = "'clock' takes YYYY-MM-DD HH:MM:SS, not '" + std::string(date) + " " +
                               std::string(time) + "'";
    if (date.size() != 10 || date[4] != '-' || date[7] != '-' || time.size() != 8 || time[2] != ':' ||
        time[5] != ':') {
      return wanted;
    }
    const auto year = field(date, 0, 4), month = field(date, 5, 2), day = field(date, 8, 2);
    const auto hour = field(time, 0, 2), minute = field(time, 3, 2), second = field(time, 6, 2);
    if (!year || !month || !day || !hour || !minute || !second) return wanted;
    if (!IsRealDate(*year, *month, *day) || *hour > 23 || *minute > 59 || *second > 59) {
      return "'clock' is given a date or time that does not exist: '" + std::string(date) + " " +
             std::string(time) + "'";
    }
    command_.time.year = static_cast<uint16_t>(*year);
    command_.time.month = static_cast<uint16_t>(*month);
    command_.time.day = static_cast<uint16_t>(*day);
    command_.time.hour = static_cast<uint16_t>(*hour);
    command_.time.minute = static_cast<uint16_t>(*minute);
    command_.time.second = static_cast<uint16_t>(*second);
    return std::nullopt;
  }

  static bool IsRealDate(int year, int month, int day) {
    if (year < 1 || month < 1 || month > 12 || day < 1) return false;
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  }

  // A decimal int with an optional minus sign and nothing else; sets error_ otherwise.
  std::optional<int> Number(std::string_view word, const char* what) {
    int value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, status] = std::from_chars(word.data(), end, value);
    if (status == std::errc::result_out_of_range && stop == end) {
      error_ = "'" + std::string(word) + "' is out of range";
      return std::nullopt;
    }
    if (status != std::errc() || stop != end) {
      error_ = "'" + std::string(word) + "' is not " + what;
      return std::nullopt;
    }
    return value;
  }

  std::vector<std::string_view> words_;
  SInputCommand& command_;
  std::string error_;
};

}  // namespace

SInputScript ParseInputScript(std::string_view text) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());

  SInputScript script;
  int previousFrame = 0;
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    std::vector<std::string_view> words = SplitWords(line);
    if (words.empty() || words[0].front() == '#') continue;
    SInputCommand command;
    command.line = lineNumber;
    if (std::optional<std::string> error = CLineParser(std::move(words), command).Parse(previousFrame)) {
      script.commands.clear();
      script.error = "input line " + std::to_string(lineNumber) + ": " + *error;
      return script;
    }
    previousFrame = command.frame;
    script.commands.push_back(command);
  }
  return script;
}
