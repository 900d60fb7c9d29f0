// velmora-render as a function: parses the command line, loads the plug-in, applies the
// requested state and settings, and renders or lists. Every failure is one line on err and
// a non-zero result; no output file is left behind unless the render completed.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace velmora::render {

// Exit status of the tool: 0 on success.
int RunRender(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err);

}  // namespace velmora::render
