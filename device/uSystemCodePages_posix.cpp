#include "device/uCodePages.h"
#include "device/uSystemCodePages.h"

namespace device {

std::string TextToOem(std::u16string_view text) { return EncodeCodePage(text, TCodePage::cp866); }

std::string TextToAnsi(std::u16string_view text) { return EncodeCodePage(text, TCodePage::cp1251); }

std::u16string AnsiToText(std::string_view bytes) { return DecodeCodePage(bytes, TCodePage::cp1251); }

}  // namespace device
