#pragma once
// Ctrl+C and termination requests as a flag that long-running commands look at: a transfer treats it
// as the progress dialog's Cancel, the simulated unit as the signal to save and end. A second Ctrl+C
// ends the program at once.

namespace QZCli {

// SIGINT and SIGTERM (and SIGHUP) set the flag from now on.
void InstallInterruptHandlers();
bool Interrupted();
// Sets or clears the flag as a signal would (tests, and the end of a command).
void SetInterrupted(bool interrupted);

} // namespace QZCli
