#pragma once
#include "ui/base/U_Host.h"

#include <optional>

struct _XDisplay;

// The lock keys as the X server's keyboard extension reports them, by the
// names of its indicators: what the person's keyboard state is on a local
// display, a virtual one or a remote desktop alike. Nothing when the
// display has no such indicators (or no keyboard extension).
std::optional<TLockKeys> XkbLockKeys(_XDisplay* display);

// The same for the display the program's windows are on; nothing when they
// are not on X11.
std::optional<TLockKeys> WindowSystemLockKeys();
