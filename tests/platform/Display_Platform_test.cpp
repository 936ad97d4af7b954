#include "platform/Display_Platform.h"

#include <gtest/gtest.h>

TEST(Display_Platform, AnXServerIsPreferredUnlessTheUserChoseAPlatform)
{
    struct Case
    {
        Display_Environment Environment;
        std::string Platform;
        bool Display_Found;
        bool Without_X_Server;
    };
    const Case cases[] = {
        // Wayland session with XWayland, and a plain X session.
        {{"", ":0", "wayland-0", ""}, "xcb", true, false},
        {{"", ":1", "", ""}, "xcb", true, false},
        // Only a compositor: Wayland, named outright, with its limits told.
        {{"", "", "wayland-0", ""}, "wayland", true, true},
        // The user's choice is left alone, by environment or by argument.
        {{"wayland", ":0", "wayland-0", ""}, "", true, true},
        {{"offscreen", "", "", ""}, "", true, false},
        {{"", ":0", "wayland-0", "wayland-egl"}, "", true, true},
        {{"wayland", ":0", "", "xcb"}, "", true, false},
        // Nothing at all.
        {{"", "", "", ""}, "", false, false},
    };
    for (const Case& test : cases)
    {
        const Display_Platform_Choice choice = Choose_Display_Platform(test.Environment);
        const std::string label = test.Environment.Qt_Platform + "|" + test.Environment.Display + "|" +
                                  test.Environment.Wayland_Display + "|" + test.Environment.Platform_Argument;
        EXPECT_EQ(choice.Platform, test.Platform) << label;
        EXPECT_EQ(choice.Display_Found, test.Display_Found) << label;
        EXPECT_EQ(choice.Without_X_Server, test.Without_X_Server) << label;
    }
}
