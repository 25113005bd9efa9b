#pragma once
// The process's command line and its switches. A switch is a parameter made of "-" or
// "/" followed by its name, letters in any case ("-GUI", "/gui", "-Gui"); any other
// parameter is no switch.
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// The parameters of the running process (argv[1..]), read from /proc/self/cmdline.
std::vector<std::string> processParams();

// Whether `params` holds the switch `name`.
bool findCmdLineSwitch(const std::vector<std::string>& params, std::string_view name);

}  // namespace orv
