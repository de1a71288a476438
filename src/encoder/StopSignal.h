#pragma once

// SIGTERM (and SIGINT, SIGHUP) asks the run to stop: stop reading, flush, write the trailer.
// A second signal ends the process at once. SIGPIPE is ignored so that a closed status pipe
// cannot end the run before its trailer.

namespace kestrava::encoder {

void InstallStopHandlers();
bool StopRequested();
// For tests and the pipeline: asks for a stop as the signal would.
void RequestStop();

}  // namespace kestrava::encoder
