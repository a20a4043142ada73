#pragma once
// Picks the peer class for a control or a non-visual component.
#include "toolkit/Toolkit.Backend.h"

#include <memory>

namespace toolkit::win32 {

class TWin32Backend;

// A control's peer, chosen by its kind: a form its top-level window, the other controls theirs.
// Classes without a native counterpart of their own get a plain painted window, so that their
// children still have a parent window.
std::unique_ptr<IPeer> CreateControlPeer(TWin32Backend& Backend, TControl& Control);
// Tray icons and menus; null for components without a native side.
std::unique_ptr<IPeer> CreateNonControlPeer(TWin32Backend& Backend, TComponent& Component);

} // namespace toolkit::win32
