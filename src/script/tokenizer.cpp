#include "script/tokenizer.h"

#include "script/name_tables.h"
#include "script/script_error.h"
#include "script/script_messages.h"
#include "support/text.h"

namespace {

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsNameChar(char16_t c) { return IsAsciiLetter(c) || IsDigit(c) || c == u'_'; }

// Kinds after which a sign is an infix operator: something that has a value.
bool EndsAValue(int kind) {
  return kind == IDENTIFIER || kind == INTEGER || kind == STRING || kind == SEP_CLOSE_PAREN ||
         IsKeywordKind(kind);
}

}  // namespace

const CToken& EndToken() {
  static const CToken end{TOKEN_NONE, 0, {}};
  return end;
}

void CTokenizer::Tokenize(std::u16string_view text) {
  tokens_.clear();
  text_.assign(text);
  text_.append(2, u'\0');
  pos_ = 0;
  // The rules in their order; the first that accepts consumes its text.
  while (text_[pos_] != u'\0') {
    if (tokens_.size() >= kMaxTokens) throw EScriptError(kMsgCapacityExceeded);
    if (TryKeyword() || TryBuiltinName() || TryInteger() || TryOperator() || TrySeparator() ||
        TryString() || TryBlank()) {
      continue;
    }
    throw EScriptError(kMsgInvalidValue);
  }
}

bool CTokenizer::StartsWithHere(std::u16string_view word) const {
  return std::u16string_view(text_).substr(pos_).starts_with(word);
}

bool CTokenizer::TryKeyword() {
  if (!IsAsciiLetter(text_[pos_])) return false;  // every keyword begins with a letter
  for (int kind = KEYWORD_BEGIN + 1; kind < KEYWORD_END; ++kind) {
    const std::u16string_view word = NameOf(kTokenNames, kind);
    // The two NULs at the end make the look-behind index always valid.
    if (StartsWithHere(word) && !IsNameChar(text_[pos_ + word.size()])) {
      tokens_.push_back({kind, 0, std::u16string(word)});
      pos_ += word.size();
      return true;
    }
  }
  return false;
}

bool CTokenizer::TryBuiltinName() {
  if (!IsAsciiLetter(text_[pos_]) && text_[pos_] != u'_') return false;
  size_t end = pos_;
  while (IsNameChar(text_[end])) ++end;
  const std::u16string_view name = std::u16string_view(text_).substr(pos_, end - pos_);
  if (FindBuiltin(name) == kNameNotFound || text_[end] != u'(') {
    throw EScriptError(NoSuchCommandMessage(name));
  }
  tokens_.push_back({IDENTIFIER, 0, std::u16string(name)});
  pos_ = end;
  return true;
}

bool CTokenizer::TryInteger() {
  if (!IsDigit(text_[pos_])) return false;
  const size_t start = pos_;
  uint32_t value = 0;  // wraps silently, like the 32-bit arithmetic it stands for
  while (IsDigit(text_[pos_])) {
    value = value * 10u + static_cast<uint32_t>(text_[pos_] - u'0');
    ++pos_;
  }
  tokens_.push_back({INTEGER, static_cast<int32_t>(value), text_.substr(start, pos_ - start)});
  return true;
}

bool CTokenizer::TryOperator() {
  if (std::u16string_view(u"=!<>+-*/%&^|~.?").find(text_[pos_]) == std::u16string_view::npos) return false;
  // Two-character operators stand before their one-character prefixes in the table.
  for (int kind = OPERATOR_BEGIN + 1; kind <= OP_QUESTION; ++kind) {
    const std::u16string_view op = NameOf(kTokenNames, kind);
    if (!StartsWithHere(op)) continue;
    pos_ += op.size();
    if (kind == OP_ADD || kind == OP_SUB) {
      AppendSign(kind);
    } else {
      tokens_.push_back({kind, 0, std::u16string(op)});
    }
    return true;
  }
  return false;
}

// Folds a run of signs into one with the usual parity, infix exactly when a value
// precedes it.
void CTokenizer::AppendSign(int kind) {
  if (!tokens_.empty()) {
    const int previous = tokens_.back().kind;
    const bool previousPlus = previous == OP_ADD || previous == UNARY_PLUS;
    const bool previousMinus = previous == OP_SUB || previous == UNARY_MINUS;
    if (kind == OP_ADD && (previousPlus || previousMinus)) return;
    if (kind == OP_SUB && previousPlus) {
      tokens_.pop_back();
    } else if (kind == OP_SUB && previousMinus) {
      tokens_.pop_back();
      kind = OP_ADD;
    }
  }
  const bool infix = !tokens_.empty() && EndsAValue(tokens_.back().kind);
  if (!infix) kind = kind == OP_ADD ? UNARY_PLUS : UNARY_MINUS;
  tokens_.push_back({kind, 0, std::u16string(NameOf(kTokenNames, kind))});
}

bool CTokenizer::TrySeparator() {
  for (int kind = SEPARATOR_BEGIN + 1; kind < SEPARATOR_END; ++kind) {
    const std::u16string_view separator = NameOf(kTokenNames, kind);
    if (text_[pos_] == separator[0]) {
      tokens_.push_back({kind, 0, std::u16string(separator)});
      ++pos_;
      return true;
    }
  }
  return false;
}

bool CTokenizer::TryString() {
  if (text_[pos_] != u'"') return false;
  // The first quote after the opening one closes the literal; the two appended NULs
  // are not part of the text.
  const size_t textEnd = text_.size() - 2;
  const size_t close = text_.find(u'"', pos_ + 1);
  if (close == std::u16string::npos || close >= textEnd) throw EScriptError(kMsgUnterminatedString);
  tokens_.push_back({STRING, 0, Unquote(text_.substr(pos_ + 1, close - pos_ - 1))});
  pos_ = close + 1;
  return true;
}

bool CTokenizer::TryBlank() {
  const size_t start = pos_;
  while (text_[pos_] == u' ' || text_[pos_] == u'\t') ++pos_;
  return pos_ > start;
}
