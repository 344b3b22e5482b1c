// Tarvo is two programs: `tarvo` (the command line, no desktop library) and
// the tray program it hands every other start to. Each finds the other
// beside itself, as the build tree has them, or where an installation puts
// it.
#pragma once

#include <string>

// The absolute path of the program name beside this one, or else of
// installed (relative to this program's folder); empty when neither is there.
std::string CompanionProgram(const std::string& name, const std::string& installed);
