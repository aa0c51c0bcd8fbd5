#pragma once

// The "word.application" automation server over a headless LibreOffice.
namespace wordengine {

// Registers "word.application" in the ProgID table when LibreOffice is installed;
// without it the name stays unregistered, as on a machine without Word.
void RegisterWordApplication();

// Ends the shared office now; the next application object starts a new one.
// Also run when the program exits.
void ShutdownWordApplication();

} // namespace wordengine
