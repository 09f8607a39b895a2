// The About box: version and how to reach the maker.

#include "Form1.h"

namespace daro {
namespace {

const std::string homePageAddress = "https://daro.example.org/";
const std::string mailAddress = "daro@example.org";

}  // namespace

void Form1::VER_Click() {
    module1.play(soundOther);
    const std::string cr = "\r";
    const std::string text = std::string("ZT七国将棋") + "  Version " + DARO_VERSION + "    [10/2000]" + cr + cr +
                             "Home page" + cr + homePageAddress + cr + cr + "e-mail" + cr + mailAddress;
    window.messageBox(text, "ZT七国将棋", BoxButtons::Ok, BoxIcon::None);
}

}  // namespace daro
