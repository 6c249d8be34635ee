#include "Platform/MessageBox.h"

#include <gtest/gtest.h>

namespace
{
std::string recordedCaption;
std::string recordedText;

void Record(const std::string& caption, const std::string& text)
{
    recordedCaption = caption;
    recordedText = text;
}
} // namespace

TEST(MessageBoxTest, ReplaceableHandlerReceivesCaptionAndText)
{
    Platform::SetMessageBoxHandler(Record);
    Platform::ShowMessageBox("Error", "Could not init SDL: no driver");
    EXPECT_EQ("Error", recordedCaption);
    EXPECT_EQ("Could not init SDL: no driver", recordedText);
    EXPECT_EQ(Record, Platform::SetMessageBoxHandler(nullptr));
}

TEST(MessageBoxTest, DefaultHandlerWritesToStandardError)
{
    testing::internal::CaptureStderr();
    Platform::ShowMessageBox("Error", "boom");
    EXPECT_EQ("Error: boom\n", testing::internal::GetCapturedStderr());
}
