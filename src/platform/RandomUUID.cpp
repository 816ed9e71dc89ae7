#include "platform/RandomUUID.h"

#include <uuid/uuid.h>

namespace lumora::platform {

std::string makeRandomUUIDString() {
  uuid_t bytes;
  uuid_generate_random(bytes);
  char text[37];  // 36 characters and the terminator, as uuid_unparse writes them
  uuid_unparse_upper(bytes, text);
  return std::string(text, 36);
}

}  // namespace lumora::platform
