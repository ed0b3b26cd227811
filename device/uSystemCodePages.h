// The system's own code pages where the driver uses them: the OEM page for
// the date texts and the ANSI page for the label template file. Windows asks
// the system; elsewhere they are code pages 866 and 1251.
#pragma once

#include <string>
#include <string_view>

namespace device {

std::string TextToOem(std::u16string_view text);
std::string TextToAnsi(std::u16string_view text);
std::u16string AnsiToText(std::string_view bytes);

}  // namespace device
