// Sanitizer builds check for leaks at exit, after the plug-in has been unloaded; a leak
// inside it would then have no module to be named by or suppressed for. These builds keep
// the plug-in (and the libraries it brought) mapped until the end; other builds do nothing.
#pragma once

#include <string>

namespace velmora::validate {

void KeepPluginMappedForLeakReports(const std::string& path);

}  // namespace velmora::validate
