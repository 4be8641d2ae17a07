// The user's runtime folder (XDG_RUNTIME_DIR), which the toolkit asks for at start. A login
// session sets it; root, cron jobs and some ssh sessions have none, and the toolkit then falls
// back to a folder of its own in /tmp with a warning on standard error that would stand between
// the command line's own lines.
#pragma once

// When XDG_RUNTIME_DIR is not set: makes (or finds) the private folder /tmp/runtime-<user id>,
// owned by this user and readable by no one else, and sets XDG_RUNTIME_DIR to it for this
// process. Leaves the variable unset (the toolkit's own fallback then applies) when the folder
// is not such a private folder. Call before the application object is made.
void provideRuntimeFolder();
