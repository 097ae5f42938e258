#pragma once
// The operator-precedence table of the evaluator. An operator whose in-stack priority
// is greater than its incoming priority is left-associative; smaller makes it
// right-associative (unary operators, "?" ":", assignments).
#include <array>
#include <cstdint>

#include "script/vocabulary.h"

struct SOperatorPriority {
  int8_t arity = 0;     // operands taken from the value stack
  int8_t inStack = 0;   // priority while on the operator stack
  int8_t incoming = 0;  // priority of the token being read
};

namespace operator_priority_detail {

constexpr std::array<SOperatorPriority, TOKEN_COUNT> BuildTable() {
  std::array<SOperatorPriority, TOKEN_COUNT> table{};  // every other kind: 0, 0, 0
  auto set = [&table](int kind, int arity, int inStack, int incoming) {
    table[static_cast<size_t>(kind)] = {static_cast<int8_t>(arity), static_cast<int8_t>(inStack),
                                        static_cast<int8_t>(incoming)};
  };
  set(OP_DOT, 2, 28, 27);
  for (int kind : {OP_NOT, OP_BIT_NOT, UNARY_PLUS, UNARY_MINUS}) set(kind, 1, 25, 26);
  for (int kind : {OP_MUL, OP_DIV, OP_MOD}) set(kind, 2, 24, 23);
  for (int kind : {OP_ADD, OP_SUB}) set(kind, 2, 22, 21);
  for (int kind : {OP_GREATER_EQUAL, OP_GREATER, OP_LESS_EQUAL, OP_LESS}) set(kind, 2, 20, 19);
  for (int kind : {OP_EQUAL, OP_NOT_EQUAL}) set(kind, 2, 18, 17);
  set(OP_BIT_AND, 2, 16, 15);
  set(OP_BIT_XOR, 2, 14, 13);
  set(OP_BIT_OR, 2, 12, 11);
  set(OP_LOGICAL_AND, 2, 10, 9);
  set(OP_LOGICAL_OR, 2, 8, 7);
  set(OP_QUESTION, 3, 5, 6);
  set(SEP_COLON, 0, 5, 6);
  for (int kind = OP_ADD_ASSIGN; kind <= OP_ASSIGN; ++kind) set(kind, 2, 3, 4);
  set(SEP_COMMA, 2, 2, 1);  // incoming 0 in argument mode, where "," ends an argument
  set(SEP_OPEN_PAREN, 0, 0, 30);
  set(SEP_CLOSE_PAREN, 0, 29, 0);
  return table;
}

inline constexpr std::array<SOperatorPriority, TOKEN_COUNT> kTable = BuildTable();

}  // namespace operator_priority_detail

// The priorities of a token kind; kinds outside the table have none (0, 0, 0).
constexpr SOperatorPriority PriorityOf(int kind) {
  if (kind < 0 || kind >= TOKEN_COUNT) return {};
  return operator_priority_detail::kTable[static_cast<size_t>(kind)];
}
