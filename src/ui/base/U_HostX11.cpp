#include "ui/base/U_HostX11.h"

#include <QGuiApplication>

// After the Qt headers: Xlib defines names (None, Bool, KeyPress) that Qt
// uses as identifiers.
#include <X11/XKBlib.h>

std::optional<TLockKeys> XkbLockKeys(Display* display)
{
    if (!display)
        return std::nullopt;
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &opcode, &event, &error, &major, &minor))
        return std::nullopt;
    bool found = false;
    const auto lit = [&](const char* name) {
        const Atom atom = XInternAtom(display, name, True);
        Bool on = False;
        if (atom == 0 || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
            return false;
        found = true;
        return on == True;
    };
    const TLockKeys keys {lit("Caps Lock"), lit("Num Lock"), lit("Scroll Lock")};
    if (!found)
        return std::nullopt;
    return keys;
}

std::optional<TLockKeys> WindowSystemLockKeys()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? XkbLockKeys(x11->display()) : std::nullopt;
}
