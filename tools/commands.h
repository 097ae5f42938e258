#pragma once
// The subcommands of zelvotta-tool; each takes the arguments after its own name and
// returns the process exit code.
#include <string>
#include <vector>

using ToolArguments = std::vector<std::string>;

int RunRunCommand(const ToolArguments& arguments);
int RunEvalCommand(const ToolArguments& arguments);
int RunWavCommand(const ToolArguments& arguments);
int RunCursorCommand(const ToolArguments& arguments);
int RunImageCommand(const ToolArguments& arguments);
int RunComposeCommand(const ToolArguments& arguments);
int RunCheckCommand(const ToolArguments& arguments);
int RunRecordCommand(const ToolArguments& arguments);
