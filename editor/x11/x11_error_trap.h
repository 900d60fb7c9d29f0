// X errors on the editor's own display connections are counted here instead of reaching the
// process's error handler, whose default ends the process: a host may destroy its parent
// window before it closes the editor, and a server may refuse shared memory. Errors on any
// other connection go on to the handler that was installed before.
//
// The handler is process-wide: it is installed when the first connection registers and the
// previous one is put back when the last one leaves, so nothing of the module stays behind
// after the last editor closed.
#pragma once

#include <X11/Xlib.h>

namespace velmora {

class X11ErrorTrap {
 public:
  static void Register(Display* display);
  static void Unregister(Display* display);
  // Waits for the server to answer every request so far; true when any request on this
  // connection failed since the last call. Clears the record.
  static bool SyncAndTakeErrors(Display* display);
};

}  // namespace velmora
