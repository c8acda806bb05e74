#pragma once

namespace db {

// Makes every guarded query show a small progress window with "Abbrechen" once it has run for the
// budget's showAfter; the window keeps painting while the query runs.
void installQueryProgressWindow();

} // namespace db
