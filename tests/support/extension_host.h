// One extension as the runtime holds it: its library loaded through the
// runtime stand-in (initializer and finalizer looked up by name), and one
// context at a time. The test sessions, the fuzz targets' sessions, the
// benchmark's sessions and anything else that drives an extension from
// outside start from this; it knows no test framework.
// Owned by the thread that drives the session (the runtime's main thread).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "air/host.h"

namespace ane_test {

class ExtensionHost {
 public:
  virtual ~ExtensionHost() = default;

  // Loads the library and creates one context; false, with the reason in
  // *error, when either cannot be done.
  bool open(const std::string& library, const std::string& initializer, const std::string& finalizer,
            std::string* error) {
    return loadLibrary(library, initializer, finalizer, error) && newContext(error);
  }
  // Loads the library alone (no context yet), as the runtime does before the
  // first context; the names are kept for reload().
  bool loadLibrary(const std::string& library, const std::string& initializer, const std::string& finalizer,
                   std::string* error) {
    library_ = library;
    initializer_ = initializer;
    finalizer_ = finalizer;
    extension_ = air::Extension::load(library, initializer, finalizer, error);
    return extension_ != nullptr;
  }
  // The current context (if any) is finalized first, then a new one made.
  bool newContext(std::string* error) {
    context_.reset();
    if (extension_) context_ = extension_->createContext();
    if (!context_) {
      *error = "the extension made no context";
      return false;
    }
    return true;
  }
  // The context's finalizer runs, then the extension's.
  void close() {
    context_.reset();
    extension_.reset();
  }
  // Both finalized, then the same library loaded again (no context yet).
  bool reload(std::string* error) {
    close();
    return loadLibrary(library_, initializer_, finalizer_, error);
  }

  bool hasContext() const { return context_ != nullptr; }
  air::Context& context() { return *context_; }
  air::Value call(const std::string& name, const std::vector<air::Value>& args = {}) {
    return context_->call(name, args);
  }
  // The events raised so far, taken from the queue.
  std::vector<air::Event> events() { return context_->takeEvents(); }

 protected:
  std::unique_ptr<air::Extension> extension_;
  std::unique_ptr<air::Context> context_;

 private:
  std::string library_, initializer_, finalizer_;
};

}  // namespace ane_test
