// Answers held back by a test: while a hold file lies in the catalogue folder, the answer it
// names waits (at most a minute), so a test sees the asking program at that step.
#pragma once
#include <functional>
#include <string>

namespace zx::webservice {

// Waits while the file exists and `stillWanted` holds; false when the wait gave up (the limit
// passed or the answer is no longer wanted).
bool WaitWhileHeld(const std::string& holdFile, const std::function<bool()>& stillWanted = [] { return true; });

}  // namespace zx::webservice
