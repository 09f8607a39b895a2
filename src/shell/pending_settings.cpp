// Placeholders until the owning subsystem lands; each is replaced by its real definition.
#include "Form1.h"

namespace daro {

void Form1::読込_環境設定ファイル() {}
void Form1::書込_環境設定ファイル() {}
void Form1::チェック設定(int) {}
void Form1::SIDOU_Click() {}
void Form1::AICON_Click() {}
void Form1::mochikoma_Click() {}
void Form1::MIDORI_Click() {}
void Form1::TATAMI_Click() {}
void Form1::TAKE_Click() {}
void Form1::UCHU_Click() {}
void Form1::RENGA_Click() {}
void Form1::BGM_Click() {}
void Form1::VER_Click() {}

Module1::Module1(SoundLibrary* library, Window& window) : library_(library), window_(window) {}
void Module1::InitSound(std::int32_t) {}
void Module1::TermSound() {}
std::int32_t Module1::LoadSound(const std::string&, std::int32_t) { return 0; }
void Module1::ShowSoundError(const std::string&) {}
void Module1::play(std::int32_t) {}
void Module1::playLooping(std::int32_t) {}
void Module1::stop(std::int32_t) {}
void Module1::free(std::int32_t) {}

}  // namespace daro
