// Loading: the extension a script names (its descriptor found by id or path,
// its library beside it or beside the host), its context, and the simulated
// SDK behind it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "air/host.h"
#include "sdk_control.h"
#include "session.h"
#include "transcript.h"

namespace anehost {

class ExtensionHost {
 public:
  ExtensionHost(const Options& options, Transcript& transcript) : o_(options), t_(transcript) {}

  // `extension ID-OR-DESCRIPTOR [CONTEXT-TYPE]`: loads it and makes the first context.
  void load(int line, const cmd::Extension& c);
  // Disposes of the context that is still live, then makes a new one.
  void newContext(const std::string& type);
  // The context while it is live, else null.
  air::Context* liveContext() const { return context_ && !context_->disposed() ? context_.get() : nullptr; }
  air::Context* context() const { return context_.get(); }
  // The simulated SDK; while there is none, each call tries to connect again
  // (the SDK library may have appeared since).
  SdkControl* sdk();
  // `library remove|restore PATH [EXPORT]`.
  void library(int line, const cmd::Library& c);
  // Lets go of the context, the extension and the SDK, in that order.
  void unload();

 private:
  std::string findDescriptor(int line, const std::string& name);
  std::string findLibrary(const std::string& nativeLibrary, const std::filesystem::path& descriptorDir);
  void setAnsiCodePage();
  void setExeFolder();
  bool connect(bool quiet);

  const Options& o_;
  Transcript& t_;
  std::unique_ptr<air::Extension> extension_;
  std::unique_ptr<air::Context> context_;
  std::unique_ptr<SdkControl> sdk_;
  std::string nativeLibrary_;  // of the loaded extension: which SDK it has
};

}  // namespace anehost
