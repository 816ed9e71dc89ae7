#pragma once

#include <string>

namespace lumora::platform {

// A freshly generated random (version 4) UUID in its canonical 36-character form with upper-case
// hexadecimal digits, as "E621E1F8-C36C-495A-93FC-0C247A3E6E5F".
std::string makeRandomUUIDString();

}  // namespace lumora::platform
