#pragma once
// The balloon text commands, entries 11–19 of the built-in table. Each records its
// element kind and the current statement on the evaluator's text-layer target before
// it reads its arguments, applies them, and returns the empty value so it adds nothing
// to the statement's text. Without a target a command does nothing and reads no
// argument. Handlers follow the built-in convention: the read position starts on the
// first argument token and the closing ")" is left unread.
class CScriptEvaluator;
class CValue;

// Open(), Open(size), Open(size, opacity): resize steps, each 100 when left out.
const CValue& RunOpenCommand(CScriptEvaluator& evaluator);
// Close with the arguments of Open.
const CValue& RunCloseCommand(CScriptEvaluator& evaluator);
// Clear(): only the record.
const CValue& RunClearCommand(CScriptEvaluator& evaluator);
// Wait(), Wait(frames): 0 frames without argument.
const CValue& RunWaitCommand(CScriptEvaluator& evaluator);
// SetTextStyle(name), SetFont(face), SetFontColor(colour): applied when given.
const CValue& RunSetTextStyleCommand(CScriptEvaluator& evaluator);
const CValue& RunSetFontCommand(CScriptEvaluator& evaluator);
const CValue& RunSetFontColorCommand(CScriptEvaluator& evaluator);
// SetFontSize(n), SetSpeed(n): applied when n > 0.
const CValue& RunSetFontSizeCommand(CScriptEvaluator& evaluator);
const CValue& RunSetSpeedCommand(CScriptEvaluator& evaluator);
