#pragma once
// Where the main window expects its help file, and the warning when it is not there.
#include <string>

namespace ui {

inline constexpr const char* kHelpFileName = "Vigil.chm";

// The full, normalised path of the help file in the folder of the given executable.
std::string helpFilePathBeside(const std::string& executablePath);

// Shows "Help file not found" and the path on a second line when no file is there; returns
// whether the file exists. The program goes on either way.
bool checkHelpFile(const std::string& helpFilePath);

}  // namespace ui
