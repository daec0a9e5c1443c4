#include "sdk_control.h"

#include <filesystem>

#include "ilive_standin/standin.h"
#include "liteav_standin/control.h"

namespace anehost {
namespace {

std::string stemOf(const std::string& library) {
  std::string stem = std::filesystem::path(library).stem().string();
  for (auto& c : stem) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return stem;
}

// The iLive stand-in is the library Brisora links; anehost links the same
// one, so both reach one instance.
class ILiveControl : public SdkControl {
 public:
  std::string name() const override { return "the iLive SDK stand-in"; }
  bool command(const std::string& line, std::string* error) override { return ilive::standin::command(line, error); }
  std::vector<std::string> takeCalls() override { return ilive::standin::takeCalls(); }
  bool received(const std::string& operation, Received* out, std::string* error) override {
    ilive::standin::Received r;
    if (!ilive::standin::received(operation, &r)) {
      *error = "the SDK was given no " + operation + " buffer (it keeps those of fillExternalCaptureFrame and sendCustomData)";
      return false;
    }
    out->bytes = std::move(r.bytes);
    out->frame = r.frame;
    out->i420 = r.colorFormat != ilive::COLOR_FORMAT_RGB24;
    out->width = r.width;
    out->height = r.height;
    return true;
  }
  void setCallListener(void (*listener)(void*), void* data) override {
    ilive::standin::setCallListener(listener, data);
  }
};

// The LiteAV stand-in lives in LiteAV/liteav.dll beside the host; opening that
// file reaches the instance Tamvex loads.
class LiteAvControl : public SdkControl {
 public:
  std::string name() const override { return "the LiteAV SDK stand-in"; }
  bool command(const std::string& line, std::string* error) override { return liteav_standin::command(line, error); }
  std::vector<std::string> takeCalls() override { return liteav_standin::takeCalls(); }
  void setCallListener(void (*listener)(void*), void* data) override {
    liteav_standin::setCallListener(listener, data);
  }
};

}  // namespace

std::unique_ptr<SdkControl> connectSdk(const std::string& library, std::string* error) {
  const std::string stem = stemOf(library);
  if (stem == "brisora") {
    return std::make_unique<ILiveControl>();
  }
  if (stem == "tamvex") {
    if (liteav_standin::available(error)) return std::make_unique<LiteAvControl>();
    return nullptr;
  }
  *error = "no simulated SDK is known for " + library;
  return nullptr;
}

}  // namespace anehost
