// Opening a link (a web page, a "mailto:" mail, a document) with the program the user has set up
// for it. The layer only hands the link over and tells whether that worked; what to do when it
// did not is the caller's business.
#pragma once

#include <QString>

namespace Shell {

// Opens the link; false when no program took it.
bool open(const QString& link);

} // namespace Shell
