// The lock keys read from an X server's keyboard extension, on a virtual
// display the test starts for itself: the state the window system reports,
// which is what a virtual display or a remote desktop has, LEDs or not.
#include "ui/base/U_HostX11.h"

#include <gtest/gtest.h>
// After gtest: Xlib defines names (None, Bool) that gtest uses.
#include <X11/XKBlib.h>

#include <csignal>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class XServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The server picks a free display and writes its number to our
        // pipe once it accepts connections.
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        Server = fork();
        ASSERT_GE(Server, 0);
        if (Server == 0) {
            close(ready[0]);
            const std::string fd = std::to_string(ready[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "64x64x24",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        std::string number;
        char c = 0;
        while (read(ready[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(ready[0]);
        ASSERT_FALSE(number.empty()) << "Xvfb did not start";
        Shown = XOpenDisplay((":" + number).c_str());
        ASSERT_NE(Shown, nullptr);
    }
    void TearDown() override
    {
        if (Shown)
            XCloseDisplay(Shown);
        if (Server > 0) {
            kill(Server, SIGTERM);
            waitpid(Server, nullptr, 0);
        }
    }
    // Locks or unlocks the real modifiers in `mask`, as pressing the lock key does.
    void Lock(unsigned mask, bool on)
    {
        XkbLockModifiers(Shown, XkbUseCoreKbd, mask, on ? mask : 0);
        XSync(Shown, False);
    }

    pid_t Server = -1;
    Display* Shown = nullptr;
};

} // namespace

TEST_F(XServer, LockKeysAreTheKeyboardExtensionsIndicators)
{
    const struct {
        const char* Name;
        unsigned Locked;  // Caps Lock is the Lock modifier, Num Lock Mod2
        TLockKeys Expected;
    } cases[] = {
        {"none", 0, {false, false, false}},
        {"caps", LockMask, {true, false, false}},
        {"num", Mod2Mask, {false, true, false}},
    };
    for (const auto& c : cases) {
        Lock(LockMask | Mod2Mask, false);
        Lock(c.Locked, true);
        const std::optional<TLockKeys> keys = XkbLockKeys(Shown);
        ASSERT_TRUE(keys.has_value()) << c.Name;
        EXPECT_EQ(keys->Caps, c.Expected.Caps) << c.Name;
        EXPECT_EQ(keys->Num, c.Expected.Num) << c.Name;
        EXPECT_EQ(keys->Scroll, c.Expected.Scroll) << c.Name;
    }
}

TEST(XkbLockKeys, NoDisplayTellsNothing)
{
    EXPECT_FALSE(XkbLockKeys(nullptr).has_value());
}
