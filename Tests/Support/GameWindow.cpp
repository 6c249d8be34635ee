#include "Support/GameWindow.h"

#include <cstdlib>
#include <stdexcept>

Point Swatch(const MenuButton& button, int width, int height)
{
    return {width / 2 - 85, height / 2 + button.top + 20};
}

Point Centre(const MenuButton& button, int width, int height)
{
    return {width / 2, height / 2 + button.top + 20};
}

bool ShowsMenu(const Screenshot& picture)
{
    for (const MenuButton& button : Buttons)
    {
        const Point swatch = Swatch(button, picture.Width(), picture.Height());
        if (!Shows(picture.At(swatch.x, swatch.y), button.hue))
            return false;
    }
    return true;
}

void ZevWindowTest::Start()
{
    zev = StartZev(directory.Path(), ZevEnvironment(display));
    window = display.FindWindow(ZevWindowTitle, ZevTimeout);
    if (!window)
        throw std::runtime_error("The game's window did not appear\n" + zev->Output() +
                                 zev->Errors());
}

Screenshot ZevWindowTest::WaitForPicture(const std::function<bool(const Screenshot&)>& test)
{
    return WaitForScreenshot(display, window, test, ZevTimeout);
}

Screenshot ZevWindowTest::WaitForMenu()
{
    Screenshot menu = WaitForPicture(ShowsMenu);
    EXPECT_TRUE(ShowsMenu(menu)) << "The menu did not appear\n" << zev->Output();
    return menu;
}

void ZevWindowTest::Click(const MenuButton& button, const Screenshot& menu)
{
    const Point centre = Centre(button, menu.Width(), menu.Height());
    display.Click(window, centre.x, centre.y);
}
