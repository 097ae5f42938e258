#pragma once
// The built-in functions of the script language, dispatched by their position in the
// built-in name table. Each handler starts with the evaluator's read position on its
// first argument token, reads its own arguments and leaves the closing ")" unread.
class CScriptEvaluator;
class CValue;

// Runs handler `index` (0..19) and returns its value.
const CValue& RunBuiltin(int index, CScriptEvaluator& evaluator);
