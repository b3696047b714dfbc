#pragma once

#include <string_view>

// Command names the host service carries out itself, in the order it dispatches them.
namespace TarnHostCommandName {
inline constexpr std::string_view selectDisplay = "selectDisplay";
inline constexpr std::string_view listFiles = "listFiles";
inline constexpr std::string_view openFile = "openFile";
inline constexpr std::string_view revealFile = "revealFile";
inline constexpr std::string_view downloadFile = "downloadFile";
inline constexpr std::string_view runTerminalCommand = "runTerminalCommand";
} // namespace TarnHostCommandName

namespace TarnInteractiveTerminalCommand {
inline constexpr std::string_view open = "terminalOpen";
inline constexpr std::string_view attach = "terminalAttach";
inline constexpr std::string_view list = "terminalList";
inline constexpr std::string_view input = "terminalInput";
inline constexpr std::string_view resize = "terminalResize";
inline constexpr std::string_view close = "terminalClose";
} // namespace TarnInteractiveTerminalCommand

namespace TarnAgentCommand {
inline constexpr std::string_view start = "agentStart";
inline constexpr std::string_view prompt = "agentPrompt";
inline constexpr std::string_view approval = "agentApproval";
inline constexpr std::string_view list = "agentList";
inline constexpr std::string_view attach = "agentAttach";
} // namespace TarnAgentCommand
