// Reading ActionScript values. The receiving variable starts at its neutral
// value, so a refused conversion leaves it; nothing is printed.
#include "core/args.h"

namespace core {

bool checkResult(FREResult result, const char* message) {
  (void)message;  // the diagnostic text of the failure; conversion failures print nothing
  return result == FRE_OK;
}

std::string getString(FREObject object) {
  std::string text;
  getStringInto(object, &text);
  return text;
}

void getStringInto(FREObject object, std::string* out) {
  uint32_t length = 0;
  const uint8_t* value = nullptr;
  if (!checkResult(FREGetObjectAsUTF8(object, &length, &value), "Could not convert UTF8.") || !value) {
    out->clear();
    return;
  }
  // The runtime's length may or may not count a terminating zero; a final
  // zero within it is not part of the text. Embedded zeros are kept.
  if (length > 0 && value[length - 1] == 0) --length;
  out->assign(reinterpret_cast<const char*>(value), length);
}

int32_t getInt32(FREObject object) {
  int32_t value = 0;
  if (!checkResult(FREGetObjectAsInt32(object, &value), "Could not convert FREObject to int32_t.")) return 0;
  return value;
}

uint32_t getUint32(FREObject object) {
  uint32_t value = 0;
  if (!checkResult(FREGetObjectAsUint32(object, &value), "Could not convert FREObject to uint32_t.")) return 0;
  return value;
}

bool getBool(FREObject object) {
  uint32_t value = 0;
  if (FREGetObjectAsBool(object, &value) != FRE_OK) return false;
  return value != 0;
}

bool tryGetBool(FREObject object, bool* out) {
  uint32_t value = 0;
  if (!object || FREGetObjectAsBool(object, &value) != FRE_OK) return false;
  *out = value != 0;
  return true;
}

}  // namespace core
