// Which plug-in velmora-render uses without --plugin. An installed tool uses the Velmora
// installed beside it (bin/velmora-render -> lib/vst/velmora.so under the same prefix), so
// a packaged tool never reaches back into the tree it was built in; a tool run from its
// build tree uses the plug-in built with it.
#pragma once

#include <string>

namespace velmora::render {

// The installed plug-in for a tool at executablePath when that file exists, otherwise
// builtPlugin (which may be empty: then there is no default).
std::string ChooseDefaultPlugin(const std::string& executablePath, const std::string& builtPlugin);

// ChooseDefaultPlugin for the running executable and the plug-in of this build.
std::string DefaultPlugin();

}  // namespace velmora::render
