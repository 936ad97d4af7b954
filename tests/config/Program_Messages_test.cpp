// Every message the program puts reaches the dialog whole: an icon that is shipped, a text
// and buttons that the language files hold.
#include "config/Program_Messages.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "config/Language_File.h"

namespace
{

class Recording_Dialogs final : public Message_Dialogs
{
public:
    int Display_Message_Dialog(const std::string& icon_file_name, int animation_interval, const std::string& message,
                               const std::string& first_button, const std::string& second_button,
                               const std::vector<std::string>&) override
    {
        Icon = icon_file_name;
        Interval = animation_interval;
        Text = message;
        First = first_button;
        Second = second_button;
        return 1;
    }
    void Show_Start_Splash_Screen() override {}

    std::string Icon, Text, First, Second;
    int Interval = 0;
};

TEST(Program_Messages, EachMessageShowsAShippedIconWithItsTextAndButtonsInEveryLanguage)
{
    const std::string data = ZL_SOURCE_DATA_DIR;
    for (const char* language : {"Czech.lng", "English.lng"})
    {
        const Language_Texts texts = Load_Language_Texts(data + "/" + language);
        for (int index = 0; index <= static_cast<int>(Program_Message::Tell_Settings_Refused); ++index)
        {
            SCOPED_TRACE(std::string(language) + " message " + std::to_string(index));
            const auto message = static_cast<Program_Message>(index);
            const Message_Look& look = Look_Of(message);
            Recording_Dialogs dialogs;
            Put_Message_Text(dialogs, texts, message, "given text");
            EXPECT_TRUE(std::filesystem::is_regular_file(data + "/Skin/" + dialogs.Icon));
            EXPECT_GT(dialogs.Interval, 0);
            EXPECT_FALSE(dialogs.First.empty());
            EXPECT_EQ(dialogs.Second.empty(), look.Second_Button == 0);
            EXPECT_EQ(dialogs.Text, "given text");
            if (look.Text_Key == 0) continue;  // its text comes from the caller
            Put_Message(dialogs, texts, message);
            EXPECT_EQ(dialogs.Text, texts.Message_Strings[static_cast<std::size_t>(look.Text_Key)]);
            EXPECT_FALSE(dialogs.Text.empty());
        }
    }
}

}  // namespace
