#include "GameFixture.h"

namespace daro::test {
namespace {

using AboutBox = GameFixture;

const std::string aboutText = std::string("ZT七国将棋  Version ") + DARO_VERSION +
                              "    [10/2000]\r\rHome page\rhttps://daro.example.org/\r\re-mail\rdaro@example.org";

TEST_F(AboutBox, PlaysTheOtherSoundThenShowsVersionAndAddresses) {
    form.soundOther = 3;
    form.VER_Click();
    EXPECT_EQ(sound.argsOf("dsPlay"), std::vector<std::int32_t>{3});
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text, aboutText);
    EXPECT_EQ(window.boxes[0].title, "ZT七国将棋");
    EXPECT_EQ(window.boxes[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(window.boxes[0].icon, BoxIcon::None);
}

TEST_F(AboutBox, WithoutSoundTheBoxIsStillShownSilently) {
    form.VER_Click();
    EXPECT_TRUE(sound.calls.empty());
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text, aboutText);
}

}  // namespace
}  // namespace daro::test
