// The text control interface of the simulated SDK behind the loaded
// extension: `sdk` lines go to it verbatim, and it reports the calls the
// extension made into the SDK, one line each.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace anehost {

class SdkControl {
 public:
  virtual ~SdkControl() = default;
  // The stand-in's name, for messages.
  virtual std::string name() const = 0;
  // One command line of the stand-in's language; a fired callback has
  // returned when this returns. False with *error when not understood.
  virtual bool command(const std::string& line, std::string* error) = 0;
  // The calls the extension made into the SDK since the last take.
  virtual std::vector<std::string> takeCalls() = 0;

  // What the last call of an SDK operation handed over in a buffer (custom
  // data, an external-capture frame). False with *error when this SDK keeps
  // nothing of that operation or it was not called.
  struct Received {
    std::vector<uint8_t> bytes;
    bool frame = false;  // a video frame: the fields below describe it
    bool i420 = false;   // I420 planes, else 3 bytes a pixel (blue, green, red)
    uint32_t width = 0, height = 0;
  };
  virtual bool received(const std::string& operation, Received* out, std::string* error) {
    (void)operation, (void)out;
    *error = name() + " keeps no buffers it was given";
    return false;
  }
  // listener(data) runs right after each call is logged, on the thread that
  // made it; null stops it.
  virtual void setCallListener(void (*listener)(void*), void* data) = 0;
};

// The simulated SDK of the extension whose native library is named `library`
// ("Brisora.dll" drives the iLive stand-in, "Tamvex.dll" the LiteAV stand-in
// in the LiteAV folder beside the host). Null with a message when this build
// has no stand-in for it.
std::unique_ptr<SdkControl> connectSdk(const std::string& library, std::string* error);

}  // namespace anehost
