// Turns a stored attachment name (untrusted: it may hold folders, "..",
// device names or control characters) into a plain file name that is safe
// to create inside a chosen folder, and unique among those already given.
#pragma once

#include <set>
#include <string>

namespace cli {

class AttachmentFileNames {
  public:
    // A name for `stored`: its last path component, cleaned; "attachment"
    // when nothing usable is left; " (2)", " (3)" ... before the extension
    // when an earlier call gave the same name (compared without case).
    std::string next(const std::string& stored);

  private:
    std::set<std::string> given_;  // lower-cased
};

}  // namespace cli
