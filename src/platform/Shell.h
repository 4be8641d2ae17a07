// Opening a link (a web page, a "mailto:" mail, a document) with the program the user has set up
// for it. The layer only hands the link over and tells whether that worked; what to do when it
// did not is the caller's business.
#pragma once

#include <QString>
#include <functional>

namespace Shell {

// Opens the link; false when no program took it.
bool open(const QString& link);

// Tests replace the system's opening with their own (to record the links, or to make opening
// fail). An empty hook puts the system's opening back.
using OpenHook = std::function<bool(const QString& link)>;
void setOpenHook(OpenHook hook);

} // namespace Shell
