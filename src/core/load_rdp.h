// The static parts of RDP records: hexadecimal text in the profile, bytes in
// the file.
#pragma once

#include <string>
#include <string_view>

namespace kiv {

class Session;

// Turns RDPStaticBefore/RDPStaticAfter text into bytes: two hexadecimal
// digits a byte; empty text or text starting with "N" means none. A syntax
// error is reported and gives false.
bool rdpStaticBytes(Session& s, std::string_view hex, std::string& bytes);

}  // namespace kiv
