#include "tools/validate/leak_reports.h"

namespace velmora::validate {

void KeepPluginMappedForLeakReports(const std::string&) {}

}  // namespace velmora::validate
