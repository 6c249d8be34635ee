#include "Support/GameWindow.h"

#include <gtest/gtest.h>
#include <string>

namespace
{

using ResourceLoaderE2eTest = ZevWindowTest;

// A cube map of ten thousand strips loads for far longer than a store's stop
// waits for its thread. SIGTERM while the battle loads it ends the load at
// its next strip, and the game as cleanly as ever, with no thread killed.
TEST_F(ResourceLoaderE2eTest, ALongLoadEndsAtTheStopOfItsStore)
{
    CopyGameData(directory.Path());
    std::string strips;
    for (int i = 0; i < 10000; ++i)
        strips += "<image file=\"../Textures/SkyStrip.png\"/>\n";
    WriteTextFile("Data/Melee/Sky.xml", "<CubeMap>\n" + strips + "</CubeMap>\n");
    Start();
    Click(Battle, WaitForMenu());
    const Screenshot loading =
        WaitForPicture([](const Screenshot& picture) { return !ShowsMenu(picture); });
    ASSERT_FALSE(ShowsMenu(loading)) << zev->Output();
    ExpectCleanEndOnSigterm(*zev);
    EXPECT_EQ(0, Occurrences(zev->Output(), "Killing loader thread")) << zev->Output();
}

} // namespace
