// Which addresses the editor's web link may hand to the platform's launcher; the same rule
// on every platform.
#pragma once

namespace velmora {

// Whether an address may be handed to the shell: only web pages (http://, https://) and
// mail addresses (mailto:), scheme in any case, with something after the scheme and no
// spaces or control characters. Anything else (files, programs, other protocols) could
// start arbitrary software, so the editor never opens it.
bool IsOpenableWebAddress(const char* address);

}  // namespace velmora
